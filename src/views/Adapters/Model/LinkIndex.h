#pragma once

#include "core/Nodes/Node.h"
#include "views/Render/Entity.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace zorvpro
{
namespace view
{
class VenueView3D;
}

// What is linked with one object (and the object itself, in the set of its own kind).
struct LinkEntry
{
    std::set<view::VenueView3D*> views;
    std::set<view::EntityPtr> adorners;
    std::set<view::EntityPtr> entities;
    std::set<NodePtr> nodes;
};

// Views, adorners, entities and nodes of one tab, linked both ways by their unique ids. Holds a
// share of every linked entity, adorner and node. Entries are never erased: a removed object's id
// just finds nothing any more.
class LinkIndex
{
public:
    using IdList = std::vector<std::uint64_t>;

    void LinkEntityNodeView(const view::EntityPtr& entity, const NodePtr& node, view::VenueView3D* view);
    void LinkAdorner(const view::EntityPtr& adorner, view::VenueView3D* view, const view::EntityPtr& entity);
    void LinkAdorner(const view::EntityPtr& adorner, view::VenueView3D* view, const view::EntityPtr& entity,
                     const NodePtr& node);

    void UnlinkAdorner(const view::EntityPtr& adorner);
    void UnlinkEntity(const view::EntityPtr& entity);
    void UnlinkNode(const NodePtr& node);

    view::EntityPtr GetEntityByNodeId(std::uint64_t id) const;
    NodePtr GetNodeByEntityId(std::uint64_t id) const;
    view::EntityPtr GetAdornerByEntityId(std::uint64_t id) const;
    view::EntityPtr GetEntityForNode(const NodePtr& node) const;
    NodePtr GetNodeForEntity(const view::EntityPtr& entity) const;
    // The whole entry of an id; an empty one for an id never linked.
    const LinkEntry& EntryOf(std::uint64_t id) const;

    // Ids (node ids) whose entity exists, is visible and is not locked.
    std::size_t CountMovable(IdList::const_iterator first, IdList::const_iterator last) const;
    IdList::const_iterator FindFirstMovable(IdList::const_iterator first, IdList::const_iterator last) const;

    const std::set<view::VenueView3D*>& AllViews() const { return allViews; }
    const std::set<view::EntityPtr>& AllAdorners() const { return allAdorners; }
    const std::set<view::EntityPtr>& AllEntities() const { return allEntities; }
    const std::set<NodePtr>& AllNodes() const { return allNodes; }
    std::size_t EntryCount() const { return entries.size(); }

    void Clear();

private:
    enum class Kind
    {
        View,
        Adorner,
        Entity,
        Node
    };
    struct Ref
    {
        Kind kind;
        std::uint64_t id;
        view::VenueView3D* view;
        view::EntityPtr entity;
        NodePtr node;
    };
    static Ref Of(view::VenueView3D* view);
    static Ref OfAdorner(const view::EntityPtr& adorner);
    static Ref OfEntity(const view::EntityPtr& entity);
    static Ref Of(const NodePtr& node);
    static bool IsNull(const Ref& ref);

    void Insert(std::uint64_t entryId, const Ref& ref);
    void LinkOneWay(const Ref& a, const Ref& b);
    void LinkPair(const Ref& a, const Ref& b);
    void Unlink(const Ref& ref);

    std::map<std::uint64_t, LinkEntry> entries;
    // For each object id, the ids of the entries that hold it: unlinking visits only those.
    std::map<std::uint64_t, std::set<std::uint64_t>> holders;
    std::set<view::VenueView3D*> allViews;
    std::set<view::EntityPtr> allAdorners;
    std::set<view::EntityPtr> allEntities;
    std::set<NodePtr> allNodes;
};

// The selection of a tab: every shown entity's id, true while it is selected.
class SelectionMap
{
public:
    void AddUnselected(std::uint64_t id) { flags[id] = false; }
    void SetSelectedFlag(std::uint64_t id, bool selected);
    std::size_t EraseId(std::uint64_t id) { return flags.erase(id); }
    // Ascending id order.
    std::vector<std::uint64_t> CollectSelectedIds() const;
    std::size_t CountSelectedIds() const { return CollectSelectedIds().size(); }
    bool IsSelected(std::uint64_t id) const
    {
        const auto found = flags.find(id);
        return found != flags.end() && found->second;
    }
    bool Contains(std::uint64_t id) const { return flags.count(id) != 0; }
    void Clear() { flags.clear(); }

private:
    std::map<std::uint64_t, bool> flags;
};
} // namespace zorvpro
