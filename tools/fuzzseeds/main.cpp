// Writes seed inputs for one fuzz target, made by the data-set generator.
//   zorv_fuzz_seeds <target> <folder>
// Unknown targets write nothing: their seeds are only the committed ones.
#include "tools/common/CommandLine.h"
#include "tools/datagen/BrokenCorpus.h"
#include "tools/datagen/EqTables.h"
#include "tools/datagen/Models.h"

#include <iostream>
#include <string>

using namespace zorvpro::datagen;

namespace
{

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Every archive the generator knows, good and broken, as entry lists.
std::vector<std::vector<ArchiveEntry>> AllArchives()
{
    std::vector<std::vector<ArchiveEntry>> all{MakeArrayDataSet().entries, MakePointSourceDataSet().entries};
    for (const BrokenArchive& b : BrokenCorpus())
        if (!b.raw)
            all.push_back(b.entries);
    return all;
}

// A model with every directivity grid at 45 degrees: a few kilobytes, where
// the generated grids make inputs too large to mutate quickly.
ModelFile Coarse(ModelFile m)
{
    for (PolarRecord& p : m.polars)
    {
        p.stepDegrees = 45.0f;
        p.magnitudes = DirectionalMagnitudes(p.stepDegrees);
        p.phases.assign(p.magnitudes.size(), 0.0f);
    }
    return m;
}

// Small archives only: the coarse models and the broken archives that stay small.
std::vector<std::vector<ArchiveEntry>> SmallArchives()
{
    std::vector<std::vector<ArchiveEntry>> small{
        Assemble("a.vxq", ArrayDescriptor(), Coarse(ArrayModelFile())).entries,
        Assemble("p.vxq", PointSourceDescriptor(), Coarse(PointSourceModelFile())).entries};
    for (const BrokenArchive& b : BrokenCorpus())
    {
        size_t bytes = 0;
        for (const ArchiveEntry& e : b.entries)
            bytes += e.data.size();
        if (!b.raw && bytes < 64 * 1024)
            small.push_back(b.entries);
    }
    return small;
}

class SeedWriter
{
public:
    explicit SeedWriter(juce::File dir) : folder(std::move(dir)) {}

    void Write(const std::string& bytes)
    {
        const juce::File file = folder.getChildFile("gen-" + juce::String(count++));
        if (file.replaceWithData(bytes.data(), bytes.size()))
            ++written;
    }

    int count = 0;
    int written = 0;

private:
    juce::File folder;
};

} // namespace

int main(int argc, char** argv)
{
    zorvpro::tools::CommandLine line = zorvpro::tools::ParseCommandLine(argc, argv, {});
    if (const int done = zorvpro::tools::SettleCommandLine(
            line, argv[0],
            "<target> <folder>\nWrites the generated seed inputs of a fuzz target into the folder.\n", 2, 2);
        done >= 0)
        return done;
    const std::string target = line.arguments[0];
    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile(line.arguments[1]);
    if (!folder.createDirectory())
        return 1;
    SeedWriter out(folder);

    if (target == "ModelFileFuzzer")
    {
        out.Write(Coarse(ArrayModelFile()).Serialize());
        out.Write(Coarse(PointSourceModelFile()).Serialize());
        out.Write(PointSourceModelFile().Serialize());
        out.Write(ArrayModelFile().Serialize());
        for (const auto& entries : AllArchives())
            for (const ArchiveEntry& e : entries)
                if (!EndsWith(e.name, ".xml"))
                    out.Write(e.data);
    }
    else if (target == "DataSetDescriptorFuzzer")
    {
        for (const auto& entries : AllArchives())
            for (const ArchiveEntry& e : entries)
                if (e.name == "Main.xml")
                    out.Write(e.data);
    }
    else if (target == "EqTableFuzzer")
    {
        out.Write(SpreadTableXml()); // the spiral table is too large; the corpus has a small one
    }
    else if (target == "DataSetArchiveFuzzer")
    {
        const juce::TemporaryFile temp(".vxq");
        for (const auto& entries : SmallArchives())
        {
            juce::MemoryBlock bytes;
            if (WriteArchive(temp.getFile(), entries) && temp.getFile().loadFileAsData(bytes))
                out.Write(std::string(static_cast<const char*>(bytes.getData()), bytes.getSize()));
        }
        for (const BrokenArchive& b : BrokenCorpus())
            if (b.raw)
                out.Write(b.rawBytes);
    }
    std::cout << target << ": " << out.written << " seeds\n";
    return out.written == out.count ? 0 : 1;
}
