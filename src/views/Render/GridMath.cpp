#include "GridMath.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::view
{
namespace
{
constexpr double kFoot = 0.3048;
constexpr double kZero = 5.551115123125783e-15;
constexpr double kSteps[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};
} // namespace

double GridStep(double lengthMetres, bool metric)
{
    const double length = metric ? lengthMetres : lengthMetres / kFoot;
    double step = kSteps[0];
    if (length > 1000.0)
    {
        step = 1000.0;
        while (step < length && std::isfinite(step))
            step *= 2.0;
    }
    else
    {
        for (double candidate : kSteps)
        {
            step = candidate;
            if (candidate >= length)
                break;
        }
    }
    return metric ? step : step * kFoot;
}

GridLineRange GridLineStart(double a, double b, double step)
{
    const double s = std::fabs(step);
    const double offset = step - std::fmod(std::fmod(a, s) + s, s);
    const double count = (b - (a + offset)) / step;
    // Counts far outside the int range only matter as "too many"; keep them saturated.
    if (!std::isfinite(count))
        return {offset, -1};
    if (count > 2.0e9)
        return {offset, 2000000000};
    if (count < -2.0e9)
        return {offset, -2000000000};
    return {offset, static_cast<int32_t>(count)};
}

QString FormatGridNumber(double value, double step, bool metric)
{
    if (!metric)
    {
        value /= kFoot;
        step /= kFoot;
    }
    const double nearest = static_cast<double>(std::round(static_cast<float>(step)));
    const int decimals = std::fabs(step - nearest) >= kZero ? 1 : 0;
    QString text = QString::number(value, 'f', decimals);
    // Values that round to zero from below print without a sign.
    const bool allZero = std::none_of(text.begin(), text.end(), [](QChar c) { return c >= '1' && c <= '9'; });
    if (text.startsWith('-') && allZero)
        text.remove(0, 1);
    return text;
}

void GridLines(const math::Vec3& from, const math::Vec3& to, double offset, double step, int32_t count,
               const std::function<void(const math::Vec3&)>& callback)
{
    if (count < 0 || count > 10000)
        return;
    const math::Vec3 dir = math::Normalize(from - to);
    math::Vec3 p = to + dir * offset;
    for (int32_t i = 0; i <= count; ++i)
    {
        callback(p);
        p = p + dir * step;
    }
}
} // namespace zorvpro::view
