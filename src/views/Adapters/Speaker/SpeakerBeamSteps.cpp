// The undo steps of the edits of an array's beams, modules and gain. The steering solver derives
// values from the one edited (the other end of a beam, the spreading, the gain the beams allow),
// and solving backwards from the old value does not give them back: a step records the array's
// whole beam state before and after its edit and restores those states as they were.

#include "data/Nodes/LoudspeakerNode.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Render/BeamSpeakerEntity.h"

namespace zorvpro
{
bool SpeakerTabAdapter::PushBeamStep(const NodePtr& node, std::uint32_t item, bool undoable,
                                     const QString& text, const std::function<void()>& edit)
{
    const auto array = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node);
    if (!undoable || !array)
        return SetGenericValue(
            node, item, false, text, [] {}, [] {});
    const BeamSpeakerClusterNode::BeamStatePtr before = array->GetBeamState();
    auto after = std::make_shared<BeamSpeakerClusterNode::BeamStatePtr>();
    return SetGenericValue(
        node, item, true, text,
        [this, array, edit, after]
        {
            // The push runs the edit itself; a redo returns to what it gave.
            if (*after)
                RestoreBeams(array, **after);
            else
            {
                edit();
                *after = array->GetBeamState();
            }
        },
        [this, array, before] { RestoreBeams(array, *before); });
}

void SpeakerTabAdapter::RestoreBeams(const BeamSpeakerClusterNodePtr& array, const BeamState& state)
{
    const auto entity = std::dynamic_pointer_cast<view::BeamSpeakerEntity>(links.GetEntityForNode(array));
    if (!entity)
        return;
    const bool beamsChange = array->GetBeamCount() != state.beams.size();
    const bool modulesChange = array->GetChildCount() != state.modules;
    const bool turned = array->GetPitch() != state.pitch || array->GetYaw() != state.yaw;
    // The modules first: the beams are solved for them.
    if (modulesChange)
        SetModuleChildren(array, state.modules);
    array->RestoreBeamState(state);
    view::BeamSpeakerEntity::SyncFromNode(array, entity);
    FinishEdit(entity);
    if (beamsChange)
        ShowFirstBeam(entity, array);
    if (modulesChange && splAdapter != nullptr)
        splAdapter->NodeChanged(ISplNodeListener::kChanged, array);
    if (turned)
    {
        UpdateSpeakerSideView();
        if (speakerSpl != nullptr)
            speakerSpl->RefreshSpeaker(array);
    }
    if (modulesChange || turned)
        emit entitiesChanged();
}

void SpeakerTabAdapter::SetModuleChildren(const BeamSpeakerClusterNodePtr& array, std::uint32_t count)
{
    while (array->GetChildCount() < count)
    {
        EnsureUserLoudspeakersLoaded();
        const LoudspeakerNodePtr module = CreateLoudspeakerNode(kModelName);
        if (!module)
        {
            LogError("Could not allocate speaker");
            break;
        }
        const auto before = array->GetChildCount();
        array->AddChild(module);
        if (array->GetChildCount() == before)
        {
            // The cluster refused the module (it is full): stop short instead of asking forever.
            LogError("Could not allocate speaker");
            break;
        }
    }
    while (array->GetChildCount() > count)
        array->RemoveChildAt(std::int32_t(array->GetChildCount() - 1));
}
} // namespace zorvpro
