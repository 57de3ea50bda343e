#pragma once

#include "core/math/Vector3.h"

namespace zorvpro::math
{

// Moller-Trumbore ray/triangle test. A hit needs a non-degenerate determinant,
// barycentrics inside the triangle (edges included) and a distance t >= 1e-6;
// it stores t and origin + t * direction in the outputs given. When only the
// distance test fails the given outputs are zeroed; other misses leave them.
bool RayIntersectsTriangle(const Vec3& origin, const Vec3& direction, const Vec3& a, const Vec3& b,
                           const Vec3& c, Vec3* hitPoint = nullptr, double* hitDistance = nullptr);

// Distance between the closest points of segments p0-p1 and q0-q1 (either may
// be a single point); 0 when its square is zero within tolerance. The closest
// points go to the outputs given.
double SegmentSegmentDistance(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1,
                              Vec3* closestOnP = nullptr, Vec3* closestOnQ = nullptr);

} // namespace zorvpro::math
