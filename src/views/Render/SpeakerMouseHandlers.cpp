#include "views/Render/SpeakerMouseHandlers.h"

#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/SpeakerEntity.h"

namespace zorvpro::view
{

namespace
{
bool IsFreeSpeaker(const Entity* entity)
{
    return dynamic_cast<const SpeakerEntity*>(entity) != nullptr && entity->isVisible() &&
           !entity->isLocked();
}

bool IsBeamHandle(uint32_t part)
{
    return part >= HitPart::Beam1TopRear && part <= HitPart::Beam2BottomFront;
}
} // namespace

bool SpeakerPlanMouseHandler::IsModelEntity(const EntityPtr& entity) const
{
    return dynamic_cast<const SpeakerEntity*>(entity.get()) != nullptr;
}

void SpeakerPlanMouseHandler::OnHover(const HitPointPtr& hit, uint32_t modifiers)
{
    uint32_t request = CursorRequest::Default;
    if (hit && IsFreeSpeaker(hit->entity.get()))
        request = IsControl(modifiers) ? CursorRequest::PointingHand : CursorRequest::SizeAll;
    RequestCursor(request);
}

bool SpeakerSideMouseHandler::IsModelEntity(const EntityPtr& entity) const
{
    return dynamic_cast<const SpeakerEntity*>(entity.get()) != nullptr;
}

void SpeakerSideMouseHandler::OnMousePress(const MouseEvent& event)
{
    if (!IsControl(event.modifiers) && IsFreeSpeaker(HitEntity().get()))
    {
        EmitMouseAction(MouseState::EntityDrag, CursorRequest::VerticalResize, MouseActionCode::EntityPress,
                        false);
        return;
    }
    MouseHandler::OnMousePress(event);
}

void SpeakerSideMouseHandler::OnHover(const HitPointPtr& hit, uint32_t modifiers)
{
    uint32_t request = CursorRequest::Default;
    const Entity* entity = hit ? hit->entity.get() : nullptr;
    if (auto* adorner = dynamic_cast<const BeamSpeakerAdornerEntity*>(entity))
    {
        const EntityPtr speaker = adorner->AdornedEntity();
        if (IsBeamHandle(hit->part) && speaker && speaker->isVisible())
            request = speaker->isLocked() ? CursorRequest::Default : CursorRequest::SizeAll;
    }
    if (IsFreeSpeaker(entity))
        request = IsControl(modifiers) ? CursorRequest::PointingHand : CursorRequest::VerticalResize;
    RequestCursor(request);
}

} // namespace zorvpro::view
