#include "acoustics/cluster/ModuleTransducers.h"

namespace zorvpro::acoustics
{

namespace
{

void gatherInto(const Node& node, std::vector<std::shared_ptr<Transducer>>& out)
{
    for (const Node::Ptr& child : node.getChildren())
    {
        if (!child)
            continue;
        if (auto transducer = std::dynamic_pointer_cast<Transducer>(child))
            out.push_back(transducer);
        gatherInto(*child, out);
    }
}

} // namespace

std::vector<std::shared_ptr<Transducer>> gatherTransducers(const Node& node)
{
    std::vector<std::shared_ptr<Transducer>> out;
    gatherInto(node, out);
    return out;
}

} // namespace zorvpro::acoustics
