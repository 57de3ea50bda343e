#pragma once

#include "core/math/BBox.h"
#include "core/math/Matrix4.h"
#include "core/math/Quaternion.h"
#include "core/math/Vector3.h"

#include <array>

namespace zorvpro::view
{

// Camera-to-world matrix of a camera at `eye` looking at `target`: columns
// x, y, z (z pointing back from the target) and the eye. When `up` is
// parallel to the viewing direction another up vector is taken, so the
// matrix always stays a rotation.
math::Mat4 LookAtMatrix(const math::Vec3& eye, const math::Vec3& target, const math::Vec3& up);

// Unit quaternion (w, x, y, z) of the rotation part of a matrix.
math::Quaternion QuaternionFromMatrix(const math::Mat4& matrix);

math::Quaternion Conjugate(const math::Quaternion& q);

// v rotated by q: q (0, v) q^-1.
math::Vec3 Rotate(const math::Quaternion& q, const math::Vec3& v);

// Orthographic projection; the identity when a range is degenerate.
math::Mat4 Ortho(double left, double right, double bottom, double top, double nearPlane, double farPlane);

// The smallest rectangle in the plane z = 0, aligned with the longest edge
// of the box as projected after `transform`, that holds the projected box,
// grown by `margin`. Corners counter-clockwise; four zero points (logged)
// when every projected edge has zero length.
std::array<math::Vec3, 4> Compute2DUnalignedBoundingBox(const math::Mat4& transform, const math::BBox& box,
                                                        double margin);

} // namespace zorvpro::view
