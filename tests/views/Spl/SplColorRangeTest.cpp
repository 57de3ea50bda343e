// The coverage-map colour scale: the fixed colours at and beyond the range, the warped hues.
#include "views/Adapters/Spl/SplColorRange.h"

#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zorvpro
{
namespace
{
struct ColourCase
{
    double low, high, value;
    QColor expected;
};

TEST(SplColorRange, LevelsMapOntoBlueToRedWithFadesBeyondTheRange)
{
    const ColourCase cases[] = {
        {80, 110, 80, QColor(0, 0, 255)},      // the blue of the low end
        {80, 110, 110, QColor(255, 0, 0)},     // pure red at the high end
        {80, 110, 95, QColor(0, 255, 0)},      // halfway: green
        {80, 110, 74, QColor(30, 0, 80)},      // 6 dB below: dark purple
        {80, 110, 40, QColor(30, 0, 80)},      // and far below
        {80, 110, 116, QColor(255, 250, 250)}, // 6 dB above: near-white
        {80, 110, 300, QColor(255, 250, 250)},
        {80, 110, 77, QColor(15, 0, 168)}, // halfway into the low fade
        {90, 90, 90, QColor(0, 255, 0)},   // an empty range: the mean hue
        {80, 110, std::nan(""), QColor(30, 0, 80)},
    };
    for (const ColourCase& c : cases)
    {
        SplColorRange range;
        range.Set(c.low, c.high);
        const QColor got = range.ColorOf(c.value);
        EXPECT_NEAR(got.red(), c.expected.red(), 1)
            << c.value << " dB on [" << c.low << ", " << c.high << "]";
        EXPECT_NEAR(got.green(), c.expected.green(), 1) << c.value << " dB";
        EXPECT_NEAR(got.blue(), c.expected.blue(), 1) << c.value << " dB";
        EXPECT_EQ(got.alpha(), 255);
    }
}

TEST(SplColorRange, WarpedHuesKeepTheSixthsAndRiseSteadily)
{
    for (int s = 0; s < 6; ++s)
        EXPECT_NEAR(WarpHue(s / 6.0), s / 6.0, 1e-12) << s << "/6";
    EXPECT_NEAR(WarpHue(-1.0 / 3.0), 2.0 / 3.0, 1e-12) << "hues wrap around the circle";
    EXPECT_GT(std::fabs(WarpHue(1.0 / 12.0) - 1.0 / 12.0), 0.005) << "hues between the sixths move";
    double previous = WarpHue(0.0);
    for (int i = 1; i < 600; ++i)
    {
        const double h = WarpHue(i / 600.0);
        EXPECT_GT(h, previous) << "at " << i << "/600";
        previous = h;
    }
}

TEST(SplColorRange, AnUpsideDownRangeIsLoggedAndTurned)
{
    test::LogCapture log;
    SplColorRange range;
    range.Set(110, 80);
    EXPECT_EQ(range.Low(), 80);
    EXPECT_EQ(range.High(), 110);
    const auto texts = log.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "SPL order incorrect"), texts.end());
}
} // namespace
} // namespace zorvpro
