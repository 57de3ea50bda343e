#pragma once

#include "views/Render/Entity.h"

#include <QColor>
#include <cstdint>
#include <memory>

namespace zorvpro::view
{
class Viewport;

// The venue tab's decorations of a selected surface until the rendering layer's own adorners
// take their place: each follows its surface (it turns dirty with it) and reports the box it
// covers, so that fitting and the link index treat it as an adorner of that surface.
class SurfaceAdornerBase : public Entity
{
    Q_OBJECT

public:
    SurfaceAdornerBase(const std::string& kind, Viewport& viewport, const EntityPtr& adorned, double extent);

    EntityPtr AdornedEntity() const { return adorned; }
    double Extent() const { return extent; }
    // Follows the view's zoom, never below 0.1.
    double Scale() const { return scale; }

private:
    void FollowZoom(double pixelsPerMeter);

    double scale = 1.0;
    EntityPtr adorned;
    double extent;
};

// Handles of a surface (kind 1): remembers which panel item is being edited.
class QuadHandlesAdorner : public SurfaceAdornerBase
{
    Q_OBJECT

public:
    QuadHandlesAdorner(Viewport& viewport, const EntityPtr& adorned, double extent, bool inSideView);

    std::optional<math::BBox> BoundingBox() const override;
    bool InSideView() const { return sideView; }
    std::uint32_t HighlightedItem() const { return highlighted; }
    void SetHighlightedItem(std::uint32_t item);

private:
    bool sideView;
    std::uint32_t highlighted = 0;
};

// The plane at listener height above a surface (kind 2).
class ListenerHeightAdorner : public SurfaceAdornerBase
{
    Q_OBJECT

public:
    ListenerHeightAdorner(Viewport& viewport, const EntityPtr& adorned, double extent);

    std::optional<math::BBox> BoundingBox() const override;
    bool RebuildGeometry() override;
    QColor GetColor() const { return color; }
    void setColor(const QColor& newColor);

private:
    QColor color{255, 0, 255, 255};
};
} // namespace zorvpro::view
