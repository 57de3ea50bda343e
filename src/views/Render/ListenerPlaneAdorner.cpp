#include "views/Render/ListenerPlaneAdorner.h"

#include "core/math/Compare.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/Viewport.h"

#include <cmath>
#include <vector>

namespace zorvpro::view
{

namespace
{
constexpr double kAlongPlane = 0.001;
}

math::Vec3 PlaneNormal(const std::array<math::Vec3, 4>& points)
{
    std::vector<math::Vec3> distinct{points[0]};
    for (size_t i = 1; i < points.size() && distinct.size() < 3; ++i)
    {
        if (!math::IsEqual(points[i], distinct.back()))
            distinct.push_back(points[i]);
    }
    if (distinct.size() < 3 || math::IsEqual(distinct[0], distinct[2]))
        return {};
    return math::Normalize(math::Cross(distinct[0] - distinct[1], distinct[1] - distinct[2]));
}

ListenerPlaneAdorner::ListenerPlaneAdorner(Viewport* viewport, EntityPtr surface, double offsetDistance)
    : AdornerEntity(AdornerName("ListenerPlaneAdorner", surface), viewport, surface, offsetDistance)
{
}

bool ListenerPlaneAdorner::RebuildGeometry()
{
    m_start = m_end = math::Vec3();
    auto surface = std::dynamic_pointer_cast<QuadEntity>(AdornedEntity());
    if (!surface)
        return false;
    ClearGeometries();
    Viewport* viewport = GetViewport();
    if (viewport == nullptr)
        return true;

    std::array<math::Vec3, 4> corners;
    for (size_t i = 0; i < 4; ++i)
        corners[i] = math::TransformPoint(surface->getTransform(), surface->GetCorners()[i]);
    const math::Vec3 forward = viewport->GetCamera().Forward();
    const math::Vec3 normal = PlaneNormal(corners);
    if (!surface->IsListenerHeightEnabled() || !surface->isVisible() ||
        !(std::abs(math::Dot(normal, forward)) < kAlongPlane))
        return true;

    size_t left = 0;
    size_t right = 0;
    int leftX = viewport->WorldToScreen(corners[0]).x();
    int rightX = leftX;
    for (size_t i = 1; i < 4; ++i)
    {
        const int x = viewport->WorldToScreen(corners[i]).x();
        if (x < leftX)
            leftX = x, left = i;
        if (x >= rightX)
            rightX = x, right = i;
    }
    const math::Vec3 lift{0, 0, surface->GetListenerHeight()};
    m_start = corners[left] + lift;
    m_end = corners[right] + lift;

    // Towards the camera, then to one common depth so the dashes are not
    // cut by the surface's own slope.
    const math::Vec3 offset = forward * -OffsetDistance();
    const math::Mat4& screenToWorld = viewport->ScreenToWorldMatrix();
    math::Vec3 a = m_start + offset;
    math::Vec3 b = m_end + offset;
    try
    {
        const math::Mat4 worldToScreen = math::Inverse(screenToWorld);
        math::Vec3 sa = math::TransformPoint(worldToScreen, a);
        math::Vec3 sb = math::TransformPoint(worldToScreen, b);
        sa.z = sb.z = (sa.z + sb.z) / 2;
        a = math::TransformPoint(screenToWorld, sa);
        b = math::TransformPoint(screenToWorld, sb);
    }
    catch (const std::domain_error&)
    {
        // A degenerate projection: draw the line where it is.
    }
    const double pixel = 1.0 / PixelsPerMeter();
    auto line = std::make_shared<opengl::GeometryGL>();
    line->AddThickLine(a, b, m_color, pixel, -forward, {10 * pixel, 10 * pixel});
    AddGeometry(line);
    return true;
}

std::optional<math::BBox> ListenerPlaneAdorner::BoundingBox() const
{
    if (!AdornedEntity() || (math::IsEqual(m_start, {}) && math::IsEqual(m_end, {})))
        return std::nullopt;
    const math::Mat4 t = getTransform();
    return math::BBox(math::TransformPoint(t, m_start), math::TransformPoint(t, m_end));
}

} // namespace zorvpro::view
