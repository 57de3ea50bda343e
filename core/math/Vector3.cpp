#include "core/math/Vector3.h"

#include "core/math/Compare.h"

namespace zorvpro::math
{

Vec3 Normalize(const Vec3& v)
{
    const double lengthSquared = v.LengthSquared();
    if (IsZero(lengthSquared))
        return Vec3();
    return v / std::sqrt(lengthSquared);
}

} // namespace zorvpro::math
