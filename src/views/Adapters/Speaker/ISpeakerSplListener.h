#pragma once

#include "views/Adapters/Model/ISplNodeListener.h"

namespace zorvpro
{

// What the speaker tab asks of the coverage-map pipeline beyond node changes: which speaker's
// side-view map is shown, a speaker's map refreshed, and the maps rebuilt after a load.
class ISpeakerSplListener : public ISplNodeListener
{
public:
    // An empty node: no speaker is active.
    virtual void SetActiveSpeaker(const NodePtr& node) = 0;
    virtual void RefreshSpeaker(const NodePtr& node) = 0;
    virtual void UpdateSplMaps(bool keepActiveSpeaker) = 0;
};

} // namespace zorvpro
