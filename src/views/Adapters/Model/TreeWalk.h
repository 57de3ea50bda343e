#pragma once

#include "core/Nodes/Node.h"

namespace zorvpro
{
// Visits the node and everything below it in pre-order, the node first. Children are reached by
// position, so a wide tree costs one step per node (a sibling search per step would not).
template <typename Visit> void VisitPreOrder(const NodePtr& node, Visit&& visit)
{
    if (!node)
        return;
    visit(node);
    const auto& children = node->GetChildren();
    for (std::size_t i = 0; i < children.size(); ++i)
        VisitPreOrder(children[i], visit);
}
} // namespace zorvpro
