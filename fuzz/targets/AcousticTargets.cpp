#include "fuzz/targets/AcousticTargets.h"

#include "acoustics/data/EQDataSpread.h"
#include "acoustics/data/EQSpiral.h"
#include "acoustics/data/LoudspeakerDataSet.h"
#include "acoustics/data/ModelFileReader.h"
#include "acoustics/data/XmlText.h"
#include "fuzz/targets/StackThread.h"
#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unistd.h>

namespace zorvpro::fuzz
{
namespace
{

// A broken invariant is a finding like a crash.
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The archive reader opens files by path: one file per process, rewritten for
// every input, in memory-backed storage when there is some.
class ScratchFile
{
public:
    ScratchFile()
    {
        const juce::File shm("/dev/shm");
        const juce::File dir =
            shm.isDirectory() ? shm : juce::File::getSpecialLocation(juce::File::tempDirectory);
        file = dir.getChildFile("zorv-fuzz-" + juce::String(int(getpid())) + ".vxq");
    }
    ~ScratchFile() { file.deleteFile(); }

    juce::File file;
};

const juce::File& ArchiveFile()
{
    static const ScratchFile scratch;
    return scratch.file;
}

// Reads the scratch archive as the library does and checks what it yields.
void LoadArchive(const juce::File& file)
{
    try
    {
        std::shared_ptr<acoustics::LoudspeakerImpl> model =
            acoustics::loadLoudspeakerDataSet(file.getFullPathName().toStdString());
        if (model)
        {
            // Placed loudspeakers are assembled copies of the library's model.
            const acoustics::LoudspeakerImpl copy(*model);
            Require(copy.getPolars().size() == model->getPolars().size() &&
                    copy.getTransducers().size() == model->getTransducers().size());
        }
    }
    catch (const std::invalid_argument&)
    {
        // Invalid data sets are reported this way; the library skips them.
    }
}

// Every entry of the generated data sets but their descriptors, stored
// uncompressed. Coarse grids keep the archive small.
const std::vector<datagen::ArchiveEntry>& DescriptorCompanions()
{
    static const std::vector<datagen::ArchiveEntry> entries = []
    {
        std::vector<datagen::ArchiveEntry> all;
        for (datagen::ModelFile m : {datagen::ArrayModelFile(), datagen::PointSourceModelFile()})
        {
            for (datagen::PolarRecord& p : m.polars)
            {
                p.stepDegrees = 45.0f;
                p.magnitudes.assign(datagen::PolarValueCount(p.stepDegrees), 1.0f);
                p.phases.assign(p.magnitudes.size(), 0.0f);
            }
            const datagen::Descriptor d = m.name == datagen::kArrayModelName
                                              ? datagen::ArrayDescriptor()
                                              : datagen::PointSourceDescriptor();
            for (datagen::ArchiveEntry e : datagen::Assemble("x.vxq", d, m).entries)
            {
                if (e.name == "Main.xml")
                    continue;
                e.compressionLevel = 0;
                all.push_back(e);
            }
        }
        return all;
    }();
    return entries;
}

// Levels of the element tree from `element` down; text is no level.
int ElementDepth(const juce::XmlElement& element)
{
    int deepest = 0;
    for (const juce::XmlElement* child : element.getChildIterator())
        if (!child->isTextElement())
            deepest = std::max(deepest, ElementDepth(*child));
    return deepest + 1;
}

} // namespace

int FuzzDataSetArchive(const uint8_t* data, size_t size)
{
    const juce::File& file = ArchiveFile();
    Require(file.replaceWithData(data, size));
    LoadArchive(file);
    return 0;
}

int FuzzDataSetDescriptor(const uint8_t* data, size_t size)
{
    std::vector<datagen::ArchiveEntry> entries = DescriptorCompanions();
    entries.insert(entries.begin(), {"Main.xml", std::string(reinterpret_cast<const char*>(data), size), 0});
    const juce::File& file = ArchiveFile();
    Require(datagen::WriteArchive(file, entries));
    LoadArchive(file);
    return 0;
}

int FuzzModelFile(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try
    {
        const acoustics::ModelFileData model = acoustics::ReadModelFile(bytes);
        // Whatever was read came out of the bytes: no record list can be
        // longer than the file could describe.
        Require(model.transformers.size() <= size && model.polars.size() <= size &&
                model.transducers.size() <= size && model.faces.size() <= size);
        for (const auto& polar : model.polars)
        {
            const uint32_t n = acoustics::polarValueCount(polar.stepRadians, acoustics::kModelBandCount);
            Require(polar.magnitudes.count() == n && polar.phases.count() == n);
            for (const auto& band : polar.bands)
                Require(band.count() == acoustics::kModelBandCount);
        }
    }
    catch (const std::invalid_argument&)
    {
        // Invalid model files are reported this way.
    }
    return 0;
}

int FuzzEqTable(const uint8_t* data, size_t size)
{
    // The text as the data-set loader reads an entry: up to the first NUL, as UTF-8.
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bytes = bytes.substr(0, bytes.find('\0'));
    std::unique_ptr<juce::XmlElement> root = acoustics::ParseXmlText(bytes);
    if (root == nullptr)
        return 0;

    acoustics::EQDataSpread spread;
    acoustics::EQSpiral spiral;
    spread.load(root.get());
    spiral.load(root.get());

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double v : {-inf, -1e300, -90.0, 0.0, 7.5, 15.0, 45.0, 1e300, inf, nan})
    {
        for (const uint32_t modules : {0u, 1u, 2u, 3u, 0xFFFFFFFFu})
        {
            spread.lookup(acoustics::EQRequestDataSpread(true, v, modules));
            spread.lookup(acoustics::EQRequestDataSpread(false, v, modules));
            spiral.lookup(acoustics::EQRequestDataSpiral(modules, v, v, v));
            spiral.lookup(acoustics::EQRequestDataSpiral(modules, 10.0, v, 5.0));
        }
    }
    // A request of the other kind finds nothing.
    const acoustics::EqCurveValues none = spiral.lookup(acoustics::EQRequestDataSpread(true, 10.0, 1));
    Require(none.LowCutFreq == 0.0 && none.Tilt == 0.0 && none.BoostOrCut == 0.0);
    return 0;
}

int FuzzXmlNesting(const uint8_t* data, size_t size)
{
    const std::string text =
        acoustics::ReadableXmlText(std::string_view(reinterpret_cast<const char*>(data), size));
    const int counted = acoustics::XmlNestingDepth(text);
    if (counted < 0 || counted > acoustics::kMaxXmlDepth)
        return 0; // refused before JUCE's parser sees it
    // JUCE's own reading, on a stack that holds whatever depth the text could
    // make it recurse to: a level takes at least three bytes of text ("<a>")
    // and under two kilobytes of stack, instrumented or not. Its tree has one
    // level per recursion; a text that JUCE does not read whole, or reads to
    // another depth, is one on which the count went wrong.
    const size_t stackBytes = (size_t(1) << 20) + text.size() * 2048;
    int parsed = -1;
    RunWithStack(stackBytes,
                 [&]
                 {
                     const std::unique_ptr<juce::XmlElement> root =
                         juce::XmlDocument::parse(juce::String::fromUTF8(text.data(), int(text.size())));
                     if (root != nullptr)
                         parsed = ElementDepth(*root);
                 });
    Require(parsed == counted);
    return 0;
}

const std::vector<FuzzTarget>& AcousticTargets()
{
    static const std::vector<FuzzTarget> targets{
        {"DataSetArchiveFuzzer", &FuzzDataSetArchive},
        {"DataSetDescriptorFuzzer", &FuzzDataSetDescriptor},
        {"ModelFileFuzzer", &FuzzModelFile},
        {"EqTableFuzzer", &FuzzEqTable},
        {"XmlNestingFuzzer", &FuzzXmlNesting},
    };
    return targets;
}

} // namespace zorvpro::fuzz
