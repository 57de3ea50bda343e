#pragma once

#include "core/Nodes/Node.h"

#include <cstdint>
#include <vector>

namespace zorvpro
{

// Pre-order walk of one subtree; it never leaves the subtree it began at.
template <class PtrT> class TreeIterT
{
public:
    virtual ~TreeIterT() = default;

    static TreeIterT Begin(const PtrT& root) { return TreeIterT(root, root); }
    static TreeIterT End() { return TreeIterT(PtrT(), PtrT()); }

    TreeIterT& operator++()
    {
        if (!m_current)
            return *this;

        if (PtrT first = m_current->GetChild(0))
        {
            m_current = first;
            return *this;
        }
        if (m_current.get() == m_root.get())
        {
            m_current.reset();
            return *this;
        }
        for (;;)
        {
            PtrT previous = m_current;
            m_current = previous->GetParent();
            if (!m_current)
                return *this;
            if (PtrT next = Node::GetNextSibling(m_current, previous))
            {
                m_current = next;
                return *this;
            }
            if (m_current.get() == m_root.get())
            {
                m_current.reset();
                return *this;
            }
        }
    }

    const PtrT& operator*() const { return m_current; }
    const PtrT& operator->() const { return m_current; }
    bool operator==(const TreeIterT& other) const { return m_current.get() == other.m_current.get(); }
    bool operator!=(const TreeIterT& other) const { return !(*this == other); }

private:
    TreeIterT(const PtrT& root, const PtrT& current) : m_root(root), m_current(current) {}

    PtrT m_root;
    PtrT m_current;
};

using TreeIter = TreeIterT<NodePtr>;

// Walk by index over one children vector.
template <class VectorT> class IndexedIterT
{
public:
    virtual ~IndexedIterT() = default;

    static IndexedIterT Begin(const VectorT& nodes) { return IndexedIterT(0, nodes); }
    static IndexedIterT End(const VectorT& nodes) { return IndexedIterT(nodes.size(), nodes); }

    IndexedIterT& operator++()
    {
        ++m_index;
        return *this;
    }

    const typename VectorT::value_type& operator*() const { return (*m_nodes)[static_cast<size_t>(m_index)]; }
    uint64_t Index() const { return m_index; }
    bool operator==(const IndexedIterT& other) const
    {
        return m_nodes == other.m_nodes && m_index == other.m_index;
    }
    bool operator!=(const IndexedIterT& other) const { return !(*this == other); }

private:
    IndexedIterT(uint64_t index, const VectorT& nodes) : m_index(index), m_nodes(&nodes) {}

    uint64_t m_index;
    const VectorT* m_nodes;
};

using IndexedIter = IndexedIterT<std::vector<NodePtr>>;

} // namespace zorvpro
