#pragma once

#include "core/math/Intersections.h"
#include "core/math/Vector3.h"

namespace zorvpro::view
{

// True when the ray passes within `tolerance` of the segment. The point is
// the closest point on the segment and the distance is measured from the
// ray origin to it (not along the ray).
bool RayHitsSegment(const math::Vec3& origin, const math::Vec3& direction, const math::Vec3& start,
                    const math::Vec3& end, double tolerance, math::Vec3* point = nullptr,
                    double* distance = nullptr);

} // namespace zorvpro::view
