#include "views/Render/SpeakerAdornerEntity.h"

#include "core/math/Intersections.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Render/CameraMath.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/SpeakerEntity.h"
#include "views/Render/Viewport.h"

#include <cmath>
#include <stdexcept>

namespace zorvpro::view
{

namespace
{
constexpr double kThrowLength = 30.0;
constexpr double kCoverageAngle = 0.8726646259971648; // 50 degrees from the front axis

math::Quaternion Normalised(math::Quaternion q)
{
    const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (n > 0.0)
        q = {q.w / n, q.x / n, q.y / n, q.z / n};
    return q;
}

void DashedLine(opengl::GeometryGL& geometry, math::Vec3 a, math::Vec3 b, const QColor& color, double width,
                const math::Vec3& normal, const math::BBox& box)
{
    if (ClipSegmentToBox(a, b, box))
        geometry.AddThickLine(a, b, color, width, normal, {4 * width, 2 * width});
}
} // namespace

bool ClipSegmentToBox(math::Vec3& a, math::Vec3& b, const math::BBox& box)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const math::Vec3 d = b - a;
    for (int k = 0; k < 3; ++k)
    {
        if (d[k] == 0.0)
        {
            if (a[k] < box.min[k] || a[k] > box.max[k])
                return false;
            continue;
        }
        double enter = (box.min[k] - a[k]) / d[k];
        double leave = (box.max[k] - a[k]) / d[k];
        if (enter > leave)
            std::swap(enter, leave);
        t0 = std::max(t0, enter);
        t1 = std::min(t1, leave);
        if (t0 > t1)
            return false;
    }
    const math::Vec3 start = a;
    a = start + d * t0;
    b = start + d * t1;
    return true;
}

void DrawThrowLines(opengl::GeometryGL& geometry, const SpeakerEntity& speaker, const QColor& color,
                    const math::Vec3& offset, const math::BBox& visibleBox, double width, double margin)
{
    const math::BBox& b = speaker.LocalBox();
    const double zc = (b.min.z + b.max.z) / 2;
    const math::Mat4 transform = speaker.getTransform();
    auto mapped = [&](const math::Vec3& p) { return math::TransformPoint(transform, p) + offset; };
    const math::Vec3 a = mapped({b.max.x + margin, b.max.y + margin, zc});
    const math::Vec3 c = mapped({b.max.x + margin, b.min.y - margin, zc});
    const math::Vec3 m = (a + c) * 0.5;
    DashedLine(geometry, m, mapped({kThrowLength, 0, 0}), color, width, offset, visibleBox);
    const double s = std::sin(kCoverageAngle) * kThrowLength;
    const double co = std::cos(kCoverageAngle) * kThrowLength;
    DashedLine(geometry, a, mapped({s, co, zc}), color, width / 2, offset, visibleBox);
    DashedLine(geometry, c, mapped({s, -co, zc}), color, width / 2, offset, visibleBox);
}

HitPointPtr PickSpeakerQuad(const EntityPtr& speaker, const std::vector<GeometryPtr>& geometries,
                            const std::array<math::Vec3, 4>& c, const math::Ray& ray)
{
    if (!speaker)
        return {};
    double distance = 0.0;
    if (!math::RayIntersectsTriangle(ray.origin, ray.direction, c[0], c[1], c[2], nullptr, &distance) &&
        !math::RayIntersectsTriangle(ray.origin, ray.direction, c[2], c[3], c[0], nullptr, &distance))
        return {};
    auto hit = std::make_shared<HitPoint>(speaker, geometries.empty() ? GeometryPtr() : geometries.front(),
                                          ray, distance, HitPart::Body);
    // Found in world coordinates: keep the world point, give the local one in the loudspeaker's frame.
    hit->worldPoint = ray.origin + ray.direction * distance;
    if (const math::Mat4* inverse = speaker->GetInverseTransform())
        hit->localPoint = math::TransformPoint(*inverse, hit->worldPoint);
    return hit;
}

SpeakerAdornerEntity::SpeakerAdornerEntity(Viewport* viewport, EntityPtr speaker, double offsetDistance,
                                           bool beamMode, bool secondFlag)
    : AdornerEntity(AdornerName("SpeakerAdornerEntity", speaker), viewport, speaker, offsetDistance),
      m_beamMode(beamMode), m_secondFlag(secondFlag)
{
}

void SpeakerAdornerEntity::SetColor(const QColor& color)
{
    m_color = color;
    MarkDirty();
}

bool SpeakerAdornerEntity::RebuildGeometry()
{
    auto speaker = std::dynamic_pointer_cast<SpeakerEntity>(AdornedEntity());
    if (!speaker)
        return false;
    auto geometry = std::make_shared<opengl::GeometryGL>();
    ClearGeometries();
    AddGeometry(geometry);
    const double ppm = PixelsPerMeter();
    Viewport* viewport = GetViewport();
    if (ppm == 0.0 || viewport == nullptr)
        return false;
    const double pixel = 1.0 / ppm;
    const math::Vec3 offset = OffsetVector();

    // The frame is computed in the camera's frame so it stays square to the screen.
    const math::Mat4 r = math::QuaternionToMatrix(Normalised(viewport->GetCamera().GetOrientation()));
    math::Mat4 toCamera;
    try
    {
        toCamera = math::Inverse(r) * speaker->getTransform();
    }
    catch (const std::domain_error&)
    {
        // A camera without an orientation: nothing sensible to frame; try again next frame.
        return false;
    }
    const auto box = Compute2DUnalignedBoundingBox(toCamera, speaker->LocalBox(), 10 * pixel);
    // Set at the depth of the loudspeaker's front face (nearest the camera),
    // so surfaces between the loudspeaker and the camera's plane do not hide it.
    double front = -HUGE_VAL;
    const math::BBox& local = speaker->LocalBox();
    for (int i = 0; i < 8; ++i)
    {
        const math::Vec3 corner{i & 1 ? local.max.x : local.min.x, i & 2 ? local.max.y : local.min.y,
                                i & 4 ? local.max.z : local.min.z};
        front = std::max(front, math::TransformPoint(toCamera, corner).z);
    }
    for (size_t i = 0; i < 4; ++i)
        m_corners[i] = math::TransformPoint(r, {box[i].x, box[i].y, front}) + offset;
    for (size_t i = 0; i < 4; ++i)
        geometry->AddLine(m_corners[i], m_corners[(i + 1) % 4], m_color, 2 * pixel, offset);

    if (!m_beamMode)
        DrawThrowLines(*geometry, *speaker, m_color, offset, VisibleBox(), 2 * pixel, 3 * pixel);
    FollowVisibility(speaker->isVisible());
    return true;
}

HitPointPtr SpeakerAdornerEntity::PickBox(const math::Ray& ray) const
{
    return PickSpeakerQuad(AdornedEntity(), GetGeometries(), m_corners, ray);
}

HitPointPtr SpeakerAdornerEntity::Pick(const math::Ray& ray, const EntityPtr&, double) const
{
    return PickBox(ray);
}

SpeakerLinesAdornerEntity::SpeakerLinesAdornerEntity(Viewport* viewport, EntityPtr speaker,
                                                     double offsetDistance, bool beamMode, bool secondFlag)
    : AdornerEntity(AdornerName("SpeakerLinesAdornerEntity", speaker), viewport, speaker, offsetDistance),
      m_beamMode(beamMode), m_secondFlag(secondFlag)
{
}

void SpeakerLinesAdornerEntity::SetColor(const QColor& color)
{
    m_color = color;
    MarkDirty();
}

bool SpeakerLinesAdornerEntity::RebuildGeometry()
{
    auto speaker = std::dynamic_pointer_cast<SpeakerEntity>(AdornedEntity());
    if (!speaker)
        return false;
    auto geometry = std::make_shared<opengl::GeometryGL>();
    ClearGeometries();
    AddGeometry(geometry);
    const double ppm = PixelsPerMeter();
    if (ppm == 0.0)
        return false;
    const double m = 3.0 / ppm;
    const double w = 1.5 / ppm;
    const math::BBox& b = speaker->LocalBox();
    const math::Vec3 offset = OffsetVector();
    const math::Mat4 transform = speaker->getTransform();
    const std::array<math::Vec3, 4> local{math::Vec3{b.min.x - m, b.max.y + m, 0},
                                          {b.max.x + m, b.max.y + m, 0},
                                          {b.max.x + m, b.min.y - m, 0},
                                          {b.min.x - m, b.min.y - m, 0}};
    for (size_t i = 0; i < 4; ++i)
        m_corners[i] = math::TransformPoint(transform, local[i]) + offset;
    if (!m_beamMode)
        DrawThrowLines(*geometry, *speaker, m_color, offset, VisibleBox(), w, m);
    const ProjectSettings* settings = ProjectDefinition::Instance()->GetSettings();
    FollowVisibility(speaker->isVisible() && settings != nullptr && settings->getThrowLines());
    return true;
}

HitPointPtr SpeakerLinesAdornerEntity::Pick(const math::Ray& ray, const EntityPtr&, double) const
{
    return PickSpeakerQuad(AdornedEntity(), GetGeometries(), m_corners, ray);
}

} // namespace zorvpro::view
