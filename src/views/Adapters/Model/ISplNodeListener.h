#pragma once

#include "core/Nodes/Node.h"

#include <cstdint>

namespace zorvpro
{
// What a tab adapter tells the coverage-map pipeline about the nodes it edits.
class ISplNodeListener
{
public:
    // Change kinds: 1 reset everything, 2 node added, 3 geometry or listener height changed,
    // 4 node removed.
    static constexpr std::uint32_t kReset = 1;
    static constexpr std::uint32_t kAdded = 2;
    static constexpr std::uint32_t kChanged = 3;
    static constexpr std::uint32_t kRemoved = 4;

    virtual ~ISplNodeListener() = default;
    virtual void NodeChanged(std::uint32_t kind, const NodePtr& node) = 0;
    virtual void HandleEntityVisibility(const NodePtr& node) = 0;
};
} // namespace zorvpro
