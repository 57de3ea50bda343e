#include "acoustics/fast/VectorLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace zorvpro::acoustics::fast;

namespace
{

// Applies a lane function to every value, four at a time, and returns the
// largest error relative to the library function (absolute below 1), in
// units of the allowance.
template <class LaneFunction, class Reference, class Allowance>
double largestRelativeError(const std::vector<double>& x, LaneFunction lanes, Reference reference,
                            Allowance allowance)
{
    double worst = 0.0;
    for (size_t i = 0; i + 4 <= x.size(); i += 4)
    {
        const Lanes in = {x[i], x[i + 1], x[i + 2], x[i + 3]};
        Lanes out;
        lanes(in, out);
        for (int lane = 0; lane < 4; ++lane)
        {
            const double want = reference(in[lane]);
            if (std::isnan(want) || std::isinf(want))
            {
                EXPECT_TRUE(std::isnan(want) ? std::isnan(out[lane]) : out[lane] == want) << in[lane];
                continue;
            }
            worst = std::max(worst, std::fabs(out[lane] - want) / std::max(1.0, std::fabs(want)) /
                                        allowance(in[lane]));
        }
    }
    return worst;
}

} // namespace

TEST(VectorLevels, LogarithmsAndPowersStayWithinAFewUnitsOfTheLibrary)
{
    std::mt19937_64 rng(29);
    std::uniform_real_distribution<double> exponent(-300.0, 300.0), unit(0.5, 2.0), small(-30.0, 5.0);
    std::vector<double> logs, powers;
    for (int i = 0; i < 40000; ++i)
    {
        logs.push_back(std::pow(10.0, exponent(rng)));
        logs.push_back(unit(rng)); // around 1, where the logarithm nears 0
        powers.push_back(small(rng));
        powers.push_back(exponent(rng));
    }
    // Values the lane arithmetic leaves to the library, and the edges of its own range.
    const double inf = std::numeric_limits<double>::infinity();
    for (double v :
         {0.0, -1.0, 4e-320, inf, std::nan(""), 1.0, std::sqrt(2.0), std::nextafter(std::sqrt(2.0), 2.0),
          2.2250738585072014e-308, 1.7976931348623157e308, 2.220446049250313e-16, 0.5, 2.0, 1e-200})
        logs.push_back(v);
    for (double v : {0.0, -0.0, 299.9, -299.9, 300.0, -300.0, 400.0, -400.0, inf, -inf, std::nan(""), 0.5,
                     -0.5, 1e-17, 0.150514997831990598, 0.150514997831990599})
        powers.push_back(v);
    while (logs.size() % 4 != 0)
        logs.push_back(1.0);
    while (powers.size() % 4 != 0)
        powers.push_back(0.0);

    const auto log10OfLanes = [](const Lanes& x, Lanes& out) { log10Lanes(x, out); };
    const auto log10OfOne = [](double x) { return std::log10(x); };
    EXPECT_LT(largestRelativeError(logs, log10OfLanes, log10OfOne, [](double) { return 1e-15; }), 1.0);
    // The rounding of x log2(10) grows with x.
    const auto exp10OfLanes = [](const Lanes& x, Lanes& out) { exp10Lanes(x, out); };
    const auto exp10OfOne = [](double x) { return std::pow(10.0, x); };
    EXPECT_LT(largestRelativeError(powers, exp10OfLanes, exp10OfOne,
                                   [](double x) { return 5e-16 * (1.0 + 3.33 * std::fabs(x)); }),
              1.0);
}
