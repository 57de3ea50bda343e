#include "core/math/Intersections.h"

#include "core/math/Compare.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::math
{

namespace
{
constexpr double kMinHitDistance = 1e-6;

double Clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}
} // namespace

bool RayIntersectsTriangle(const Vec3& origin, const Vec3& direction, const Vec3& a, const Vec3& b,
                           const Vec3& c, Vec3* hitPoint, double* hitDistance)
{
    const Vec3 e1 = b - a;
    const Vec3 e2 = c - a;
    const Vec3 p = direction.Cross(e2);
    const double determinant = e1.Dot(p);
    // Ray parallel to the triangle's plane, or a degenerate triangle.
    if (IsZero(determinant))
        return false;

    const Vec3 s = origin - a;
    // Each test is written as "inside the range" so that NaN fails it.
    const double u = s.Dot(p) / determinant;
    if (!(u >= 0.0 && u <= 1.0))
        return false;

    const Vec3 q = s.Cross(e1);
    const double v = direction.Dot(q) / determinant;
    if (!(v >= 0.0 && u + v <= 1.0))
        return false;

    const double t = e2.Dot(q) / determinant;
    if (!(t >= kMinHitDistance))
    {
        if (hitPoint)
            *hitPoint = Vec3();
        if (hitDistance)
            *hitDistance = 0.0;
        return false;
    }
    if (hitPoint)
        *hitPoint = origin + direction * t;
    if (hitDistance)
        *hitDistance = t;
    return true;
}

double SegmentSegmentDistance(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1,
                              Vec3* closestOnP, Vec3* closestOnQ)
{
    const Vec3 d1 = p1 - p0;
    const Vec3 d2 = q1 - q0;
    const Vec3 r = p0 - q0;
    const double a = d1.Dot(d1);
    const double e = d2.Dot(d2);
    const double f = d2.Dot(r);

    // Parameters along each segment of the closest points.
    double s = 0.0;
    double t = 0.0;
    if (IsZero(a) && IsZero(e))
    {
        // Both segments are points.
    }
    else if (IsZero(a))
    {
        t = Clamp01(f / e);
    }
    else
    {
        const double c = d1.Dot(r);
        if (IsZero(e))
        {
            s = Clamp01(-c / a);
        }
        else
        {
            const double b = d1.Dot(d2);
            const double denominator = a * e - b * b;
            // Parallel segments: any s works, pick the start and fix t below.
            if (denominator > kZeroTolerance * a * e)
                s = Clamp01((b * f - c * e) / denominator);
            t = (b * s + f) / e;
            if (t < 0.0)
            {
                t = 0.0;
                s = Clamp01(-c / a);
            }
            else if (t > 1.0)
            {
                t = 1.0;
                s = Clamp01((b - c) / a);
            }
        }
    }

    const Vec3 onP = p0 + d1 * s;
    const Vec3 onQ = q0 + d2 * t;
    if (closestOnP)
        *closestOnP = onP;
    if (closestOnQ)
        *closestOnQ = onQ;
    const double distanceSquared = (onP - onQ).LengthSquared();
    if (IsZero(distanceSquared))
        return 0.0;
    return std::sqrt(distanceSquared);
}

} // namespace zorvpro::math
