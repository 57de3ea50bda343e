#include "views/Adapters/Model/ViewMath.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zorvpro
{
namespace
{
constexpr double kTolerance = 25.0 * DBL_EPSILON;
constexpr double kNearestScale = 500.0;
constexpr double kFarthestScale = 0.2;

double LogNearest()
{
    static const double value = std::log(kNearestScale);
    return value;
}

double LogFarthest()
{
    static const double value = std::log(kFarthestScale);
    return value;
}
} // namespace

bool NearlyEqual(double a, double b)
{
    const double larger = std::max(std::fabs(a), std::fabs(b));
    return larger < kTolerance || std::fabs(a - b) <= larger * kTolerance;
}

bool NearlyZero(const math::Vec3& v)
{
    return NearlyEqual(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 0.0);
}

bool IsPointBox(const math::BBox& box)
{
    return NearlyEqual(box.min.x, box.max.x) && NearlyEqual(box.min.y, box.max.y) &&
           NearlyEqual(box.min.z, box.max.z);
}

double ZoomLevelToScale(double level)
{
    if (!(level >= 1.0 && level <= 100.0))
        return 50.0;
    const double t = (100.0 - level) / 99.0;
    return std::exp((1.0 - t) * LogNearest() + t * LogFarthest());
}

double ScaleToZoomLevel(double scale)
{
    if (!(scale > 0.0))
        return 1.0;
    const double t = std::clamp((std::log(scale) - LogNearest()) / (LogFarthest() - LogNearest()), 0.0, 1.0);
    return 100.0 - 99.0 * t;
}
} // namespace zorvpro
