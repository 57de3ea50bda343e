#include "views/Adapters/Speaker/SpeakerSplLink.h"

#include "views/Adapters/Spl/SplAdapter.h"

namespace zorvpro
{
void SpeakerSplLink::NodeChanged(std::uint32_t kind, const NodePtr& node)
{
    spl->NodeChanged(kind, node);
}

void SpeakerSplLink::HandleEntityVisibility(const NodePtr& node)
{
    spl->HandleEntityVisibility(node);
}

void SpeakerSplLink::SetActiveSpeaker(const NodePtr& node)
{
    spl->SetActiveSpeaker(node);
}

void SpeakerSplLink::RefreshSpeaker(const NodePtr& node)
{
    spl->RefreshSpeaker(node);
}

void SpeakerSplLink::UpdateSplMaps(bool keepActiveSpeaker)
{
    spl->UpdateSplMaps(keepActiveSpeaker);
}
} // namespace zorvpro
