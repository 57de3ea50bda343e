#include "acoustics/model/FrequencyBands.h"
#include "acoustics/model/Polar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace zorvpro;
using namespace zorvpro::acoustics;

TEST(PolarLookupInto, WritesWhatLookupReturnsWithoutAllocating)
{
    constexpr uint32_t Bands = CalculationBandCount;
    const double step = M_PI / 18.0; // 10 degrees
    Polar polar(step, Bands);
    std::vector<double> m(Bands), p(Bands);
    double magnitudeTotal = 0.0;
    MagnitudeKind magnitudeKind = LevelPower;
    PhaseKind phaseKind = PhaseRadians;
    EXPECT_FALSE(
        polar.lookupInto(math::Vec3(1, 0, 0), m.data(), p.data(), magnitudeKind, phaseKind)); // no data

    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const uint32_t n = Polar::polarValueCount(step, Bands);
    DoubleBuffer magnitudes(n), phases(n);
    for (uint32_t i = 0; i < n; ++i)
    {
        magnitudes[i] = 30.0 * unit(rng);
        phases[i] = 1e-3 * unit(rng);
    }
    polar.setData(std::move(magnitudes), std::move(phases));

    std::uniform_real_distribution<double> coordinate(-5.0, 5.0);
    std::vector<math::Vec3> directions = {math::Vec3(0, 0, 0), math::Vec3(1, 0, 0), math::Vec3(-1, 0, 0),
                                          math::Vec3(0, 0, -2), math::Vec3(0, -1e-12, 3)};
    for (int i = 0; i < 500; ++i)
        directions.emplace_back(coordinate(rng), coordinate(rng), coordinate(rng));
    for (const math::Vec3& d : directions)
    {
        const FrequencyMask expected = polar.lookup(d);
        ASSERT_TRUE(expected.isUsable());
        ASSERT_TRUE(polar.lookupInto(d, m.data(), p.data(), magnitudeKind, phaseKind));
        EXPECT_EQ(magnitudeKind, expected.getMagnitudeKind());
        EXPECT_EQ(phaseKind, expected.getPhaseKind());
        for (uint32_t k = 0; k < Bands; ++k)
        {
            EXPECT_EQ(m[k], expected.magnitudes()[k]);
            EXPECT_EQ(p[k], expected.phases()[k]);
            magnitudeTotal += m[k];
        }
    }
    EXPECT_GT(magnitudeTotal, 0.0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(polar.lookup(math::Vec3(nan, 0, 1)).isUsable());
    EXPECT_FALSE(polar.lookupInto(math::Vec3(nan, 0, 1), m.data(), p.data(), magnitudeKind, phaseKind));
}
