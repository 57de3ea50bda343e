#pragma once

#include "acoustics/engine/ISurface.h"
#include "core/Nodes/SurfaceNode.h"
#include "core/math/Vector3.h"

#include <QColor>
#include <cmath>
#include <memory>
#include <shared_mutex>

namespace zorvpro
{

class QuadNode;
using QuadNodePtr = std::shared_ptr<QuadNode>;

// A four-cornered venue surface: the triangles (P1, P2, P3) and (P3, P4, P1)
// of its local corners mapped through its transform. It is picked by the
// views and blocks rays for the acoustics engine while it is in the tree.
class QuadNode : public SurfaceNode, public acoustics::ISurface
{
public:
    static QuadNodePtr Create(const std::string& name, const math::Vec3& p1, const math::Vec3& p2,
                              const math::Vec3& p3, const math::Vec3& p4, const QColor& color,
                              double listenerHeight, double rotationZ);

    // The node factory's creator; empty (and logged) when a property is
    // missing or malformed.
    static NodePtr CreateFromProperties(const PropertyMap& properties);

    void OnAttached(const NodePtr& self) override;
    void OnDetached(const NodePtr& self) override;
    std::string TypeName() const override;
    void WriteProperties(PropertyMap& properties) const override;
    bool ReadProperties(const PropertyMap& properties) override;
    void SetTransform(const math::Mat4& transform) override;
    // Empty when missed, and always for a quad whose transform is singular.
    HitPointPtr HitTest(const math::Ray& ray, const math::Mat4& pointMatrix,
                        const math::Mat4& localMatrix) override;

    // Called from the engine's worker threads. A quad whose transform cannot
    // be inverted blocks nothing.
    bool intersects(const math::Ray& ray, double maxDistance) const override;

    // Setters of numbers and corners ignore non-finite values, which the
    // project file could not read back.
    bool GetLocked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    bool GetVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }
    const QColor& GetColor() const { return m_color; }
    void SetColor(const QColor& color) { m_color = color; }
    double GetListenerHeight() const { return m_listenerHeight; }
    void SetListenerHeight(double height)
    {
        if (std::isfinite(height))
            m_listenerHeight = height;
    }
    bool GetListenerHeightEnabled() const { return m_listenerHeightEnabled; }
    void SetListenerHeightEnabled(bool enabled) { m_listenerHeightEnabled = enabled; }
    double GetRotationZ() const { return m_rotationZ; }
    void SetRotationZ(double rotation)
    {
        if (std::isfinite(rotation))
            m_rotationZ = rotation;
    }

    math::Vec3 GetP1() const;
    math::Vec3 GetP2() const;
    math::Vec3 GetP3() const;
    math::Vec3 GetP4() const;
    void SetP1(const math::Vec3& point);
    void SetP2(const math::Vec3& point);
    void SetP3(const math::Vec3& point);
    void SetP4(const math::Vec3& point);

protected:
    QuadNode(const std::string& name, const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3,
             const math::Vec3& p4, const QColor& color, double listenerHeight, double rotationZ);

private:
    struct Geometry
    {
        math::Vec3 corners[4];
        math::Mat4 venueToLocal;
        bool invertible = true;
    };

    void SetCorner(int index, const math::Vec3& point);
    math::Vec3 GetCorner(int index) const;
    // Caller holds the geometry lock exclusively.
    void UpdateInverse();
    static bool HitLocal(const Geometry& geometry, const math::Ray& localRay, double& t);

    bool m_locked = false;
    bool m_visible = true;
    bool m_transparent = false;
    QColor m_color;
    double m_listenerHeight;
    bool m_listenerHeightEnabled = true;
    double m_rotationZ;

    // The engine reads the corners and the inverse transform from its worker
    // threads while the GUI thread edits them.
    mutable std::shared_mutex m_geometryLock;
    Geometry m_geometry;
};

} // namespace zorvpro
