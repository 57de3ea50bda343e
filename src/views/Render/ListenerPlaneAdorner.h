#pragma once

#include "views/Render/AdornerEntity.h"

#include <QColor>

namespace zorvpro::view
{

// The dashed line at the listeners' ear height over a selected surface,
// drawn only in a view that looks along the surface (its side view).
class ListenerPlaneAdorner : public AdornerEntity
{
    Q_OBJECT

public:
    ListenerPlaneAdorner(Viewport* viewport, EntityPtr surface, double offsetDistance);

    std::optional<math::BBox> BoundingBox() const override;
    bool RebuildGeometry() override;

    const math::Vec3& Start() const { return m_start; }
    const math::Vec3& End() const { return m_end; }
    const QColor& Color() const { return m_color; }

private:
    QColor m_color{255, 0, 255, 255};
    math::Vec3 m_start;
    math::Vec3 m_end;
};

// The unit normal of the plane through the first three distinct points (each
// compared with the last one taken); zero when there are fewer than three or
// the first and third coincide.
math::Vec3 PlaneNormal(const std::array<math::Vec3, 4>& points);

} // namespace zorvpro::view
