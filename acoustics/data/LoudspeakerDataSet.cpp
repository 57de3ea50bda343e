#include "acoustics/data/LoudspeakerDataSet.h"

#include "acoustics/data/DescriptorReading.h"
#include "acoustics/data/EQDataSpread.h"
#include "acoustics/data/EQSpiral.h"
#include "acoustics/data/EQTableReading.h"
#include "acoustics/data/ModelParts.h"
#include "acoustics/data/XmlText.h"
#include "acoustics/data/ZipFile.h"

#include <juce_core/juce_core.h>

namespace zorvpro::acoustics
{
namespace
{

// Largest binary model file read; far above any real data set.
constexpr int64_t kMaxModelFileBytes = int64_t(256) << 20;

std::string Str(const juce::String& s)
{
    return s.toStdString();
}

void SetReason(std::string* reason, const char* text)
{
    if (reason != nullptr)
        *reason = text;
}

std::unique_ptr<juce::XmlElement> ParseRoot(ZipFile::ZipStream& stream)
{
    // Not JUCE's parser directly: it hangs on some documents.
    auto root = ParseXmlText(stream.readText());
    if (root != nullptr && !root->hasTagName("Root"))
        root.reset();
    return root;
}

void ReadBOM(const juce::XmlElement& list, LoudspeakerImpl& model)
{
    BOM bom;
    for (auto* item : list.getChildWithTagNameIterator("Item"))
        bom.add(BOMInfo(Str(ChildText(*item, "Name")), Str(ChildText(*item, "SKU")),
                        Str(ChildText(*item, "Desc"))));
    model.setBOM(std::move(bom));
}

// The EQ table of an algorithm; an empty entry when its document is missing
// or has another document element.
std::shared_ptr<IEQData> ReadEQTable(ZipFile& zip, const std::string& entry, int code)
{
    ZipFile::ZipStream stream = zip.openStream(entry, false);
    std::unique_ptr<juce::XmlElement> root = stream.isEmpty() ? nullptr : ParseRoot(stream);
    if (root == nullptr)
        return nullptr;
    if (code == BeamAlgorithm::SymmetricSpread)
    {
        auto table = std::make_shared<EQDataSpread>();
        table->load(root.get());
        return table;
    }
    auto table = std::make_shared<EQSpiral>();
    table->load(root.get());
    return table;
}

void ReadBeams(ZipFile& zip, const juce::XmlElement& root, const juce::XmlElement& beams,
               LoudspeakerImpl& model)
{
    // A negative count makes no sense as a number of beams: it reads as none.
    model.setMaxBeams(
        static_cast<uint32_t>(std::max(0, ParseLeadingInt(ChildText(beams, "MaxBeams").trim()))));
    const juce::XmlElement* list = beams.getChildByName("Algorithms");
    if (list == nullptr)
        return;
    std::vector<int32_t> codes;
    EQDataMap eq;
    for (auto* algorithm : list->getChildWithTagNameIterator("Algorithm"))
    {
        const int code = AlgorithmCode(ChildText(*algorithm, "Name"));
        if (code == 0)
            continue;
        codes.push_back(code);
        if (code == BeamAlgorithm::Asymmetric)
            continue;
        const juce::XmlElement* eqData = algorithm->getChildByName("EQData");
        const juce::XmlElement* dataFile = eqData ? eqData->getChildByName("DataFile") : nullptr;
        if (dataFile == nullptr || eq.count(code) != 0)
            continue;
        const std::string entry = ElementDirectory(root, *eqData) + Str(dataFile->getAllSubText());
        eq.emplace(code, ReadEQTable(zip, entry, code));
    }
    model.setEQData(std::move(eq));
    model.setAlgorithms(std::move(codes));
}

} // namespace

std::shared_ptr<LoudspeakerImpl> loadLoudspeakerDataSet(const std::string& path, std::string* reason)
{
    ZipFile zip(path);
    ZipFile::ZipStream descriptor = zip.openStream("Main.xml", false);
    if (descriptor.isEmpty())
    {
        SetReason(reason, zip.entryCount() == 0 ? "Not a zip archive" : "No Main.xml");
        return nullptr;
    }
    const std::unique_ptr<juce::XmlElement> root = ParseRoot(descriptor);
    if (root == nullptr)
    {
        SetReason(reason, "Main.xml does not parse or has no Root element");
        return nullptr;
    }

    auto model = std::make_shared<LoudspeakerImpl>();
    if (const juce::XmlElement* info = root->getChildByName("Info"))
    {
        model->setName(Str(ChildText(*info, "Name")));
        model->setFamily(Str(ChildText(*info, "Family")));
        model->setDescription(Str(ChildText(*info, "Desc")));
    }
    if (const juce::XmlElement* bom = root->getChildByName("BOM"))
        ReadBOM(*bom, *model);

    if (const juce::XmlElement* acoustical = root->getChildByName("Acoustical"))
    {
        if (const juce::XmlElement* spm = acoustical->getChildByName("SPM"))
        {
            const std::string entry = ElementDirectory(*root, *spm) + Str(spm->getAllSubText());
            ZipFile::ZipStream stream = zip.openStream(entry, false);
            if (stream.isEmpty())
            {
                SetReason(reason, "The binary model file cannot be opened");
                return nullptr;
            }
            ApplyModelFile(ReadModelFile(stream.readRemaining(kMaxModelFileBytes)), *model);
        }
        if (const juce::XmlElement* beams = acoustical->getChildByName("Beams"))
            ReadBeams(zip, *root, *beams, *model);
    }

    if (const juce::XmlElement* mechanical = root->getChildByName("Mechanical"))
        if (const juce::XmlElement* connections = mechanical->getChildByName("Connections"))
            model->setConnections(ReadConnections(*connections), model->getName());
    return model;
}

} // namespace zorvpro::acoustics
