#include "data/Nodes/ReorientTransform.h"

#include "core/math/Quaternion.h"

namespace zorvpro::math
{

namespace
{
Quaternion Product(const Quaternion& a, const Quaternion& b)
{
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}
} // namespace

void ReorientTransform(double from[3], const double to[3], Mat4& transform)
{
    const Quaternion before = QuaternionFromEuler(from[0], from[1], from[2]);
    const Quaternion after = QuaternionFromEuler(to[0], to[1], to[2]);
    // The inverse of a unit quaternion is its conjugate.
    const Quaternion undo{before.w, -before.x, -before.y, -before.z};
    transform = transform * QuaternionToMatrix(Product(undo, after));
    for (int i = 0; i < 3; ++i)
        from[i] = to[i];
}

} // namespace zorvpro::math
