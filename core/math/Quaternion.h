#pragma once

#include "core/math/Matrix4.h"

namespace zorvpro::math
{

struct Quaternion
{
    double w = 1.0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Unit quaternion of the rotation by roll about x, then pitch about y, then
// yaw about z (angles in radians).
Quaternion QuaternionFromEuler(double roll, double pitch, double yaw);

// Row-major rotation matrix of the quaternion normalised to unit length, with
// zero translation and last row (0, 0, 0, 1). A quaternion of zero length
// carries no rotation and gives the identity.
Mat4 QuaternionToMatrix(const Quaternion& q);

} // namespace zorvpro::math
