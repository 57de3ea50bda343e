#pragma once

#include "acoustics/model/RecursiveMutex.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace zorvpro::acoustics
{

// A part of the acoustic model tree (component, loudspeaker, cluster) with its
// own lock and a process-unique id. Children are shared; the parent is a
// plain back reference set by the parent.
class Node
{
public:
    using Ptr = std::shared_ptr<Node>;

    Node();
    // A new id, the same parent and the same (shared) children. Throws
    // std::invalid_argument when a node is copied from itself.
    Node(const Node& other);
    Node& operator=(const Node&) = delete;
    virtual ~Node();

    uint64_t getId() const { return id; }
    Node* getParent() const { return parent.load(); }
    // A copy of the children list.
    std::vector<Ptr> getChildren() const;

    Ptr findChild(uint64_t childId) const;
    bool hasChild(uint64_t childId) const;
    bool hasChild(const Ptr& child) const;
    Ptr lastChild() const;

    // Inserts child before position (after it when after is true). With no
    // position the child is taken only by an empty list.
    bool insertChild(const Ptr& child, const Ptr& position, bool after);
    bool addChild(const Ptr& child);
    bool removeChild(const Ptr& child);

protected:
    mutable RecursiveTimedMutex nodeLock;

private:
    uint64_t id;
    std::atomic<Node*> parent{nullptr};
    std::vector<Ptr> children;
};

uint64_t nextNodeId();

} // namespace zorvpro::acoustics
