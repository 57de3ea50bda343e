#include "views/Adapters/Model/SplAdapterLink.h"

#include "views/Adapters/Spl/SplAdapter.h"

namespace zorvpro
{
void SplAdapterLink::NodeChanged(std::uint32_t kind, const NodePtr& node)
{
    if (spl != nullptr)
        spl->NodeChanged(kind, node);
}

void SplAdapterLink::HandleEntityVisibility(const NodePtr& node)
{
    if (spl != nullptr)
        spl->HandleEntityVisibility(node);
}
} // namespace zorvpro
