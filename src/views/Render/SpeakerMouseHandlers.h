#pragma once

#include "views/Render/MouseHandler.h"

namespace zorvpro::view
{

// The speaker tab's plan view: loudspeakers are dragged.
class SpeakerPlanMouseHandler : public MouseHandler
{
    Q_OBJECT

public:
    bool IsModelEntity(const EntityPtr& entity) const override;

protected:
    void OnHover(const HitPointPtr& hit, uint32_t modifiers) override;
};

// The speaker tab's side view: loudspeakers move only up and down, and the
// selected beam's handles are dragged.
class SpeakerSideMouseHandler : public MouseHandler
{
    Q_OBJECT

public:
    bool IsModelEntity(const EntityPtr& entity) const override;

protected:
    void OnMousePress(const MouseEvent& event) override;
    void OnHover(const HitPointPtr& hit, uint32_t modifiers) override;
};

} // namespace zorvpro::view
