#pragma once

#include "views/Render/AdornerEntity.h"
#include "views/Render/AdornerHandles.h"

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zorvpro::qpainter
{
class TooltipQP;
}

namespace zorvpro::view
{

// The coordinates of a point, two decimals per line, in metres or (metric
// false) in feet.
QString FormatCoordinateTooltip(const math::Vec3& point, bool metric);

// The edit adorner of a selected venue surface: its outline and, while the
// surface is unlocked, corner, edge, front-centre and rotate handles, plus
// the coordinates of the handle being dragged in a tooltip.
class QuadAdornerEntity : public AdornerEntity
{
    Q_OBJECT

public:
    static constexpr uint32_t kNoHandle = 0xFFFFFFFFu;

    QuadAdornerEntity(Viewport* viewport, EntityPtr surface, double offsetDistance, bool sideViewCursors);
    ~QuadAdornerEntity() override;

    HitPointPtr Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const override;
    bool RebuildGeometry() override;
    virtual uint32_t HighlightedItem() const { return m_highlightedItem; }

    // Shows the coordinates of P0 (index 0) or p1..p4 (1..4) while `show`.
    void SetActiveHandle(bool show, bool metric, uint32_t index);
    // The property item being edited; its handles get a ring.
    void SetHighlightedItem(uint32_t item);
    void SetTooltipStyle(const QString& family, int pointSize, const QColor& textColor,
                         const QColor& backgroundColor);

    uint32_t ActiveHandle() const { return m_activeHandle; }
    bool SideViewCursors() const { return m_sideViewCursors; }
    const std::vector<PickSphere>& PickSpheres() const { return m_spheres; }
    const std::array<math::Vec3, 4>& Corners() const { return m_corners; }
    const std::shared_ptr<qpainter::TooltipQP>& Tooltip() const { return m_tooltip; }

    // True when editing `item` lights up the handle with `identifier`.
    static bool IsHighlighted(uint32_t item, uint32_t identifier);

private:
    void PlaceTooltip(const class QuadEntity& surface);

    uint32_t m_activeHandle = kNoHandle;
    std::shared_ptr<qpainter::TooltipQP> m_tooltip;
    bool m_metric = true;
    std::vector<PickSphere> m_spheres;
    bool m_sideViewCursors = false;
    std::array<math::Vec3, 4> m_corners{};
    uint32_t m_highlightedItem = 0;
};

} // namespace zorvpro::view
