#include "tools/datagen/BrokenCorpus.h"

#include "tools/datagen/Models.h"

namespace zorvpro::datagen
{
namespace
{

// The array module's archive with its descriptor renamed, so that a model
// that loads by mistake shows up under a name of its own.
DataSet Variant(const std::string& fileName, const ModelFile& m)
{
    Descriptor d = ArrayDescriptor();
    d.name = "Broken " + fileName;
    d.algorithms.clear();
    d.maxBeams.clear();
    return Assemble(fileName, d, m);
}

BrokenArchive FromSet(const DataSet& set, const std::string& what)
{
    BrokenArchive b;
    b.fileName = set.fileName;
    b.what = what;
    b.entries = set.entries;
    return b;
}

// A model file with a valid header followed by the given bytes.
std::string HeaderThen(const std::string& tail)
{
    BinaryWriter out;
    ArrayModelFile().WriteHeader(out);
    out.Bytes(tail);
    return out.Data();
}

ModelFile WithPolarStep(float step)
{
    ModelFile m = ArrayModelFile();
    m.polars[0].stepDegrees = step;
    // A handful of values: a reader that trusts the step would want far more.
    m.polars[0].magnitudes.assign(16, 1.0f);
    m.polars[0].phases.assign(16, 0.0f);
    return m;
}

} // namespace

std::vector<BrokenArchive> BrokenCorpus()
{
    std::vector<BrokenArchive> corpus;

    BrokenArchive notZip;
    notZip.fileName = "NotAZip.vxq";
    notZip.what = "not a zip";
    notZip.raw = true;
    notZip.rawBytes = "This file only pretends to be a data set.\n";
    corpus.push_back(notZip);

    {
        DataSet set = MakeArrayDataSet();
        set.fileName = "NoMain.vxq";
        set.Find("Main.xml")->name = "main.xml"; // names are case-sensitive
        corpus.push_back(FromSet(set, "no Main.xml"));
    }
    {
        Descriptor d = ArrayDescriptor();
        d.rootTag = "Speaker";
        corpus.push_back(FromSet(Assemble("OtherRoot.vxq", d, ArrayModelFile()), "another root element"));
    }
    {
        DataSet set = MakeArrayDataSet();
        set.fileName = "BadXml.vxq";
        set.Find("Main.xml")->data = "<Root><Info><Name>Half</Name></Info><Acoustical>";
        corpus.push_back(FromSet(set, "unparsable XML"));
    }
    {
        DataSet set = Variant("NoSpm.vxq", ArrayModelFile());
        set.entries.pop_back(); // drop the binary model file named by "SPM"
        corpus.push_back(FromSet(set, "missing SPM entry"));
    }
    {
        DataSet set = Variant("Truncated.vxq", ArrayModelFile());
        std::string& bytes = set.entries.back().data;
        bytes.resize(bytes.size() / 2);
        corpus.push_back(FromSet(set, "truncated model file"));
    }
    {
        BinaryWriter out;
        out.UInt(0x10000007);
        out.RawLength(0x40000000); // far more than the entry holds
        out.Bytes("TQR40V");
        DataSet set = Variant("LongString.vxq", ArrayModelFile());
        set.entries.back().data = out.Data();
        corpus.push_back(FromSet(set, "string length larger than the entry"));
    }
    {
        BinaryWriter tail;
        tail.Int(0x7FFFFFF0); // transformer count
        tail.UInt(0x10000001);
        DataSet set = Variant("HugeCount.vxq", ArrayModelFile());
        set.entries.back().data = HeaderThen(tail.Data());
        corpus.push_back(FromSet(set, "count near 2^31"));
    }
    corpus.push_back(FromSet(Variant("WildStep.vxq", WithPolarStep(720.0f)), "polar step far outside"));
    corpus.push_back(FromSet(Variant("WrapStep.vxq", WithPolarStep(1e-5f)), "polar step wrapping the count"));
    {
        ModelFile m = ArrayModelFile();
        FaceRecord bad;
        bad.recordType = 7;
        m.faces.insert(m.faces.begin() + 2, bad);
        corpus.push_back(FromSet(Variant("FaceType7.vxq", m), "face type 7"));
    }
    {
        Descriptor d = ArrayDescriptor();
        d.name = "Broken pitch";
        d.connections[0].pitch = "2.0";
        DataSet set = Assemble("Pitch.vxq", d, ArrayModelFile());
        corpus.push_back(FromSet(set, "connection pitch 2.0"));
    }
    return corpus;
}

std::vector<juce::File> WriteBrokenCorpus(const juce::File& folder)
{
    std::vector<juce::File> written;
    folder.createDirectory();
    for (const BrokenArchive& b : BrokenCorpus())
    {
        const juce::File file = folder.getChildFile(b.fileName);
        bool ok = false;
        if (b.raw)
            ok = file.replaceWithData(b.rawBytes.data(), b.rawBytes.size());
        else
            ok = WriteArchive(file, b.entries);
        if (ok)
            written.push_back(file);
    }
    return written;
}

} // namespace zorvpro::datagen
