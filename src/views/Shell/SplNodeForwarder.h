#pragma once

#include "views/Adapters/Model/ISplNodeListener.h"
#include "views/Adapters/Spl/SplAdapter.h"

#include <QPointer>

namespace zorvpro
{
// Hands the tab adapters' node notices to the coverage-map adapter; nothing
// once that adapter is gone.
class SplNodeForwarder : public ISplNodeListener
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

private:
    QPointer<SplAdapter> adapter;
};
} // namespace zorvpro
