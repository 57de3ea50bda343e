#include "views/Render/BeamSpeakerAdornerEntity.h"

#include "core/math/Compare.h"
#include "core/math/Intersections.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/RayPicking.h"

#include <cmath>

namespace zorvpro::view
{

namespace
{
constexpr double kSteeringReach = 1000.0;
constexpr double kSteeringMiss = 1.0;
constexpr double kSpiralWidth = 0.5;

bool IsSet(const math::Vec3& p)
{
    return !math::IsEqual(p, math::Vec3());
}

void Dashed(opengl::GeometryGL& geometry, math::Vec3 a, math::Vec3 b, const QColor& color, double width,
            const math::Vec3& normal, const math::BBox& box)
{
    if (ClipSegmentToBox(a, b, box))
        geometry.AddThickLine(a, b, color, width, normal, {4 * width, 2 * width});
}
} // namespace

bool BeamSpeakerAdornerEntity::IsHighlighted(uint32_t item, uint32_t identifier)
{
    switch (item)
    {
    case 46: // top/rear distance and angle of beam 1
    case 47:
        return identifier == 1;
    case 48: // bottom/front of beam 1
    case 49:
        return identifier == 2;
    case 57: // top/rear of beam 2
    case 58:
        return identifier == 3;
    case 59: // bottom/front of beam 2
    case 60:
        return identifier == 4;
    default:
        return false;
    }
}

BeamSpeakerAdornerEntity::BeamSpeakerAdornerEntity(Viewport* viewport, EntityPtr speaker,
                                                   double offsetDistance, bool beamMode, bool secondFlag)
    : SpeakerAdornerEntity(viewport, std::move(speaker), offsetDistance, beamMode, secondFlag)
{
}

void BeamSpeakerAdornerEntity::SetColor(const QColor& color)
{
    m_spiralColor = color;
    MarkDirty();
}

void BeamSpeakerAdornerEntity::SetOtherBeamColor(const QColor& color)
{
    m_otherBeamColor = color;
    MarkDirty();
}

void BeamSpeakerAdornerEntity::SetHighlightedItem(uint32_t item)
{
    m_highlightedItem = item;
    MarkDirty();
}

math::Vec3 BeamSpeakerAdornerEntity::TopRearHandle(int beam) const
{
    return beam == 0 || beam == 1 ? m_topRear[size_t(beam)] : math::Vec3();
}

math::Vec3 BeamSpeakerAdornerEntity::BottomFrontHandle(int beam) const
{
    return beam == 0 || beam == 1 ? m_bottomFront[size_t(beam)] : math::Vec3();
}

math::Vec3 BeamSpeakerAdornerEntity::CentrePoint(int beam) const
{
    return beam == 0 || beam == 1 ? m_centre[size_t(beam)] : math::Vec3();
}

bool BeamSpeakerAdornerEntity::RebuildGeometry()
{
    if (!SpeakerAdornerEntity::RebuildGeometry())
        return false;
    m_spheres.clear();
    // Every point is found again: one kept from an earlier rebuild would sit
    // where the array was before it moved.
    m_topRear = m_bottomFront = m_centre = {};
    if (!BeamMode())
        return true;
    auto speaker = std::dynamic_pointer_cast<BeamSpeakerEntity>(AdornedEntity());
    if (!speaker)
        return false;

    const math::BBox& b = speaker->LocalBox();
    const double cx = (b.min.x + b.max.x) / 2;
    const double cy = (b.min.y + b.max.y) / 2;
    const double cz = (b.min.z + b.max.z) / 2;
    const math::Mat4 transform = speaker->getTransform();
    const math::Vec3 offset = OffsetVector();
    auto mapped = [&](const math::Vec3& p, const math::Vec3& off)
    { return math::TransformPoint(transform, p) + off; };
    m_topAnchor = mapped({cx, cy, b.max.z}, offset);
    m_centreAnchor = mapped({cx, cy, cz}, offset);
    m_bottomAnchor = mapped({cx, cy, b.min.z}, offset);

    auto geometry = std::make_shared<opengl::GeometryGL>();
    const double ppm = PixelsPerMeter();
    const math::BBox& visible = VisibleBox();
    const int beams = std::min(speaker->NumBeams(), 2);
    for (int i = 0; ppm != 0.0 && i < beams; ++i)
    {
        const Beam& beam = speaker->beam(i);
        const size_t k = size_t(i);
        const bool selected = i == speaker->SelectedBeam();
        const double w = (selected ? 2.5 : 2.0) / ppm;
        const double h = w / 2;
        const math::Vec3 beamOffset = selected ? offset * 1.1 : offset;
        const QColor color = selected ? Color() : m_otherBeamColor;
        auto beamMapped = [&](const math::Vec3& p) { return mapped(p, beamOffset); };

        if (beam.topRearDistance() > 0)
        {
            const float t = float(beam.topRearAngle());
            const double d = beam.topRearDistance();
            m_topRear[k] = beamMapped({cx + d * std::cos(t), 0, b.max.z + d * std::sin(t)});
            Dashed(*geometry, beamMapped({cx, cy, b.max.z}), m_topRear[k], color, h, beamOffset, visible);
        }
        if (beam.bottomFrontDistance() > 0)
        {
            const float t = float(beam.bottomFrontAngle());
            const double d = beam.bottomFrontDistance();
            m_bottomFront[k] = beamMapped({cx + d * std::cos(t), 0, b.min.z + d * std::sin(t)});
            Dashed(*geometry, beamMapped({cx, cy, b.min.z}), m_bottomFront[k], color, h, beamOffset, visible);
        }
        const bool both = IsSet(m_topRear[k]) && IsSet(m_bottomFront[k]);
        if (beam.automatic() && both)
            Dashed(*geometry, m_topRear[k], m_bottomFront[k], color, h, beamOffset, visible);
        if ((beam.algorithm() == Beam::SymmetricSpread || beam.algorithm() == Beam::Asymmetric) && both)
        {
            const double s = beam.steering();
            const math::Vec3 far =
                beamMapped({cx + kSteeringReach * std::cos(s), 0, cz + kSteeringReach * std::sin(s)});
            const math::Vec3 centre = beamMapped({cx, cy, cz});
            math::Vec3 closest;
            if (math::SegmentSegmentDistance(centre, far, m_topRear[k], m_bottomFront[k], &closest) <
                kSteeringMiss)
            {
                m_centre[k] = closest;
                Dashed(*geometry, centre, closest, color, w, beamOffset, visible);
            }
        }
        if (beam.algorithm() == Beam::AsymmetricSpiral && selected)
        {
            const auto& area = beam.BottomBoundingArea();
            std::array<math::Vec3, 5> q;
            for (size_t j = 0; j < 5; ++j)
                q[j] = beamMapped({cx + area[j].x, cy, b.min.z + area[j].y});
            for (size_t j = 0; j < 5; ++j)
            {
                if (!math::IsEqual(q[j], q[(j + 1) % 5]))
                    geometry->AddLine(q[j], q[(j + 1) % 5], m_spiralColor, kSpiralWidth, beamOffset);
            }
        }
        if (selected && !speaker->isLocked())
        {
            const double r = HandlePixels(ppm, 6);
            const uint32_t part = HitPart::Beam1TopRear + 2 * uint32_t(i);
            const uint32_t id = 1 + 2 * uint32_t(i);
            if (IsSet(m_topRear[k]))
                BuildHandleGeometry(*geometry, m_topRear[k], beamOffset, r, color, part,
                                    IsHighlighted(m_highlightedItem, id), 1.2, m_spheres);
            if (IsSet(m_bottomFront[k]))
                BuildHandleGeometry(*geometry, m_bottomFront[k], beamOffset, r, color, part + 1,
                                    IsHighlighted(m_highlightedItem, id + 1), 1.2, m_spheres);
        }
    }
    if (geometry->VertexCount() > 0)
        AddGeometry(geometry);
    return true;
}

HitPointPtr BeamSpeakerAdornerEntity::Pick(const math::Ray& ray, const EntityPtr& self,
                                           double pixelsPerMeter) const
{
    if (auto hit = PickBox(ray))
        return hit;
    auto speaker = std::dynamic_pointer_cast<BeamSpeakerEntity>(AdornedEntity());
    if (!BeamMode() || !speaker || !speaker->isVisible())
        return {};
    const GeometryPtr first = GetGeometries().empty() ? GeometryPtr() : GetGeometries().front();
    if (auto hit = PickFirstSphere(m_spheres, ray))
        return std::make_shared<HitPoint>(self, first, ray, hit->distance, hit->sphere->part);

    const double tolerance = pixelsPerMeter == 0.0 ? 0.125 : 5.0 / pixelsPerMeter;
    const int beams = std::min(speaker->NumBeams(), 2);
    // The selected beam is tried last, so where both outlines pass the other one wins.
    std::vector<int> order;
    for (int i = 0; i < beams; ++i)
        order.push_back(i);
    if (speaker->SelectedBeam() == 0)
        std::reverse(order.begin(), order.end());
    for (int i : order)
    {
        const size_t k = size_t(i);
        const uint32_t part = i == 0 ? HitPart::Beam1Outline : HitPart::Beam2Outline;
        double distance = 0.0;
        auto near = [&](const math::Vec3& a, const math::Vec3& b)
        { return RayHitsSegment(ray.origin, ray.direction, a, b, tolerance, nullptr, &distance); };
        bool hit = (IsSet(m_topRear[k]) && near(m_topAnchor, m_topRear[k])) ||
                   (IsSet(m_bottomFront[k]) && near(m_bottomAnchor, m_bottomFront[k])) ||
                   (IsSet(m_centre[k]) && near(m_centreAnchor, m_centre[k]));
        if (!hit && speaker->beam(i).automatic() && IsSet(m_topRear[k]) && IsSet(m_bottomFront[k]))
            hit = near(m_topRear[k], m_bottomFront[k]);
        if (hit)
            return std::make_shared<HitPoint>(self, first, ray, distance, part);
    }
    return {};
}

} // namespace zorvpro::view
