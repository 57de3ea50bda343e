#include "core/Nodes/Node.h"

#include "core/Nodes/NodeIterators.h"
#include "core/Nodes/NodeProperties.h"

namespace zorvpro
{

const char* const Node::DefaultName = "<unnamed node>";

Node::Node() : m_name(DefaultName) {}

Node::~Node() = default;

NodePtr Node::Create()
{
    NodePtr node(new Node());
    InitSelf(node);
    return node;
}

void Node::InitSelf(const NodePtr& node)
{
    if (node)
        node->m_self = node;
}

void Node::OnAttached(const NodePtr&) {}

void Node::OnDetached(const NodePtr&) {}

bool Node::IsSelfOrAncestor(const Node* candidate) const
{
    for (NodePtr walk = GetSelf(); walk; walk = walk->GetParent())
    {
        if (walk.get() == candidate)
            return true;
    }
    return candidate == this;
}

void Node::AddChild(const NodePtr& child)
{
    // A node under itself would make an ownership cycle and endless walks.
    if (!child || IsSelfOrAncestor(child.get()))
        return;

    if (NodePtr oldParent = child->m_parent.lock())
        oldParent->RemoveChild(child);

    child->m_parent = m_self;
    m_children.push_back(child);
    child->OnAttached(child);
}

void Node::RemoveChildAt(int32_t index)
{
    if (index < 0 || static_cast<uint64_t>(index) >= m_children.size())
        return;

    // Keep the child alive while it is detached and erased.
    NodePtr child = m_children[static_cast<size_t>(index)];
    child->OnDetached(child);
    m_children.erase(m_children.begin() + index);
}

std::string Node::TypeName() const
{
    return "Node";
}

void Node::WriteProperties(PropertyMap& properties) const
{
    WriteProperty(properties, NodeKeys::Name, m_name);
}

bool Node::ReadProperties(const PropertyMap& properties)
{
    if (!ReadProperty(properties, NodeKeys::Name, m_name))
    {
        LogUnreadableProperty(NodeKeys::Name);
        return false;
    }
    return true;
}

NodePtr Node::GetSelf() const
{
    return m_self.lock();
}

NodePtr Node::GetParent() const
{
    return m_parent.lock();
}

NodePtr Node::GetChild(uint64_t index) const
{
    if (index >= m_children.size())
        return {};
    return m_children[static_cast<size_t>(index)];
}

NodePtr Node::GetNextSibling(const NodePtr& parent, const NodePtr& node)
{
    if (!parent || !node)
        return {};
    const auto& children = parent->m_children;
    for (size_t i = 0; i < children.size(); ++i)
    {
        if (children[i]->GetId() == node->GetId())
            return i + 1 < children.size() ? children[i + 1] : NodePtr();
    }
    return {};
}

NodePtr Node::FindById(uint64_t id) const
{
    for (auto it = TreeIter::Begin(GetSelf()); it != TreeIter::End(); ++it)
    {
        if ((*it)->GetId() == id)
            return *it;
    }
    return {};
}

int Node::RemoveChild(const NodePtr& node)
{
    if (!node)
        return 0;
    for (size_t i = 0; i < m_children.size(); ++i)
    {
        if (m_children[i]->GetId() == node->GetId())
        {
            RemoveChildAt(static_cast<int32_t>(i));
            return 1;
        }
    }
    return 0;
}

int Node::RemoveNodeById(uint64_t id)
{
    NodePtr node = FindById(id);
    if (!node)
        return 0;
    NodePtr parent = node->GetParent();
    if (!parent)
        return 0;
    parent->RemoveChild(node);
    return 1;
}

} // namespace zorvpro
