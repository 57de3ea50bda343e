#pragma once

#include "core/math/Vector3.h"
#include "views/Render/Entity.h"

#include <QColor>
#include <array>
#include <memory>

namespace zorvpro
{
class QuadNode;
}

namespace zorvpro::view
{

class QuadEntity;
using QuadEntityPtr = std::shared_ptr<QuadEntity>;

// A venue surface: a grey fill, see-through while `transparent`, with an
// outline in the surface colour. Corners are in entity coordinates; the
// edge p4-p1 is the front edge, p2-p3 the back edge.
class QuadEntity : public Entity
{
    Q_OBJECT

public:
    QuadEntity(const std::string& name, const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3,
               const math::Vec3& p4, const QColor& color);

    // An entity showing the node's current state.
    static QuadEntityPtr CreateFromNode(const QuadNode& node);
    // Copies the node's name, corners, colour, transform, flags, rotation and listener height.
    void SyncFromNode(const QuadNode& node);

    // Fill first, then the edges within five pixels (in metres at the view's zoom).
    HitPointPtr Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const override;
    std::optional<math::BBox> BoundingBox() const override;
    // Redrawn so the selection shows.
    void SelectionChanged() override;
    bool RebuildGeometry() override;

    const math::Vec3& GetP1() const { return m_corners[0]; }
    const math::Vec3& GetP2() const { return m_corners[1]; }
    const math::Vec3& GetP3() const { return m_corners[2]; }
    const math::Vec3& GetP4() const { return m_corners[3]; }
    const std::array<math::Vec3, 4>& GetCorners() const { return m_corners; }
    void SetCorners(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3, const math::Vec3& p4);
    const QColor& GetColor() const { return m_color; }
    void SetColor(const QColor& color);
    // Fill alpha while `transparent` is set.
    double GetTransparency() const { return m_transparency; }
    void SetTransparency(double alpha);
    // Radians about the vertical axis; read by the adorners and mouse handlers.
    double GetRotation() const { return m_rotation; }
    void SetRotation(double rotation) { m_rotation = rotation; }
    double GetListenerHeight() const { return m_listenerHeight; }
    void SetListenerHeight(double height) { m_listenerHeight = height; }
    bool IsListenerHeightEnabled() const { return m_listenerHeightEnabled; }
    void SetListenerHeightEnabled(bool enabled) { m_listenerHeightEnabled = enabled; }

    // Edge pick tolerance in pixels.
    static constexpr double kEdgeTolerancePixels = 5.0;
    // Edge pick tolerance in metres when the view's zoom is unknown (0).
    static constexpr double kZeroZoomTolerance = 0.125;
    static constexpr double kOutlineWidth = 0.9;

private:
    bool RayNearBox(const math::Ray& local, double margin) const;

    double m_transparency = 0.5;
    std::array<math::Vec3, 4> m_corners;
    QColor m_color;
    double m_rotation = 0.0;
    double m_listenerHeight = 1.0;
    bool m_listenerHeightEnabled = true;
};

} // namespace zorvpro::view
