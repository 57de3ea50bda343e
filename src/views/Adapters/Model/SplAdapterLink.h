#pragma once

#include "views/Adapters/Model/ISplNodeListener.h"

namespace zorvpro
{
class SplAdapter;

// Passes a tab adapter's node notices to the coverage-map adapter.
class SplAdapterLink final : public ISplNodeListener
{
public:
    explicit SplAdapterLink(SplAdapter* adapter) : spl(adapter) {}
    void NodeChanged(std::uint32_t kind, const NodePtr& node) override;
    void HandleEntityVisibility(const NodePtr& node) override;

private:
    SplAdapter* spl;
};
} // namespace zorvpro
