#include "views/Adapters/Spl/SplColorRange.h"

#include "core/Logger/OmbraxLogger.h"
#include "core/math/Compare.h"

#include <cmath>
#include <utility>

namespace zorvpro
{
namespace
{
constexpr double kLowHue = 2.0 / 3.0;
constexpr double kHighHue = 0.0;

double WrapUnit(double h)
{
    return std::fmod(std::fmod(h, 1.0) + 1.0, 1.0);
}

QColor Hue(double h)
{
    return QColor::fromHslF(WarpHue(h), 1.0, 0.5, 1.0);
}

const QColor kBelowColor(30, 0, 80);
const QColor kAboveColor(255, 250, 250);
} // namespace

double WarpHue(double hue)
{
    const double k = std::sqrt(2.0);
    const double h0 = WrapUnit(hue);
    const int s = std::min(5, static_cast<int>(6.0 * h0));
    const double f = 6.0 * h0 - s;
    const double a = 0.5 - 0.1 * (2.0 * k) + 0.04000000000000001;
    const double b = 0.1 * (4.0 * k);
    double result;
    if (s % 2 == 1)
    {
        const double g = 1.0 - f;
        const double r = std::sqrt(a + b * g);
        result = ((s + 1) - (r + 0.2 - 1.0 / k - 0.2 * g) / 0.2) / 6.0;
    }
    else
    {
        const double r = std::sqrt(a + b * f);
        result = ((r + 0.2 - 1.0 / k - 0.2 * f) / 0.2 + s) / 6.0;
    }
    return WrapUnit(result);
}

QColor BlendColors(const QColor& from, const QColor& to, double t)
{
    auto mix = [t](double a, double b) { return a + (b - a) * t; };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()),
                            mix(from.blueF(), to.blueF()), 1.0);
}

void SplColorRange::Set(double low, double high)
{
    if (low > high)
    {
        OmbraxLogger::Log(LogLevel::Error, "SPL order incorrect");
        std::swap(low, high);
    }
    m_low = low;
    m_high = high;
}

QColor SplColorRange::ColorOf(double value) const
{
    if (std::isnan(value))
        return kBelowColor;
    if (value >= m_low && value <= m_high)
        return Hue(math::InterpolateClamped(m_low, kLowHue, m_high, kHighHue, value));
    if (value < m_low)
        return BlendColors(kBelowColor, Hue(kLowHue),
                           math::InterpolateClamped(m_low - kFadeWidth, 0.0, m_low, 1.0, value));
    return BlendColors(Hue(kHighHue), kAboveColor,
                       math::InterpolateClamped(m_high, 0.0, m_high + kFadeWidth, 1.0, value));
}
} // namespace zorvpro
