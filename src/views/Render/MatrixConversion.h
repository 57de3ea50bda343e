#pragma once

#include "core/math/Matrix4.h"

#include <QMatrix4x4>

namespace zorvpro::opengl
{

// The same mapping as a QMatrix4x4. Both act on column vectors, but
// QMatrix4x4 stores its data column-major, so never copy Mat4's array into
// it directly: always convert here.
QMatrix4x4 ToQMatrix(const math::Mat4& matrix);

} // namespace zorvpro::opengl
