#include "views/Render/RayPicking.h"

#include <algorithm>

namespace zorvpro::view
{

bool RayHitsSegment(const math::Vec3& origin, const math::Vec3& direction, const math::Vec3& start,
                    const math::Vec3& end, double tolerance, math::Vec3* point, double* distance)
{
    // The ray as a segment that reaches well past the tested one.
    const double reach = 10.0 * std::max(math::Length(origin - start), math::Length(origin - end));
    math::Vec3 closest;
    const double gap = math::SegmentSegmentDistance(start, end, origin, origin + direction * reach, &closest);
    if (!(gap <= tolerance))
        return false;
    if (point != nullptr)
        *point = closest;
    if (distance != nullptr)
        *distance = math::Length(origin - closest);
    return true;
}

} // namespace zorvpro::view
