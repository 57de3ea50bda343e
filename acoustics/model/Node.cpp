#include "acoustics/model/Node.h"

#include "acoustics/model/IdCounter.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>

namespace zorvpro::acoustics
{

uint64_t nextNodeId()
{
    static IdCounter counter;
    return counter.next();
}

Node::Node() : id(nextNodeId()) {}

Node::Node(const Node& other) : id(nextNodeId())
{
    if (&other == this)
        throw std::invalid_argument("ScopedLockPair cctor");
    std::scoped_lock both(nodeLock, other.nodeLock);
    parent = other.parent.load();
    children = other.children;
}

Node::~Node()
{
    // Children may outlive this node; leave them no dangling back reference.
    for (const auto& child : children)
    {
        Node* self = this;
        child->parent.compare_exchange_strong(self, nullptr);
    }
}

std::vector<Node::Ptr> Node::getChildren() const
{
    ScopedLock lock(nodeLock);
    return children;
}

Node::Ptr Node::findChild(uint64_t childId) const
{
    ScopedLock lock(nodeLock);
    for (const auto& child : children)
        if (child->getId() == childId)
            return child;
    return {};
}

bool Node::hasChild(uint64_t childId) const
{
    return findChild(childId) != nullptr;
}

bool Node::hasChild(const Ptr& child) const
{
    return child && hasChild(child->getId());
}

Node::Ptr Node::lastChild() const
{
    ScopedLock lock(nodeLock);
    return children.empty() ? Ptr() : children.back();
}

bool Node::insertChild(const Ptr& child, const Ptr& position, bool after)
{
    if (!child || child == position || child->getId() == id)
        return false;
    ScopedLock lock(nodeLock);
    if (hasChild(child))
        return false;
    if (!position)
    {
        if (!children.empty())
            return false;
        children.push_back(child);
    }
    else
    {
        auto it = std::find(children.begin(), children.end(), position);
        if (it == children.end())
            return false;
        children.insert(after ? it + 1 : it, child);
    }
    child->parent = this;
    return true;
}

bool Node::addChild(const Ptr& child)
{
    ScopedLock lock(nodeLock);
    return insertChild(child, lastChild(), true);
}

bool Node::removeChild(const Ptr& child)
{
    if (!child)
        return false;
    ScopedLock lock(nodeLock);
    auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end())
        return false;
    child->parent = nullptr;
    children.erase(it);
    return true;
}

} // namespace zorvpro::acoustics
