#include "acoustics/data/ModelFileReader.h"
#include "tools/datagen/Models.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zorvpro::acoustics;
namespace datagen = zorvpro::datagen;

namespace
{

std::string ThrownText(const std::string& bytes)
{
    try
    {
        ReadModelFile(bytes);
    }
    catch (const std::invalid_argument& e)
    {
        return e.what();
    }
    return "nothing thrown";
}

} // namespace

TEST(ModelFileReader, ReadsTheArrayModule)
{
    const ModelFileData m = ReadModelFile(datagen::ArrayModelFile().Serialize());
    EXPECT_EQ(m.version, 0x10000007u);
    EXPECT_EQ(m.name, "TQR40V");
    EXPECT_EQ(m.description, "Steerable column module");
    EXPECT_TRUE(m.hasComponentValue);
    EXPECT_DOUBLE_EQ(m.componentValue, 21.5);
    ASSERT_EQ(m.transformers.size(), 1u);
    EXPECT_EQ(m.transformers[0].tap, 0u);

    ASSERT_EQ(m.polars.size(), 1u);
    const auto& p = m.polars[0];
    EXPECT_DOUBLE_EQ(p.stepRadians, 5.0 * 0.017453292519943295);
    EXPECT_EQ(p.magnitudes.count(), 74592u);
    EXPECT_EQ(p.phases.count(), 74592u);
    EXPECT_EQ(p.label, "4in cone");
    EXPECT_DOUBLE_EQ(p.bands[1][27], 92.0);
    // Stored selection: the three lowest bands are not usable.
    EXPECT_EQ(p.bandSelection, 0xFFFFFFF8u);
    // On axis nothing is attenuated; at 90 degrees horizontally the top band is.
    EXPECT_EQ(p.magnitudes[0], 0.0);
    const uint32_t j90 = 18, top = 27;
    EXPECT_GT(p.magnitudes[(0 * 37 + j90) * 28 + top], p.magnitudes[(0 * 37 + j90) * 28 + 6]);
    EXPECT_GT(p.magnitudes[(0 * 37 + j90) * 28 + top], p.magnitudes[(18 * 37 + j90) * 28 + top]);

    ASSERT_EQ(m.transducers.size(), 16u);
    for (uint32_t i = 0; i < 16; ++i)
    {
        EXPECT_EQ(m.transducers[i].index, i);
        EXPECT_NEAR(m.transducers[i].position[2], (15.5 - i) * 0.0615, 1e-6) << "listed from the top";
    }
    // Six faces; records of types 0, 3, 4 and 5 add none but keep the stream in step.
    EXPECT_EQ(m.faces.size(), 6u);
}

TEST(ModelFileReader, OldVersionsDeriveSelectionAndZeroPhases)
{
    const ModelFileData m = ReadModelFile(datagen::PointSourceModelFile().Serialize());
    EXPECT_EQ(m.version, 0x10000003u);
    EXPECT_EQ(m.description, "");
    EXPECT_EQ(m.name, "TQP8");
    ASSERT_EQ(m.transformers.size(), 1u);
    EXPECT_EQ(m.transformers[0].tap, 70u);
    EXPECT_EQ(m.transformers[0].id, 3u);
    ASSERT_EQ(m.polars.size(), 2u);
    for (const auto& p : m.polars)
    {
        // Bands 0 and 1 have limits 0 and -1: cleared; bits 28..31 stay set.
        EXPECT_EQ(p.bandSelection, 0xFFFFFFFCu);
        EXPECT_EQ(p.magnitudes.count(), 36u * 19u * 28u);
        EXPECT_EQ(p.point, (Point3{0, 0, 0}));
        ASSERT_EQ(p.bands[7].count(), 28u);
        EXPECT_EQ(p.bands[7][5], 0.0);
    }
    EXPECT_EQ(m.polars[0].phases.count(), m.polars[0].magnitudes.count());
    EXPECT_EQ(m.polars[0].phases[100], 0.0);          // too old for phases
    EXPECT_FLOAT_EQ(m.polars[1].phases[100], 0.001f); // carries them
    ASSERT_EQ(m.transducers.size(), 1u);
    EXPECT_DOUBLE_EQ(m.transducers[0].levelFactor, 0.5);
    EXPECT_EQ(m.faces.size(), 6u);
    EXPECT_EQ(m.faces[0].type, 2u);
}

TEST(ModelFileReader, StepCountFollowsTheRadianRoundTrip)
{
    EXPECT_EQ(polarValueCount(5.0f * 0.017453292519943295, 28), 74592u);
    EXPECT_EQ(polarValueCount(3.0f * 0.017453292519943295, 28), 199920u);
    EXPECT_EQ(polarValueCount(0.0, 28), 0u);
    EXPECT_EQ(polarValueCount(-1.0, 28), 0u);

    datagen::ModelFile file = datagen::ArrayModelFile();
    file.polars[0].stepDegrees = 3.0f;
    file.polars[0].magnitudes.assign(199920, 1.0f);
    file.polars[0].phases.assign(199920, 0.0f);
    const ModelFileData m = ReadModelFile(file.Serialize());
    EXPECT_EQ(m.polars[0].magnitudes.count(), 199920u);
    EXPECT_EQ(m.transducers.size(), 16u);
}

TEST(ModelFileReader, KeepsNegativeLevelAndDropsNegativeComponentValue)
{
    datagen::ModelFile file = datagen::ArrayModelFile();
    file.componentValue = -3.0f;
    file.transducers[2].levelFactor = -0.25f;
    const ModelFileData m = ReadModelFile(file.Serialize());
    EXPECT_FALSE(m.hasComponentValue);
    EXPECT_EQ(m.componentValue, 0.0);
    EXPECT_DOUBLE_EQ(m.transducers[2].levelFactor, -0.25);
}

TEST(ModelFileReader, CorruptFilesAreRejectedWithinTheirBytes)
{
    datagen::ModelFile faces = datagen::ArrayModelFile();
    datagen::FaceRecord bad;
    bad.recordType = 7;
    faces.faces.push_back(bad);
    EXPECT_EQ(ThrownText(faces.Serialize()), "Invalid dxf type");

    for (float step : {720.0f, 1e-5f, 0.05f, 90.5f, -5.0f})
    {
        datagen::ModelFile wild = datagen::ArrayModelFile();
        wild.polars[0].stepDegrees = step;
        wild.polars[0].magnitudes.assign(4, 0.0f);
        EXPECT_EQ(ThrownText(wild.Serialize()), "Invalid arguments Polar::ctor") << step;
    }

    const std::string whole = datagen::ArrayModelFile().Serialize();
    for (size_t cut : {size_t(3), whole.size() / 3, whole.size() - 1})
        EXPECT_EQ(ThrownText(whole.substr(0, cut)), "Truncated model file") << cut;
    // Cut inside the description: its length now exceeds what is left.
    EXPECT_EQ(ThrownText(whole.substr(0, 40)), "Invalid string length");

    datagen::BinaryWriter longName;
    longName.UInt(0x10000007);
    longName.RawLength(0x40000000);
    longName.Bytes("abc");
    EXPECT_EQ(ThrownText(longName.Data()), "Invalid string length");
    datagen::BinaryWriter negative;
    negative.UInt(0x10000007);
    negative.RawLength(-8);
    EXPECT_EQ(ThrownText(negative.Data()), "Invalid string length");

    datagen::BinaryWriter count;
    datagen::ArrayModelFile().WriteHeader(count);
    count.Int(0x7FFFFFF0);
    count.Zeros(64);
    EXPECT_EQ(ThrownText(count.Data()), "Invalid record count");
}

TEST(ModelFileReader, NonPositiveCountsGiveNoRecords)
{
    datagen::BinaryWriter out;
    datagen::PointSourceModelFile().WriteHeader(out);
    out.Int(0);  // transformers
    out.Int(-5); // polars
    out.Int(0);  // transducers
    out.Int(-1); // faces
    const ModelFileData m = ReadModelFile(out.Data());
    EXPECT_TRUE(m.transformers.empty());
    EXPECT_TRUE(m.polars.empty());
    EXPECT_TRUE(m.transducers.empty());
    EXPECT_TRUE(m.faces.empty());
}

// Corrupting any byte of a small model file either still reads or is
// rejected with an invalid-argument error; nothing else escapes.
TEST(ModelFileReader, CorruptedBytesAreReadOrRejected)
{
    datagen::ModelFile file = datagen::ArrayModelFile();
    file.polars[0].stepDegrees = 45.0f;
    file.polars[0].magnitudes.assign(datagen::PolarValueCount(45.0f), 2.0f);
    file.polars[0].phases.assign(file.polars[0].magnitudes.size(), 0.0f);
    const std::string clean = file.Serialize();
    ASSERT_EQ(ReadModelFile(clean).polars[0].magnitudes.count(), 8u * 5u * 28u);

    uint32_t seed = 12345;
    auto next = [&seed]()
    {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    size_t rejected = 0;
    for (int round = 0; round < 400; ++round)
    {
        std::string bytes = clean;
        for (int k = 0; k < 3; ++k)
            bytes[next() % bytes.size()] = static_cast<char>(next() & 0xFF);
        try
        {
            ReadModelFile(bytes);
        }
        catch (const std::invalid_argument&)
        {
            ++rejected;
        }
    }
    // Most corruption lands in float values and still reads; some must not.
    EXPECT_GT(rejected, 0u);
}
