#include "acoustics/model/Polar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace zorvpro::acoustics;
using zorvpro::math::Vec3;

namespace
{
constexpr double RadiansPerDegree = 0.017453292519943295;

// Phases encode the grid point: 1000 x azimuth index + polar index + band / 1000.
void fill(Polar& polar, double attenuationAt10 = 0.0)
{
    const uint32_t n = Polar::polarValueCount(polar.getStep(), 28);
    DoubleBuffer magnitudes(n), phases(n);
    uint64_t k = 0;
    for (uint32_t i = 0; i < polar.getAzimuthCount(); ++i)
        for (uint32_t j = 0; j < polar.getPolarCount(); ++j)
            for (uint32_t b = 0; b < 28; ++b, ++k)
            {
                phases[k] = 1000.0 * i + j + b / 1000.0;
                magnitudes[k] = (i == 1 && j == 0) ? attenuationAt10 : 0.0;
            }
    polar.setData(std::move(magnitudes), std::move(phases));
}

Vec3 direction(double azimuthDegrees, double polarDegrees)
{
    const double a = azimuthDegrees * RadiansPerDegree, p = polarDegrees * RadiansPerDegree;
    return Vec3(std::cos(p), std::sin(p) * std::cos(a), std::sin(p) * std::sin(a));
}
} // namespace

TEST(Polar, GridCountsAndValidation)
{
    Polar five(5 * RadiansPerDegree, 28);
    EXPECT_EQ(five.getAzimuthCount(), 72u);
    EXPECT_EQ(five.getPolarCount(), 37u);
    EXPECT_EQ(Polar::polarValueCount(5 * RadiansPerDegree, 28), 74592u);

    Polar three(3 * RadiansPerDegree, 28);
    EXPECT_EQ(three.getAzimuthCount(), 119u);
    EXPECT_EQ(three.getPolarCount(), 60u);
    EXPECT_EQ(Polar::polarValueCount(3 * RadiansPerDegree, 28), 199920u);

    Polar ninety(1.5707963267948966, 28);
    EXPECT_EQ(ninety.getAzimuthCount(), 4u);
    EXPECT_EQ(ninety.getPolarCount(), 3u);
    EXPECT_EQ(Polar::polarValueCount(0.0, 28), 0u);
    EXPECT_EQ(Polar::polarValueCount(-1.0, 28), 0u);
    // Counts are taken in 32-bit unsigned arithmetic: 6283185 x 3141593 x 28
    // wraps; far smaller steps keep the low 32 bits of each count.
    EXPECT_EQ(Polar::polarValueCount(1e-6, 28), 13897980u);
    EXPECT_EQ(Polar::polarValueCount(1e-300, 28), 0u);
    EXPECT_EQ(Polar::polarValueCount(INFINITY, 28), 0u);

    for (auto [step, bands] : {std::pair{0.0017, 28u},
                               {1.6, 28u},
                               {5 * RadiansPerDegree, 27u},
                               {0.0, 28u},
                               {std::nan(""), 28u},
                               {1e-300, 28u},
                               {INFINITY, 28u}})
    {
        try
        {
            Polar bad(step, bands);
            FAIL() << step << " " << bands;
        }
        catch (const std::invalid_argument& e)
        {
            EXPECT_STREQ(e.what(), "Invalid arguments Polar::ctor");
        }
    }
}

TEST(Polar, PerBandSettersKeepTheLength)
{
    Polar polar(5 * RadiansPerDegree, 28);
    EXPECT_EQ(polar.getReferenceLevel(), DoubleBuffer(28, 1.0));
    EXPECT_EQ(polar.getLimit(), DoubleBuffer(28, 0.0));
    DoubleBuffer shorter(27, 5.0);
    polar.setLimit(std::move(shorter));
    EXPECT_TRUE(shorter.empty());
    EXPECT_EQ(polar.getLimit(), DoubleBuffer(28, 0.0));
    DoubleBuffer limit(28, 3.0);
    polar.setLimit(std::move(limit));
    EXPECT_TRUE(limit.empty());
    EXPECT_EQ(polar.getLimit(), DoubleBuffer(28, 3.0));
    polar.setEighthArray(DoubleBuffer(28, 8.0));
    EXPECT_EQ(polar.getPerBandArray(7), DoubleBuffer(28, 8.0));
    EXPECT_TRUE(polar.getPerBandArray(8).empty());
}

TEST(Polar, SetDataScalesByReferenceLevel)
{
    Polar polar(5 * RadiansPerDegree, 28);
    DoubleBuffer level(28, 94.0);
    polar.setReferenceLevel(std::move(level));
    fill(polar, 20.0);
    const double reference = 2e-5 * std::pow(10.0, 94.0 / 20.0);
    auto axis = polar.lookup(Vec3(1, 0, 0));
    ASSERT_TRUE(axis.isUsable());
    EXPECT_NEAR(axis.magnitudes()[3], reference, 1e-12);
    EXPECT_EQ(axis.getMagnitudeKind(), LevelAmplitude);
    EXPECT_EQ(axis.getPhaseKind(), PhaseDelay);
    for (uint32_t b = 0; b < 28; ++b)
        EXPECT_NEAR(axis.phases()[b], b / 1000.0, 1e-12);

    // Halfway between polar rows 0 and 1 of column 1, attenuated 20 dB at row 0.
    auto between = polar.lookup(direction(5.0, 2.5));
    EXPECT_NEAR(between.magnitudes()[0], reference * (0.1 + 1.0) / 2.0, 1e-9);
    EXPECT_NEAR(between.phases()[0], 1000.0 + 0.5, 1e-9);
}

TEST(Polar, SetDataWithWrongLengthsKeepsTheTable)
{
    Polar polar(5 * RadiansPerDegree, 28);
    fill(polar);
    DoubleBuffer magnitudes(100), phases(Polar::polarValueCount(polar.getStep(), 28));
    polar.setData(std::move(magnitudes), std::move(phases));
    EXPECT_TRUE(magnitudes.empty());
    EXPECT_TRUE(phases.empty());
    EXPECT_NEAR(polar.lookup(direction(90.0, 90.0)).phases()[0], 18018.0, 1e-9);
}

TEST(Polar, LookupDirections)
{
    Polar polar(5 * RadiansPerDegree, 28);
    fill(polar);
    EXPECT_NEAR(polar.lookup(Vec3(0, 0, -1)).phases()[0], 54018.0, 1e-9); // azimuth 270
    EXPECT_NEAR(polar.lookup(Vec3(-1, 0, 0)).phases()[0], 36.0, 1e-9);    // last row for both
    EXPECT_NEAR(polar.lookup(direction(2.5, 90.0)).phases()[0], 500.0 + 18.0, 1e-9);
    // An azimuth of exactly 360 degrees is column 0.
    EXPECT_NEAR(polar.lookup(Vec3(0, 1, -1e-300)).phases()[0], 18.0, 1e-9);
    // Between the last column and column 0.
    EXPECT_NEAR(polar.lookup(direction(357.5, 90.0)).phases()[0], (71000.0 + 0.0) / 2.0 + 18.0, 1e-6);
    // A zero direction counts as 90 degrees off axis at azimuth 0.
    EXPECT_NEAR(polar.lookup(Vec3(0, 0, 0)).phases()[0], 18.0, 1e-9);
}

TEST(Polar, LookupOnThreeDegreeGridMixesFirstColumns)
{
    Polar polar(3 * RadiansPerDegree, 28);
    fill(polar);
    // At 358.5 degrees (a = 119.5) columns 0 and 1 are mixed half and half;
    // off axis by 90 degrees the row index is just below 30.
    auto side = polar.lookup(direction(358.5, 90.0));
    ASSERT_TRUE(side.isUsable());
    const double row = 90.0 / (3 * RadiansPerDegree * 57.29577951308232);
    EXPECT_NEAR(side.phases()[0], 0.5 * 1000.0 + row, 1e-6);
    // The last column pairs with column 0 as well.
    EXPECT_NEAR(polar.lookup(direction(355.5, 90.0)).phases()[0], 0.5 * 118000.0 + row, 1e-6);
}

TEST(Polar, FailedLookupsGiveEmptyResponses)
{
    Polar polar(5 * RadiansPerDegree, 28);
    EXPECT_FALSE(polar.lookup(Vec3(1, 0, 0)).isUsable()); // no data yet
    fill(polar);
    EXPECT_FALSE(polar.lookup(Vec3(std::nan(""), 0, 0)).isUsable());
    EXPECT_FALSE(polar.lookup(Vec3(1, INFINITY, 0)).isUsable());
    EXPECT_FALSE(polar.lookup(Vec3(1, 0, -INFINITY)).isUsable());
    EXPECT_TRUE(polar.lookup(Vec3(1e300, 1e300, 1e300)).isUsable());
}
