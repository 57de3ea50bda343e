#include "core/math/Ray.h"

namespace zorvpro::math
{

Ray::Ray(const Vec3& origin_, const Vec3& direction_) : origin(origin_), direction(Normalize(direction_)) {}

Ray Ray::Transform(const Mat4& matrix) const
{
    const Vec3 mappedOrigin = TransformPoint(matrix, origin);
    const Vec3 mappedDirection = TransformPoint(matrix, direction) - TransformPoint(matrix, Vec3());
    return Ray(mappedOrigin, mappedDirection);
}

} // namespace zorvpro::math
