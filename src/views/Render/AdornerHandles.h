#pragma once

#include "core/math/Ray.h"
#include "core/math/Vector3.h"

#include <QColor>
#include <cstdint>
#include <optional>
#include <vector>

namespace zorvpro::opengl
{
class GeometryGL;
}

namespace zorvpro::view
{

// The hit area of one adorner handle.
struct PickSphere
{
    math::Vec3 centre;
    double radius = 0.0;
    uint32_t part = 0;
};

// A handle facing the camera at centre + offset: a disc of radius r, a ring
// 1.5 times as large around it when highlighted, and (for a part code other
// than 0) a pick sphere of `pickScale` x r appended to `spheres`.
void BuildHandleGeometry(opengl::GeometryGL& geometry, const math::Vec3& centre, const math::Vec3& offset,
                         double radius, const QColor& color, uint32_t part, bool highlighted,
                         double pickScale, std::vector<PickSphere>& spheres);

// The first sphere the ray meets, in the order given (not the nearest), with
// the distance along the ray (0 from inside).
struct SphereHit
{
    const PickSphere* sphere = nullptr;
    double distance = 0.0;
};
std::optional<SphereHit> PickFirstSphere(const std::vector<PickSphere>& spheres, const math::Ray& ray);

} // namespace zorvpro::view
