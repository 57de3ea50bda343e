#pragma once

#include "views/Render/MouseHandler.h"

namespace zorvpro::view
{

class QuadAdornerEntity;
class QuadEntity;

// The venue tab's views: surfaces are dragged, their adorner handles reshape them.
class VenueMouseHandler : public MouseHandler
{
    Q_OBJECT

public:
    bool IsModelEntity(const EntityPtr& entity) const override;
    bool IsEditAdorner(const EntityPtr& entity) const override;

protected:
    bool CanStartHandleDrag(const HitPointPtr& hit) const override;
    void OnHover(const HitPointPtr& hit, uint32_t modifiers) override;
};

// The resize cursor that matches the handle's direction on screen, turned
// with the surface; every handle asks for vertical resize in a side view.
uint32_t CursorForHandle(const QuadAdornerEntity& adorner, const QuadEntity& surface, uint32_t part);

} // namespace zorvpro::view
