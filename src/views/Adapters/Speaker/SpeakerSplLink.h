#pragma once

#include "views/Adapters/Speaker/ISpeakerSplListener.h"

namespace zorvpro
{
class SplAdapter;

// Passes the speaker tab's notices to the coverage-map adapter.
class SpeakerSplLink final : public ISpeakerSplListener
{
public:
    explicit SpeakerSplLink(SplAdapter* adapter) : spl(adapter) {}
    void NodeChanged(std::uint32_t kind, const NodePtr& node) override;
    void HandleEntityVisibility(const NodePtr& node) override;
    void SetActiveSpeaker(const NodePtr& node) override;
    void RefreshSpeaker(const NodePtr& node) override;
    void UpdateSplMaps(bool keepActiveSpeaker) override;

private:
    SplAdapter* spl;
};
} // namespace zorvpro
