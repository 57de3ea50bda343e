#pragma once

#include "core/Nodes/Node.h"
#include "core/Nodes/PropertyMap.h"

#include <functional>
#include <string>

namespace zorvpro
{

// Turns a type name (the element tag in the project file) and a property map
// into a node. The core node types are built in; later layers register theirs
// at start-up, before any project is loaded.
class NodeFactory
{
public:
    using Creator = std::function<NodePtr(PropertyMap)>;

    // Empty when the type name is not registered (exact, case-sensitive) or
    // the creator refused the properties.
    static NodePtr Create(const std::string& typeName, const PropertyMap& properties);

    // False when the name is taken or the creator is empty.
    static bool Register(const std::string& typeName, Creator creator);
};

} // namespace zorvpro
