#include "acoustics/fast/VectorCosine.h"
#include "acoustics/fast/CoherenceWindowLanes.h"
#include "acoustics/model/BandPhaseTables.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace zorvpro::acoustics::fast;

namespace
{

// The largest error of both halves of cosinesAndSines.
double largestError(const std::vector<double>& x)
{
    std::vector<double> c(x.size()), s(x.size());
    cosinesAndSines(x.data(), c.data(), s.data(), x.size());
    double worst = 0.0;
    for (size_t i = 0; i < x.size(); ++i)
        worst = std::max({worst, std::fabs(c[i] - std::cos(x[i])), std::fabs(s[i] - std::sin(x[i]))});
    return worst;
}

} // namespace

TEST(VectorCosine, StaysWithinItsBoundOverTheReducedRange)
{
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> small(-40.0, 40.0);
    std::uniform_real_distribution<double> wide(-CosineReductionLimit, CosineReductionLimit);
    std::vector<double> x;
    for (int i = 0; i < 20000; ++i)
        x.push_back(small(rng));
    for (int i = 0; i < 20000; ++i)
        x.push_back(wide(rng));
    // Quadrant boundaries and their neighbours, where the reduction switches
    // between the sine and cosine series.
    for (int k = -2000; k <= 2000; ++k)
    {
        const double b = k * M_PI / 4.0;
        x.push_back(b);
        x.push_back(std::nextafter(b, 1e9));
        x.push_back(std::nextafter(b, -1e9));
    }
    EXPECT_LT(largestError(x), 1e-15);
}

TEST(VectorCosine, HandlesTailsAndValuesOutsideTheReduction)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> x = {0.0, -0.0, 1e7, -3e12, 1e300, 2.5, -2.5};
    std::vector<double> c(x.size(), 42.0), s(x.size(), 42.0);
    cosinesAndSines(x.data(), c.data(), s.data(), x.size()); // a full vector and a tail of three
    for (size_t i = 0; i < x.size(); ++i)
    {
        // Beyond the reduction's range exactly the library's values.
        const double tolerance = std::fabs(x[i]) > CosineReductionLimit ? 0.0 : 1e-15;
        EXPECT_NEAR(c[i], std::cos(x[i]), tolerance) << x[i];
        EXPECT_NEAR(s[i], std::sin(x[i]), tolerance) << x[i];
    }

    const std::vector<double> odd = {inf, std::nan(""), 1.0};
    std::vector<double> oddOut(odd.size(), 0.0), oddSin(odd.size(), 0.0);
    cosinesAndSines(odd.data(), oddOut.data(), oddSin.data(), odd.size());
    EXPECT_TRUE(std::isnan(oddOut[0]) && std::isnan(oddOut[1]) && std::isnan(oddSin[0]) &&
                std::isnan(oddSin[1]));
    EXPECT_NEAR(oddOut[2], std::cos(1.0), 1e-16);
    EXPECT_NEAR(oddSin[2], std::sin(1.0), 1e-16);
}

TEST(CoherenceWindowLanes, EqualsTheTableAtEverySamplePoint)
{
    const zorvpro::acoustics::DoubleBuffer& table =
        zorvpro::acoustics::coherenceWindowTable(zorvpro::acoustics::ThirdOctaveBands);
    ASSERT_EQ(table.count(), 601u);
    std::vector<double> index(1024), w(1024, -1.0);
    for (size_t k = 0; k < index.size(); ++k)
        index[k] = static_cast<double>(k);
    coherenceWindowAt(index.data(), w.data(), index.size());
    for (size_t k = 0; k < index.size(); ++k)
    {
        const double expected = k < table.count() ? table[k] : 0.0;
        EXPECT_NEAR(w[k], expected, 1e-15) << k;
        EXPECT_EQ(w[k] == 0.0, expected == 0.0) << k; // zero exactly where the table is
    }
    // Indices far beyond the table, and NaN, read 0.
    const double odd[] = {1e6, 1e300, std::numeric_limits<double>::infinity(), std::nan("")};
    double out[4] = {-1.0, -1.0, -1.0, -1.0};
    coherenceWindowAt(odd, out, 4);
    for (double v : out)
        EXPECT_EQ(v, 0.0);
}
