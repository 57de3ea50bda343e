#include "core/Nodes/NodeFactory.h"

#include "core/Nodes/PhysicalNode.h"
#include "core/Nodes/QuadNode.h"

#include <map>
#include <mutex>

namespace zorvpro
{

namespace
{

struct Registry
{
    std::mutex lock;
    std::map<std::string, NodeFactory::Creator> creators;
};

NodePtr CreateNode(PropertyMap properties)
{
    NodePtr node = Node::Create();
    if (!node->ReadProperties(properties))
        return {};
    return node;
}

NodePtr CreatePhysicalNode(PropertyMap properties)
{
    // Kept even when its properties are incomplete; the reader has logged.
    NodePtr node = PhysicalNode::Create();
    node->ReadProperties(properties);
    return node;
}

struct BuiltInRegistry : Registry
{
    BuiltInRegistry()
    {
        creators["Node"] = &CreateNode;
        creators["PhysicalNode"] = &CreatePhysicalNode;
        creators["QuadNode"] = [](PropertyMap properties) -> NodePtr
        { return QuadNode::CreateFromProperties(properties); };
    }
};

Registry& GetRegistry()
{
    static BuiltInRegistry registry;
    return registry;
}

} // namespace

NodePtr NodeFactory::Create(const std::string& typeName, const PropertyMap& properties)
{
    Creator creator;
    {
        Registry& registry = GetRegistry();
        std::lock_guard<std::mutex> guard(registry.lock);
        auto it = registry.creators.find(typeName);
        if (it == registry.creators.end())
            return {};
        creator = it->second;
    }
    return creator(properties);
}

bool NodeFactory::Register(const std::string& typeName, Creator creator)
{
    if (!creator)
        return false;
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.creators.emplace(typeName, std::move(creator)).second;
}

} // namespace zorvpro
