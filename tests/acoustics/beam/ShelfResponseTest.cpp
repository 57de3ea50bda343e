#include "acoustics/beam/ShelfResponse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zorvpro::acoustics;

namespace
{
const std::vector<double> kFrequencies{20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 24000};
}

TEST(ShelfResponseTest, RefusesBadInputWithoutWriting)
{
    std::vector<double> out(kFrequencies.size(), 7.0);
    EXPECT_FALSE(
        computeShelfResponse(kFrequencies.data(), out.data(), out.size(), 6.0, 500.0, 11.0, true, 48000));
    EXPECT_FALSE(
        computeShelfResponse(kFrequencies.data(), out.data(), out.size(), 6.0, 500.0, -0.5, true, 48000));
    EXPECT_FALSE(
        computeShelfResponse(kFrequencies.data(), out.data(), out.size(), 6.0, 500.0, NAN, true, 48000));
    EXPECT_FALSE(computeShelfResponse(nullptr, out.data(), out.size(), 6.0, 500.0, 2.0, true, 48000));
    EXPECT_FALSE(
        computeShelfResponse(kFrequencies.data(), nullptr, out.size(), 6.0, 500.0, 2.0, true, 48000));
    EXPECT_FALSE(computeShelfResponse(kFrequencies.data(), out.data(), 0, 6.0, 500.0, 2.0, true, 48000));
    for (double v : out)
        EXPECT_EQ(v, 7.0);
}

TEST(ShelfResponseTest, ZeroGainIsFlat)
{
    for (double tilt : {0.0, 3.0, 10.0})
    {
        std::vector<double> out(kFrequencies.size(), 0.0);
        ASSERT_TRUE(
            computeShelfResponse(kFrequencies.data(), out.data(), out.size(), 0.0, 800.0, tilt, true, 48000));
        for (double v : out)
            EXPECT_NEAR(v, 1.0, 1e-12) << "tilt " << tilt;
    }
}

TEST(ShelfResponseTest, ShelfReachesGainAtHalfTheSampleRate)
{
    for (double gain : {6.0, -4.5})
    {
        std::vector<double> out(kFrequencies.size());
        ASSERT_TRUE(
            computeShelfResponse(kFrequencies.data(), out.data(), out.size(), gain, 500.0, 2.0, true, 48000));
        EXPECT_NEAR(out.back(), std::pow(10.0, -gain / 20.0), 1e-12);
        // Near unity far below the corner, moving steadily towards the shelf.
        EXPECT_NEAR(20 * std::log10(out.front()), 0.0, 0.1);
        for (size_t i = 1; i < out.size(); ++i)
        {
            if (gain > 0)
                EXPECT_LT(out[i], out[i - 1]) << i;
            else
                EXPECT_GT(out[i], out[i - 1]) << i;
        }

        std::vector<double> unscaled(kFrequencies.size());
        computeShelfResponse(kFrequencies.data(), unscaled.data(), unscaled.size(), gain, 500.0, 2.0, false,
                             48000);
        EXPECT_NEAR(unscaled.back(), 1.0, 1e-12);
        EXPECT_NEAR(unscaled[3] * std::pow(10.0, -gain / 20.0), out[3], 1e-12);
    }
}
