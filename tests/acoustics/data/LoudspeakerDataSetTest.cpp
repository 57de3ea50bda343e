#include "acoustics/data/LoudspeakerDataSet.h"
#include "DataSetFixture.h"
#include "acoustics/data/EQDataSpread.h"
#include "acoustics/data/EQSpiral.h"
#include "tools/datagen/BrokenCorpus.h"
#include "tools/datagen/EqTables.h"
#include "tools/datagen/Models.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace zorvpro::acoustics;
namespace datagen = zorvpro::datagen;

namespace
{

std::shared_ptr<LoudspeakerImpl> Load(const TempDataFolder& t, const datagen::DataSet& set,
                                      std::string* reason = nullptr)
{
    return loadLoudspeakerDataSet(t.write(set), reason);
}

datagen::DataSet ArrayWith(const datagen::Descriptor& d)
{
    return datagen::Assemble("custom.vxq", d, datagen::ArrayModelFile(),
                             {{"data/eq/spread/Spread.xml", datagen::SpreadTableXml()},
                              {"data/eq/spiral/Spiral.xml", datagen::SpiralTableXml()}});
}

} // namespace

TEST(LoudspeakerDataSet, ArrayModuleLoadsCompletely)
{
    TempDataFolder t;
    const auto model = Load(t, datagen::MakeArrayDataSet());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->getName(), "TQR40V");
    EXPECT_EQ(model->getFamily(), "TQR");
    EXPECT_EQ(model->getDescription(), "Steerable column array module, 16 drivers");
    EXPECT_DOUBLE_EQ(model->getComponentValue(), 21.5);
    EXPECT_EQ(model->getMaxBeams(), 2u);
    EXPECT_TRUE(model->isSteerable());
    EXPECT_EQ(model->getAlgorithms(), (std::vector<int32_t>{1, 2, 3}));

    ASSERT_EQ(model->getTransducers().size(), 16u);
    ASSERT_EQ(model->getTransformers().size(), 1u);
    ASSERT_EQ(model->getPolars().size(), 1u);
    EXPECT_EQ(model->getPolars()[0]->getBandSelection().bits(), 0xFFFFFFF8u);
    EXPECT_TRUE(model->getPolars()[0]->hasData());
    EXPECT_EQ(model->getPolars()[0]->getAzimuthCount(), 72u);
    // The library model is never assembled: its parts stay unlinked.
    EXPECT_FALSE(model->isAssembled());
    EXPECT_EQ(model->getTransducers()[3]->getPolar(), nullptr);

    // The box is centred on z by the model matrix: 0.984 m tall.
    EXPECT_NEAR(model->getExtentZ(), 0.984, 1e-6);
    EXPECT_NEAR(model->getLocalBox().min.z, -0.492, 1e-6);
    EXPECT_EQ(model->getFaces().size(), 6u);

    // EQ tables for the spread and spiral algorithms only, found through the
    // "path" attributes (one written with a backslash).
    EXPECT_EQ(model->getEQData().size(), 2u);
    EXPECT_EQ(model->getEQData(2), nullptr);
    ASSERT_NE(model->getEQData(1), nullptr);
    ASSERT_NE(model->getEQData(3), nullptr);
    const EqCurveValues spread = model->getEQData(1)->lookup(EQRequestDataSpread(true, 20, 2));
    EXPECT_NEAR(spread.LowCutFreq, datagen::SpreadRow(true, 2, 20).lowCutFreq, 1e-9);
    const EqCurveValues spiral = model->getEQData(3)->lookup(EQRequestDataSpiral(3, 10, 30, 15));
    EXPECT_NEAR(spiral.BoostOrCut, datagen::SpiralRow(3, 10, 30, 15).boostOrCut, 1e-9);

    // Bill of materials: the link pin listed twice merges into one line.
    const BOM& bom = model->getBOM();
    ASSERT_EQ(bom.count(), 3u);
    EXPECT_EQ(bom.at(0).item, "TQR40V");
    EXPECT_EQ(bom.at(1).item, "Link pin");
    EXPECT_EQ(bom.at(1).quantity, 2u);
    EXPECT_EQ(bom.at(2).sku, "TQA-WB1");

    // Self-named connections below and above, a module height apart.
    ASSERT_EQ(model->getConnections().size(), 2u);
    EXPECT_EQ(model->getConnectionsOwner(), "TQR40V");
    const Connection& below = model->getConnections()[0];
    EXPECT_EQ(below.name, "TQR40V");
    EXPECT_EQ(below.side, ConnectionSide::Below);
    EXPECT_EQ(below.variant, 1u);
    EXPECT_NEAR(below.transform[11], -0.984, 1e-12);
    EXPECT_EQ(model->getConnections()[1].side, ConnectionSide::Above);
}

TEST(LoudspeakerDataSet, OldFormatVersionsRead)
{
    TempDataFolder t;
    const auto model = Load(t, datagen::MakePointSourceDataSet());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->getName(), "TQP8");
    EXPECT_EQ(model->getDescription(), ""); // too old for a description
    EXPECT_FALSE(model->isSteerable());
    EXPECT_TRUE(model->getAlgorithms().empty());
    EXPECT_TRUE(model->getEQData().empty());
    ASSERT_EQ(model->getTransformers().size(), 1u);
    EXPECT_EQ(model->getTransformers()[0]->getTap(), 70u);
    ASSERT_EQ(model->getPolars().size(), 2u);
    for (const auto& polar : model->getPolars())
        EXPECT_EQ(polar->getBandSelection().bits(), 0xFFFFFFFCu); // derived from the limits

    // The oldest record carries no phases: every delay reads as 0.
    const FrequencyMask oldest = model->getPolars()[0]->lookup(zorvpro::math::Vec3(1, 0.2, 0.1));
    ASSERT_EQ(oldest.phases().count(), 28u);
    for (double phase : oldest.phases())
        EXPECT_EQ(phase, 0.0);
    const FrequencyMask newer = model->getPolars()[1]->lookup(zorvpro::math::Vec3(1, 0.2, 0.1));
    EXPECT_NEAR(newer.phases()[5], 0.001, 1e-9);
    ASSERT_EQ(model->getTransducers().size(), 1u);
    EXPECT_DOUBLE_EQ(model->getTransducers()[0]->getLevelFactor(), 0.5);
}

TEST(LoudspeakerDataSet, PathsCaseAndWhitespace)
{
    TempDataFolder t;
    datagen::Descriptor d = datagen::ArrayDescriptor();
    d.rootTag = "root"; // element names ignore case
    d.rootPath = "data\\spk";
    d.acousticalPath = "";
    d.spmPath = "acoustic";
    d.spm = "model.bin";
    d.algorithms = {{"  AsymmetricalSpiral\n", "", ""},
                    {"asymmetricalsteer", "", ""},
                    {"asymmetricalspiral", "", ""},
                    {"beamform", "", ""},
                    {"", "", ""}};
    d.connections[0].position = "top";
    d.connections[1].name = "  ";
    datagen::DataSet set = datagen::Assemble("paths.vxq", d, datagen::ArrayModelFile());
    ASSERT_NE(set.Find("data/spk/acoustic/model.bin"), nullptr);
    const auto model = Load(t, set);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->getTransducers().size(), 16u);
    EXPECT_EQ(model->getAlgorithms(), (std::vector<int32_t>{2, 3, 3}));
    EXPECT_TRUE(model->getConnections().empty());

    // An attribute spelled "Path" is not a path: the entry is not found.
    datagen::Descriptor wrong = datagen::ArrayDescriptor();
    datagen::DataSet wrongSet = ArrayWith(wrong);
    auto* main = wrongSet.Find("Main.xml");
    main->data = juce::String(main->data).replace("<Acoustical path=", "<Acoustical Path=").toStdString();
    std::string reason;
    EXPECT_EQ(Load(t, wrongSet, &reason), nullptr);
    EXPECT_EQ(reason, "The binary model file cannot be opened");
}

TEST(LoudspeakerDataSet, WithoutModelFileTheModelHasNoParts)
{
    TempDataFolder t;
    datagen::Descriptor d = datagen::ArrayDescriptor();
    d.spm.clear();
    const auto model = Load(t, datagen::Assemble("nospm.vxq", d, datagen::ArrayModelFile()));
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(model->getTransducers().empty());
    EXPECT_TRUE(model->getFaces().empty());
    EXPECT_EQ(model->getAlgorithms().size(), 3u);
    // Its copies cannot be assembled.
    LoudspeakerImpl copy(*model);
    EXPECT_FALSE(copy.isAssembled());
    EXPECT_TRUE(copy.getChildren().empty());
}

TEST(LoudspeakerDataSet, AnEqDocumentWithAnotherRootGivesAnEmptyEntry)
{
    TempDataFolder t;
    datagen::DataSet set = datagen::MakeArrayDataSet();
    set.Find("data/eq/spread/Spread.xml")->data = "<Table/>";
    const auto model = Load(t, set);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->getEQData().count(1), 1u);
    EXPECT_EQ(model->getEQData(1), nullptr);
    EXPECT_NE(model->getEQData(3), nullptr);
}

TEST(LoudspeakerDataSet, BrokenArchivesYieldNoModel)
{
    TempDataFolder t;
    for (const datagen::BrokenArchive& broken : datagen::BrokenCorpus())
    {
        SCOPED_TRACE(broken.fileName + ": " + broken.what);
        const juce::File file = t.dir.getChildFile(broken.fileName);
        if (broken.raw)
            ASSERT_TRUE(file.replaceWithData(broken.rawBytes.data(), broken.rawBytes.size()));
        else
            ASSERT_TRUE(datagen::WriteArchive(file, broken.entries));
        std::shared_ptr<LoudspeakerImpl> model;
        std::string reason;
        try
        {
            model = loadLoudspeakerDataSet(file.getFullPathName().toStdString(), &reason);
        }
        catch (const std::invalid_argument& e)
        {
            reason = e.what();
        }
        EXPECT_EQ(model, nullptr);
        EXPECT_FALSE(reason.empty());
    }
}

// The array driver's record beams horizontally more with rising frequency
// and stays wide vertically, where the column itself forms the pattern.
TEST(LoudspeakerDataSet, ArrayDriverNarrowsHorizontallyWithFrequency)
{
    TempDataFolder t;
    const auto model = Load(t, datagen::MakeArrayDataSet());
    ASSERT_NE(model, nullptr);
    const Polar& polar = *model->getPolars()[0];
    const double c = std::cos(1.0471975511965976), s = std::sin(1.0471975511965976);
    const FrequencyMask axis = polar.lookup(zorvpro::math::Vec3(1, 0, 0));
    const FrequencyMask side = polar.lookup(zorvpro::math::Vec3(c, s, 0)); // 60 degrees horizontally
    const FrequencyMask up = polar.lookup(zorvpro::math::Vec3(c, 0, s));   // 60 degrees vertically
    ASSERT_EQ(axis.magnitudes().count(), 28u);
    const uint64_t low = 11, high = 25; // 400 Hz and 10 kHz
    auto dropDb = [&](const FrequencyMask& m, uint64_t b)
    { return 20 * std::log10(axis.magnitudes()[b] / m.magnitudes()[b]); };
    EXPECT_GT(dropDb(side, high), dropDb(side, low) + 3.0);
    EXPECT_GT(dropDb(side, high), dropDb(up, high) + 3.0);
    EXPECT_GE(dropDb(up, low), 0.0);
    // On axis the level follows the reference: 92 dB re 20 uPa above 200 Hz.
    EXPECT_NEAR(20 * std::log10(axis.magnitudes()[high] / 2e-5), 92.0, 1e-3);
}
