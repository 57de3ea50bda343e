#include "core/math/Quaternion.h"

#include "core/math/Compare.h"

#include <cmath>

namespace zorvpro::math
{

Quaternion QuaternionFromEuler(double roll, double pitch, double yaw)
{
    const double cr = std::cos(roll / 2.0);
    const double sr = std::sin(roll / 2.0);
    const double cp = std::cos(pitch / 2.0);
    const double sp = std::sin(pitch / 2.0);
    const double cy = std::cos(yaw / 2.0);
    const double sy = std::sin(yaw / 2.0);

    Quaternion q;
    q.w = cr * cp * cy + sr * sp * sy;
    q.x = sr * cp * cy - cr * sp * sy;
    q.y = cr * sp * cy + sr * cp * sy;
    q.z = cr * cp * sy - sr * sp * cy;
    return q;
}

Mat4 QuaternionToMatrix(const Quaternion& q)
{
    const double normSquared = q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z;
    if (IsZero(normSquared))
        return Mat4();
    const double norm = std::sqrt(normSquared);
    const double w = q.w / norm;
    const double x = q.x / norm;
    const double y = q.y / norm;
    const double z = q.z / norm;

    Mat4 r;
    r.m[0] = 1.0 - 2.0 * (y * y + z * z);
    r.m[1] = 2.0 * (x * y - w * z);
    r.m[2] = 2.0 * (x * z + w * y);
    r.m[4] = 2.0 * (x * y + w * z);
    r.m[5] = 1.0 - 2.0 * (x * x + z * z);
    r.m[6] = 2.0 * (y * z - w * x);
    r.m[8] = 2.0 * (x * z - w * y);
    r.m[9] = 2.0 * (y * z + w * x);
    r.m[10] = 1.0 - 2.0 * (x * x + y * y);
    return r;
}

} // namespace zorvpro::math
