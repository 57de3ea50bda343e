#pragma once

#include "core/math/Matrix4.h"

namespace zorvpro::math
{

// Applies to the transform the rotation that takes the angles `from` (first,
// second, third: about x, y, z) to the angles `to`, in the transform's own
// frame, and writes the new angles back into `from`.
void ReorientTransform(double from[3], const double to[3], Mat4& transform);

} // namespace zorvpro::math
