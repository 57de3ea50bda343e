#include "views/Render/AdornerHandles.h"

#include "views/Render/GeometryGL.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::view
{

namespace
{
constexpr int kHandleSegments = 16;
}

void BuildHandleGeometry(opengl::GeometryGL& geometry, const math::Vec3& centre, const math::Vec3& offset,
                         double radius, const QColor& color, uint32_t part, bool highlighted,
                         double pickScale, std::vector<PickSphere>& spheres)
{
    const math::Vec3 point = centre + offset;
    // Two axes across the view direction, so the disc faces the camera.
    const math::Vec3 n = math::Normalize(offset);
    math::Vec3 w{n.x * n.y - n.z * n.z, n.y * n.z - n.x * n.x, n.z * n.x - n.y * n.y};
    // That formula vanishes for a view along a space diagonal.
    if (math::Length(w) < 1e-9)
        w = math::Cross(n, std::abs(n.x) < 0.9 ? math::Vec3{1, 0, 0} : math::Vec3{0, 1, 0});
    const math::Vec3 u = math::Normalize(w);
    const math::Vec3 v = math::Cross(u, n);
    geometry.AddDisc(point, v * radius, u * radius, color, kHandleSegments);
    if (highlighted)
        geometry.AddRing(point, v * (1.5 * radius), u * (1.5 * radius), 0.2 * radius, color, kHandleSegments);
    if (part != 0)
        spheres.push_back({point, pickScale * radius, part});
}

std::optional<SphereHit> PickFirstSphere(const std::vector<PickSphere>& spheres, const math::Ray& ray)
{
    for (const PickSphere& sphere : spheres)
    {
        const math::Vec3 o = ray.origin - sphere.centre;
        const double b = math::Dot(ray.direction, o);
        const double c = math::Dot(o, o) - sphere.radius * sphere.radius;
        // Outside and moving away, or passing by.
        if ((c > 0.0 && b > 0.0) || b * b - c < 0.0)
            continue;
        return SphereHit{&sphere, std::max(0.0, -b - std::sqrt(b * b - c))};
    }
    return std::nullopt;
}

} // namespace zorvpro::view
