#include "core/math/Compare.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::math
{

bool AlmostEqual(double a, double b, int n)
{
    // Identical values (infinities included) are equal without arithmetic.
    if (a == b)
        return true;
    // The relative test would call an infinity equal to anything.
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    const double bound = n * DBL_EPSILON;
    const double largest = std::max(std::fabs(a), std::fabs(b));
    if (largest < bound)
        return true;
    return std::fabs(a - b) <= bound * largest;
}

bool IsEqual(const Vec3& a, const Vec3& b)
{
    return AlmostEqual(a.x, b.x) && AlmostEqual(a.y, b.y) && AlmostEqual(a.z, b.z);
}

double InterpolateClamped(double x0, double y0, double x1, double y1, double x)
{
    if (x < x0)
        return y0;
    if (x > x1)
        return y1;
    if (AlmostEqual(x0, x1))
        return (y0 + y1) / 2.0;
    return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

} // namespace zorvpro::math
