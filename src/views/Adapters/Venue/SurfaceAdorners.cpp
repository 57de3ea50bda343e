#include "views/Adapters/Venue/SurfaceAdorners.h"

#include "core/math/Matrix4.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/Viewport.h"

#include <algorithm>

namespace zorvpro::view
{
namespace
{
std::string NameOf(const std::string& kind, const EntityPtr& adorned)
{
    return kind + "<" + (adorned ? adorned->getName() : std::string("nullptr")) + ">";
}
} // namespace

SurfaceAdornerBase::SurfaceAdornerBase(const std::string& kind, Viewport& viewport, const EntityPtr& entity,
                                       double adornerExtent)
    : Entity(NameOf(kind, entity)), adorned(entity), extent(adornerExtent)
{
    if (adorned)
        connect(adorned.get(), &Entity::dirtyChanged, this,
                [this](bool dirty)
                {
                    if (dirty)
                        setDirty(true);
                });
    connect(&viewport, &Viewport::pixelsPerMeterChanged, this, &SurfaceAdornerBase::FollowZoom);
    FollowZoom(viewport.pixelsPerMeter());
}

void SurfaceAdornerBase::FollowZoom(double pixelsPerMeter)
{
    const double next = std::max(std::max(pixelsPerMeter, 0.001), 0.1);
    if (next == scale)
        return;
    scale = next;
    setDirty(true);
}

QuadHandlesAdorner::QuadHandlesAdorner(Viewport& viewport, const EntityPtr& adorned, double extent,
                                       bool inSideView)
    : SurfaceAdornerBase("QuadAdornerEntity", viewport, adorned, extent), sideView(inSideView)
{
}

std::optional<math::BBox> QuadHandlesAdorner::BoundingBox() const
{
    return AdornedEntity() ? AdornedEntity()->BoundingBox() : std::nullopt;
}

void QuadHandlesAdorner::SetHighlightedItem(std::uint32_t item)
{
    if (item == highlighted)
        return;
    highlighted = item;
    setDirty(true);
}

ListenerHeightAdorner::ListenerHeightAdorner(Viewport& viewport, const EntityPtr& adorned, double extent)
    : SurfaceAdornerBase("ListenerPlaneAdorner", viewport, adorned, extent)
{
}

std::optional<math::BBox> ListenerHeightAdorner::BoundingBox() const
{
    const auto* quad = dynamic_cast<const QuadEntity*>(AdornedEntity().get());
    if (quad == nullptr || !quad->IsListenerHeightEnabled())
        return std::nullopt;
    std::optional<math::BBox> box = quad->BoundingBox();
    if (box)
    {
        box->min.z += quad->GetListenerHeight();
        box->max.z += quad->GetListenerHeight();
    }
    return box;
}

bool ListenerHeightAdorner::RebuildGeometry()
{
    ClearGeometries();
    const auto* quad = dynamic_cast<const QuadEntity*>(AdornedEntity().get());
    if (quad == nullptr || !quad->IsListenerHeightEnabled())
        return true;
    // The surface's outline raised to the listener height, in world coordinates.
    const math::Vec3 lift(0, 0, quad->GetListenerHeight());
    auto lines = std::make_shared<opengl::GeometryGL>();
    const auto& corners = quad->GetCorners();
    for (int i = 0; i < 4; ++i)
        lines->AddLine(math::TransformPoint(quad->getTransform(), corners[i]) + lift,
                       math::TransformPoint(quad->getTransform(), corners[(i + 1) % 4]) + lift, color,
                       QuadEntity::kOutlineWidth, math::Vec3());
    AddGeometry(lines);
    return true;
}

void ListenerHeightAdorner::setColor(const QColor& newColor)
{
    if (newColor == color)
        return;
    color = newColor;
    setDirty(true);
}
} // namespace zorvpro::view
