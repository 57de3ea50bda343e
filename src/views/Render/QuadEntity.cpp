#include "views/Render/QuadEntity.h"

#include "core/Nodes/QuadNode.h"
#include "core/math/Intersections.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/RayPicking.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zorvpro::view
{

QuadEntity::QuadEntity(const std::string& name, const math::Vec3& p1, const math::Vec3& p2,
                       const math::Vec3& p3, const math::Vec3& p4, const QColor& color)
    : Entity(name), m_corners{p1, p2, p3, p4}, m_color(color)
{
}

QuadEntityPtr QuadEntity::CreateFromNode(const QuadNode& node)
{
    auto entity = std::make_shared<QuadEntity>(node.GetName(), node.GetP1(), node.GetP2(), node.GetP3(),
                                               node.GetP4(), node.GetColor());
    entity->SyncFromNode(node);
    return entity;
}

void QuadEntity::SyncFromNode(const QuadNode& node)
{
    setName(node.GetName());
    SetCorners(node.GetP1(), node.GetP2(), node.GetP3(), node.GetP4());
    SetColor(node.GetColor());
    setTransform(node.GetTransform());
    setVisible(node.GetVisible());
    setTransparent(node.GetTransparent());
    setLocked(node.GetLocked());
    m_rotation = node.GetRotationZ();
    m_listenerHeight = node.GetListenerHeight();
    m_listenerHeightEnabled = node.GetListenerHeightEnabled();
}

void QuadEntity::SetCorners(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3,
                            const math::Vec3& p4)
{
    const std::array<math::Vec3, 4> corners{p1, p2, p3, p4};
    if (corners == m_corners)
        return;
    m_corners = corners;
    MarkDirty();
}

void QuadEntity::SetColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    MarkDirty();
}

void QuadEntity::SetTransparency(double alpha)
{
    if (alpha == m_transparency)
        return;
    m_transparency = alpha;
    MarkDirty();
}

HitPointPtr QuadEntity::Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const
{
    const math::Mat4* inverse = GetInverseTransform();
    // Never rebuilt, or squashed flat by a singular transform: nothing to hit.
    if (GetGeometries().empty() || inverse == nullptr)
        return {};
    const math::Ray local = ray.Transform(*inverse);
    const double tolerance =
        pixelsPerMeter == 0.0 ? kZeroZoomTolerance : kEdgeTolerancePixels / pixelsPerMeter;
    if (!RayNearBox(local, tolerance))
        return {};

    const auto& c = m_corners;
    double distance = 0.0;
    bool hit =
        math::RayIntersectsTriangle(local.origin, local.direction, c[0], c[1], c[2], nullptr, &distance) ||
        math::RayIntersectsTriangle(local.origin, local.direction, c[2], c[3], c[0], nullptr, &distance);
    for (int i = 0; i < 4 && !hit; ++i)
        hit = RayHitsSegment(local.origin, local.direction, c[i], c[(i + 1) % 4], tolerance, nullptr,
                             &distance);
    if (!hit)
        return {};
    auto result = std::make_shared<HitPoint>(self, GetGeometries().front(), local, distance, HitPart::Body);
    // Callers compare hits of different entities: report the distance in world units.
    if (self)
        result->distance = math::Length(result->worldPoint - ray.origin);
    return result;
}

bool QuadEntity::RayNearBox(const math::Ray& local, double margin) const
{
    // Slab test against the corners' box grown by the margin: a ray that
    // misses it can neither cross the fill nor pass within the margin of an edge.
    double enter = -HUGE_VAL;
    double leave = HUGE_VAL;
    for (int k = 0; k < 3; ++k)
    {
        double lo = m_corners[0][k], hi = lo;
        for (int i = 1; i < 4; ++i)
        {
            lo = std::min(lo, m_corners[i][k]);
            hi = std::max(hi, m_corners[i][k]);
        }
        lo -= std::max(margin, 0.0) + 1e-9;
        hi += std::max(margin, 0.0) + 1e-9;
        const double o = local.origin[k];
        const double d = local.direction[k];
        if (d == 0.0)
        {
            if (o < lo || o > hi)
                return false;
            continue;
        }
        double t0 = (lo - o) / d;
        double t1 = (hi - o) / d;
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter <= leave && leave >= 0.0;
}

std::optional<math::BBox> QuadEntity::BoundingBox() const
{
    // Built from the corners directly: a box grown from an all-zero start
    // would take a corner at the origin for "empty" and lose it.
    const math::Mat4 transform = getTransform();
    math::BBox box;
    box.min = box.max = math::TransformPoint(transform, m_corners[0]);
    for (int i = 1; i < 4; ++i)
    {
        const math::Vec3 p = math::TransformPoint(transform, m_corners[i]);
        for (int k = 0; k < 3; ++k)
        {
            box.min[k] = std::min(box.min[k], p[k]);
            box.max[k] = std::max(box.max[k], p[k]);
        }
    }
    return box;
}

void QuadEntity::SelectionChanged()
{
    MarkDirty();
}

bool QuadEntity::RebuildGeometry()
{
    ClearGeometries();
    QColor fill(128, 128, 128, 255);
    fill.setAlphaF(isTransparent() ? std::clamp(m_transparency, 0.0, 1.0) : 1.0);
    const auto& c = m_corners;

    auto surface = std::make_shared<opengl::GeometryGL>();
    surface->AddQuad(c[0], c[1], c[2], c[3], fill, true);
    surface->SetTransparent(isTransparent());
    AddGeometry(surface);

    auto outline = std::make_shared<opengl::GeometryGL>();
    for (int i = 0; i < 4; ++i)
        outline->AddLine(c[i], c[(i + 1) % 4], m_color, kOutlineWidth, math::Vec3());
    AddGeometry(outline);
    return true;
}

} // namespace zorvpro::view
