#include "core/Nodes/QuadNode.h"

#include "acoustics/engine/IZorvAcoustics.h"
#include "core/App/ApplicationSeam.h"
#include "core/Nodes/NodeProperties.h"
#include "core/math/Intersections.h"

#include <cmath>
#include <mutex>
#include <stdexcept>

namespace zorvpro
{

namespace
{
constexpr double ZeroTolerance = 25.0 * 2.220446049250313e-16;
}

QuadNode::QuadNode(const std::string& name, const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3,
                   const math::Vec3& p4, const QColor& color, double listenerHeight, double rotationZ)
    : m_color(color), m_listenerHeight(listenerHeight), m_rotationZ(rotationZ)
{
    SetName(name);
    m_geometry.corners[0] = p1;
    m_geometry.corners[1] = p2;
    m_geometry.corners[2] = p3;
    m_geometry.corners[3] = p4;
}

QuadNodePtr QuadNode::Create(const std::string& name, const math::Vec3& p1, const math::Vec3& p2,
                             const math::Vec3& p3, const math::Vec3& p4, const QColor& color,
                             double listenerHeight, double rotationZ)
{
    QuadNodePtr node(new QuadNode(name, p1, p2, p3, p4, color, listenerHeight, rotationZ));
    InitSelf(node);
    return node;
}

NodePtr QuadNode::CreateFromProperties(const PropertyMap& properties)
{
    math::Vec3 corners[4];
    QColor color;
    double listenerHeight = 0.0;
    bool listenerHeightEnabled = true;
    double rotationZ = 0.0;
    bool locked = false;
    bool visible = true;
    bool transparent = false;

    // The first key that is missing or does not parse is the one reported.
    const char* failedKey = nullptr;
    const auto read = [&](const char* key, auto& value)
    {
        if (!failedKey && !ReadProperty(properties, key, value))
            failedKey = key;
    };
    read(NodeKeys::P1, corners[0]);
    read(NodeKeys::P2, corners[1]);
    read(NodeKeys::P3, corners[2]);
    read(NodeKeys::P4, corners[3]);
    read(NodeKeys::Color, color);
    read(NodeKeys::ListenerHeight, listenerHeight);
    read(NodeKeys::ListenerHeightEnabled, listenerHeightEnabled);
    read(NodeKeys::RotationZ, rotationZ);
    read(NodeKeys::Locked, locked);
    read(NodeKeys::Visible, visible);
    read(NodeKeys::Transparent, transparent);
    if (failedKey)
    {
        LogUnreadableProperty(failedKey);
        return {};
    }

    QuadNodePtr quad = Create(std::string(), corners[0], corners[1], corners[2], corners[3], color,
                              listenerHeight, rotationZ);
    if (!quad->ReadProperties(properties))
        return {};
    quad->SetLocked(locked);
    quad->SetVisible(visible);
    quad->SetTransparent(transparent);
    quad->SetListenerHeightEnabled(listenerHeightEnabled);
    return quad;
}

void QuadNode::OnAttached(const NodePtr& self)
{
    if (auto engine = CurrentAcousticsEngine())
    {
        std::shared_ptr<acoustics::ISurface> surface = std::dynamic_pointer_cast<QuadNode>(self);
        if (surface)
            engine->addSurface(surface);
    }
}

void QuadNode::OnDetached(const NodePtr& self)
{
    if (auto engine = CurrentAcousticsEngine())
    {
        std::shared_ptr<acoustics::ISurface> surface = std::dynamic_pointer_cast<QuadNode>(self);
        if (surface)
            engine->removeSurface(surface);
    }
}

std::string QuadNode::TypeName() const
{
    return "QuadNode";
}

void QuadNode::WriteProperties(PropertyMap& properties) const
{
    PhysicalNode::WriteProperties(properties);
    WriteProperty(properties, NodeKeys::Locked, m_locked);
    WriteProperty(properties, NodeKeys::Visible, m_visible);
    WriteProperty(properties, NodeKeys::Transparent, m_transparent);
    WriteProperty(properties, NodeKeys::RotationZ, m_rotationZ);
    WriteProperty(properties, NodeKeys::ListenerHeight, m_listenerHeight);
    WriteProperty(properties, NodeKeys::ListenerHeightEnabled, m_listenerHeightEnabled);
    WriteProperty(properties, NodeKeys::Color, m_color);
    WriteProperty(properties, NodeKeys::P1, GetP1());
    WriteProperty(properties, NodeKeys::P2, GetP2());
    WriteProperty(properties, NodeKeys::P3, GetP3());
    WriteProperty(properties, NodeKeys::P4, GetP4());
}

bool QuadNode::ReadProperties(const PropertyMap& properties)
{
    std::unique_lock<std::shared_mutex> guard(m_geometryLock);
    const bool read = PhysicalNode::ReadProperties(properties);
    UpdateInverse();
    return read;
}

void QuadNode::SetTransform(const math::Mat4& transform)
{
    if (!IsFinite(transform))
        return;
    std::unique_lock<std::shared_mutex> guard(m_geometryLock);
    PhysicalNode::SetTransform(transform);
    UpdateInverse();
}

void QuadNode::UpdateInverse()
{
    // Inverted once per change rather than per ray; a singular transform
    // (possible from a file) must not bring down the engine's threads.
    try
    {
        m_geometry.venueToLocal = math::Inverse(GetTransform());
        m_geometry.invertible = true;
    }
    catch (const std::domain_error&)
    {
        m_geometry.venueToLocal = math::Mat4();
        m_geometry.invertible = false;
    }
}

bool QuadNode::HitLocal(const Geometry& geometry, const math::Ray& localRay, double& t)
{
    const math::Vec3* c = geometry.corners;
    return math::RayIntersectsTriangle(localRay.origin, localRay.direction, c[0], c[1], c[2], nullptr, &t) ||
           math::RayIntersectsTriangle(localRay.origin, localRay.direction, c[2], c[3], c[0], nullptr, &t);
}

bool QuadNode::intersects(const math::Ray& ray, double maxDistance) const
{
    if (std::fabs(maxDistance) < ZeroTolerance)
        return false;

    Geometry geometry;
    {
        std::shared_lock<std::shared_mutex> guard(m_geometryLock);
        geometry = m_geometry;
    }
    if (!geometry.invertible)
        return false;

    const math::Ray localRay = math::Ray::Transform(ray, geometry.venueToLocal);
    double t = 0.0;
    return HitLocal(geometry, localRay, t) && maxDistance > t;
}

HitPointPtr QuadNode::HitTest(const math::Ray& ray, const math::Mat4& pointMatrix,
                              const math::Mat4& localMatrix)
{
    Geometry geometry;
    {
        std::shared_lock<std::shared_mutex> guard(m_geometryLock);
        geometry = m_geometry;
    }
    // A quad flattened by a singular transform has no surface to pick.
    if (!geometry.invertible)
        return {};
    const math::Ray localRay = math::Ray::Transform(ray, localMatrix);
    double t = 0.0;
    if (!HitLocal(geometry, localRay, t))
        return {};
    return std::make_shared<HitPoint>(GetSelf(), pointMatrix, ray, t);
}

math::Vec3 QuadNode::GetCorner(int index) const
{
    std::shared_lock<std::shared_mutex> guard(m_geometryLock);
    return m_geometry.corners[index];
}

void QuadNode::SetCorner(int index, const math::Vec3& point)
{
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z))
        return;
    std::unique_lock<std::shared_mutex> guard(m_geometryLock);
    m_geometry.corners[index] = point;
}

math::Vec3 QuadNode::GetP1() const
{
    return GetCorner(0);
}
math::Vec3 QuadNode::GetP2() const
{
    return GetCorner(1);
}
math::Vec3 QuadNode::GetP3() const
{
    return GetCorner(2);
}
math::Vec3 QuadNode::GetP4() const
{
    return GetCorner(3);
}
void QuadNode::SetP1(const math::Vec3& point)
{
    SetCorner(0, point);
}
void QuadNode::SetP2(const math::Vec3& point)
{
    SetCorner(1, point);
}
void QuadNode::SetP3(const math::Vec3& point)
{
    SetCorner(2, point);
}
void QuadNode::SetP4(const math::Vec3& point)
{
    SetCorner(3, point);
}

} // namespace zorvpro
