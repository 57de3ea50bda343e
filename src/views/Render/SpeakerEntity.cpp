#include "views/Render/SpeakerEntity.h"

#include "Utility/ApiChecker.h"
#include "core/math/Compare.h"
#include "core/math/Intersections.h"
#include "data/Nodes/ReorientTransform.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::view
{

namespace
{
constexpr double kPickMarginPixels = 3.0;

std::array<math::Vec3, 8> BoxCorners(const math::BBox& b)
{
    return {math::Vec3{b.min.x, b.min.y, b.min.z}, {b.max.x, b.min.y, b.min.z}, {b.max.x, b.max.y, b.min.z},
            {b.min.x, b.max.y, b.min.z},           {b.min.x, b.min.y, b.max.z}, {b.max.x, b.min.y, b.max.z},
            {b.max.x, b.max.y, b.max.z},           {b.min.x, b.max.y, b.max.z}};
}
} // namespace

SpeakerEntity::SpeakerEntity(const std::string& name, const math::Vec3& centre, double rotation, double pitch,
                             uint32_t faceCount, const CornerFunction& corner)
    : Entity(name)
{
    m_faces.reserve(faceCount);
    for (uint32_t f = 0; f < faceCount; ++f)
    {
        Face face;
        for (int k = 0; k < 4; ++k)
        {
            bool edge = false;
            face.corners[size_t(k)] = corner(int(f), k, edge);
            face.edges[size_t(k)] = edge;
            if (f == 0 && k == 0)
                m_faceBox.min = m_faceBox.max = face.corners[0];
            for (int i = 0; i < 3; ++i)
            {
                m_faceBox.min[i] = std::min(m_faceBox.min[i], face.corners[size_t(k)][i]);
                m_faceBox.max[i] = std::max(m_faceBox.max[i], face.corners[size_t(k)][i]);
            }
        }
        m_faces.push_back(face);
    }
    SetStackedLocalBox(1);
    translateCenterPt(centre);
    setRotation(rotation);
    setPitch(pitch);
    setTransparent(false);
    MarkDirty();
}

void SpeakerEntity::Reorient(double pitch, double rotation)
{
    double from[3] = {0.0, m_pitch, m_rotation};
    const double to[3] = {0.0, pitch, rotation};
    math::Mat4 transform = getTransform();
    math::ReorientTransform(from, to, transform);
    m_pitch = pitch;
    m_rotation = rotation;
    setTransform(transform);
    MarkDirty();
}

void SpeakerEntity::setRotation(double newRotation)
{
    if (!math::AlmostEqual(newRotation, m_rotation))
        Reorient(m_pitch, newRotation);
}

void SpeakerEntity::setPitch(double newPitch)
{
    if (!math::AlmostEqual(newPitch, m_pitch))
        Reorient(newPitch, m_rotation);
}

void SpeakerEntity::AdoptAngles(double rotation, double pitch)
{
    if (math::AlmostEqual(rotation, m_rotation) && math::AlmostEqual(pitch, m_pitch))
        return;
    m_rotation = rotation;
    m_pitch = pitch;
    MarkDirty();
}

void SpeakerEntity::translateCenterPt(math::Vec3 delta)
{
    if (math::Length(delta) < math::kZeroTolerance)
        return;
    const double rotation = m_rotation;
    const double pitch = m_pitch;
    setRotation(0.0);
    setPitch(0.0);
    math::Mat4 transform = getTransform();
    transform.Translate(delta);
    setTransform(transform);
    setPitch(pitch);
    setRotation(rotation);
    MarkDirty();
}

void SpeakerEntity::setSelectedColor(QColor color)
{
    if (color == m_selectedColor)
        return;
    m_selectedColor = color;
    MarkDirty();
}

void SpeakerEntity::setUnselectedColor(QColor color)
{
    if (color == m_unselectedColor)
        return;
    m_unselectedColor = color;
    MarkDirty();
}

void SpeakerEntity::BuildBoxGeometry(const math::Vec3& offset)
{
    auto geometry = std::make_shared<opengl::GeometryGL>();
    CheckAlloc(geometry);
    AddGeometry(geometry);
    QColor color = isSelected() ? m_selectedColor : m_unselectedColor;
    color.setAlphaF(isTransparent() ? 0.5 : 1.0);
    geometry->SetTransparent(isTransparent());
    for (const Face& face : m_faces)
    {
        const auto& c = face.corners;
        geometry->AddQuad(c[0] + offset, c[1] + offset, c[2] + offset, c[3] + offset, color, false);
    }
}

void SpeakerEntity::SetStackedLocalBox(uint32_t modules)
{
    const double height = m_faceBox.max.z - m_faceBox.min.z;
    m_localBox = m_faceBox;
    if (modules > 1 && !m_faceBox.IsEmpty())
        m_localBox.min.z -= height * double(modules - 1);
}

bool SpeakerEntity::RebuildGeometry()
{
    ClearGeometries();
    BuildBoxGeometry({});
    return true;
}

std::optional<math::BBox> SpeakerEntity::BoundingBox() const
{
    const auto corners = BoxCorners(m_localBox);
    const math::Mat4 transform = getTransform();
    math::BBox box;
    box.min = box.max = math::TransformPoint(transform, corners[0]);
    for (const math::Vec3& corner : corners)
    {
        const math::Vec3 p = math::TransformPoint(transform, corner);
        for (int i = 0; i < 3; ++i)
        {
            box.min[i] = std::min(box.min[i], p[i]);
            box.max[i] = std::max(box.max[i], p[i]);
        }
    }
    return box;
}

HitPointPtr SpeakerEntity::Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const
{
    const math::Mat4* inverse = GetInverseTransform();
    if (GetGeometries().empty() || inverse == nullptr)
        return {};
    const math::Ray local = ray.Transform(*inverse);
    // A body drawn at its real size is a few pixels across when zoomed out: it takes clicks
    // within the margin its throw lines' box takes them, shown or not.
    math::BBox box = m_localBox;
    if (pixelsPerMeter > 0.0 && std::isfinite(pixelsPerMeter))
    {
        const double margin = kPickMarginPixels / pixelsPerMeter;
        for (int i = 0; i < 3; ++i)
        {
            box.min[i] -= margin;
            box.max[i] += margin;
        }
    }
    const auto c = BoxCorners(box);
    // The six faces of the box, two triangles each.
    static constexpr int kFaces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                         {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (const auto& f : kFaces)
    {
        double distance = 0.0;
        if (math::RayIntersectsTriangle(local.origin, local.direction, c[f[0]], c[f[1]], c[f[2]], nullptr,
                                        &distance) ||
            math::RayIntersectsTriangle(local.origin, local.direction, c[f[2]], c[f[3]], c[f[0]], nullptr,
                                        &distance))
        {
            auto hit =
                std::make_shared<HitPoint>(self, GetGeometries().front(), local, distance, HitPart::Body);
            // Comparable with other entities' hits: the distance in world units.
            if (self)
                hit->distance = math::Length(hit->worldPoint - ray.origin);
            return hit;
        }
    }
    return {};
}

} // namespace zorvpro::view
