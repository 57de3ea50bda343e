#pragma once

// Meta-types of the value types that scene objects carry in Qt properties
// and signals. Include this header rather than declaring them again.

#include "core/math/BBox.h"
#include "core/math/Matrix4.h"

#include <QMetaType>
#include <string>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(zorvpro::math::Mat4)
Q_DECLARE_METATYPE(zorvpro::math::BBox)
Q_DECLARE_METATYPE(zorvpro::math::Vec3)

namespace zorvpro::view
{
// Registers the types above for queued connections; safe to call repeatedly.
void RegisterRenderMetaTypes();
} // namespace zorvpro::view
