#include "views/Render/VenueMouseHandler.h"

#include "views/Render/HitPoint.h"
#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/QuadEntity.h"

#include <array>
#include <cmath>

namespace zorvpro::view
{

namespace
{
bool IsSurfaceHandle(uint32_t part)
{
    return part >= HitPart::CornerP1 && part <= HitPart::Rotate;
}
} // namespace

bool VenueMouseHandler::IsModelEntity(const EntityPtr& entity) const
{
    return dynamic_cast<const QuadEntity*>(entity.get()) != nullptr;
}

bool VenueMouseHandler::IsEditAdorner(const EntityPtr& entity) const
{
    return dynamic_cast<const QuadAdornerEntity*>(entity.get()) != nullptr;
}

bool VenueMouseHandler::CanStartHandleDrag(const HitPointPtr& hit) const
{
    return hit && dynamic_cast<const QuadAdornerEntity*>(hit->entity.get()) != nullptr &&
           IsSurfaceHandle(hit->part);
}

void VenueMouseHandler::OnHover(const HitPointPtr& hit, uint32_t modifiers)
{
    uint32_t request = CursorRequest::Default;
    const Entity* entity = hit ? hit->entity.get() : nullptr;
    if (auto* adorner = dynamic_cast<const QuadAdornerEntity*>(entity))
    {
        auto surface = std::dynamic_pointer_cast<QuadEntity>(adorner->AdornedEntity());
        if (IsSurfaceHandle(hit->part) && surface && surface->isVisible() && !surface->isLocked())
            request = CursorForHandle(*adorner, *surface, hit->part);
    }
    else if (entity && dynamic_cast<const QuadEntity*>(entity) && entity->isVisible() && !entity->isLocked())
    {
        request = IsControl(modifiers) ? CursorRequest::PointingHand : CursorRequest::SizeAll;
    }
    RequestCursor(request);
}

uint32_t CursorForHandle(const QuadAdornerEntity& adorner, const QuadEntity& surface, uint32_t part)
{
    if (adorner.SideViewCursors())
        return CursorRequest::VerticalResize;
    if (part == HitPart::Rotate)
        return CursorRequest::Rotate;
    // Corners and side midpoints resize across the surface's depth axis; the
    // back midpoint and P0 along it.
    static constexpr std::array<uint32_t, 8> kParts{2, 3, 4, 5, 6, 8, 7, 9};
    size_t index = kParts.size();
    for (size_t i = 0; i < kParts.size(); ++i)
    {
        if (kParts[i] == part)
            index = i;
    }
    if (index == kParts.size())
        return CursorRequest::Keep;
    double angle = surface.GetRotation() * 57.29577951308232 + (index <= 5 ? 90.0 : 0.0);
    angle = std::fmod(std::fmod(angle, 360.0) + 360.0, 360.0);
    const int sector = (static_cast<int>(angle + 22.5) / 45) % 4;
    static constexpr std::array<uint32_t, 4> kCursors{
        CursorRequest::HorizontalResize, CursorRequest::DiagonalSlash, CursorRequest::VerticalResize,
        CursorRequest::DiagonalBackslash};
    return kCursors[size_t(sector)];
}

} // namespace zorvpro::view
