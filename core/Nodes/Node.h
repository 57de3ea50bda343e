#pragma once

#include "core/Nodes/HasUniqueId.h"
#include "core/Nodes/PropertyMap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorvpro
{

class Node;
using NodePtr = std::shared_ptr<Node>;

// Base of the project tree. A node owns its children and lives only in
// shared pointers; every node is made by a creation function that sets its
// self pointer.
class Node : public HasUniqueId
{
public:
    static NodePtr Create();

    ~Node() override;

    // Hooks through which subclasses join and leave outside registries.
    virtual void OnAttached(const NodePtr& self);
    virtual void OnDetached(const NodePtr& self);
    virtual void AddChild(const NodePtr& child);
    virtual void RemoveChildAt(int32_t index);
    virtual std::string TypeName() const;
    virtual void WriteProperties(PropertyMap& properties) const;
    virtual bool ReadProperties(const PropertyMap& properties);

    NodePtr GetSelf() const;
    NodePtr GetParent() const;
    NodePtr GetChild(uint64_t index) const;
    const std::vector<NodePtr>& GetChildren() const { return m_children; }
    uint64_t GetChildCount() const { return m_children.size(); }

    // The child of parent that follows the child with node's id.
    static NodePtr GetNextSibling(const NodePtr& parent, const NodePtr& node);

    NodePtr FindById(uint64_t id) const;
    int RemoveChild(const NodePtr& node);
    int RemoveNodeById(uint64_t id);

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }

    static const char* const DefaultName;

protected:
    Node();
    static void InitSelf(const NodePtr& node);

    // True when candidate is this node or one of its ancestors.
    bool IsSelfOrAncestor(const Node* candidate) const;

private:
    std::weak_ptr<Node> m_parent;
    std::vector<NodePtr> m_children;
    std::string m_name;
    std::weak_ptr<Node> m_self;
};

} // namespace zorvpro
