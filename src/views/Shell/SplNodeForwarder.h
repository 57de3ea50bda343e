#pragma once

#include "views/Adapters/Speaker/ISpeakerSplListener.h"
#include "views/Adapters/Spl/SplAdapter.h"

#include <QPointer>

namespace zorvpro
{
// Hands the tab adapters' node notices to the coverage-map adapter; nothing
// once that adapter is gone.
class SplNodeForwarder : public ISpeakerSplListener
{
public:
    explicit SplNodeForwarder(SplAdapter* adapter) : adapter(adapter) {}
    void NodeChanged(std::uint32_t kind, const NodePtr& node) override
    {
        if (adapter)
            adapter->NodeChanged(kind, node);
    }
    void HandleEntityVisibility(const NodePtr& node) override
    {
        if (adapter)
            adapter->HandleEntityVisibility(node);
    }
    void SetActiveSpeaker(const NodePtr& node) override
    {
        if (adapter)
            adapter->SetActiveSpeaker(node);
    }
    void RefreshSpeaker(const NodePtr& node) override
    {
        if (adapter)
            adapter->RefreshSpeaker(node);
    }
    void UpdateSplMaps(bool keepActiveSpeaker) override
    {
        if (adapter)
            adapter->UpdateSplMaps(keepActiveSpeaker);
    }

private:
    QPointer<SplAdapter> adapter;
};
} // namespace zorvpro
