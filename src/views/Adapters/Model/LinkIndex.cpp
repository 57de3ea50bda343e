#include "views/Adapters/Model/LinkIndex.h"

#include "views/Render/VenueView3D.h"

namespace zorvpro
{
namespace
{
template <typename T> T FirstOf(const std::set<T>& set)
{
    return set.empty() ? T() : *set.begin();
}
} // namespace

LinkIndex::Ref LinkIndex::Of(view::VenueView3D* view)
{
    return Ref{Kind::View, view ? view->GetId() : 0, view, nullptr, nullptr};
}

LinkIndex::Ref LinkIndex::OfAdorner(const view::EntityPtr& adorner)
{
    return Ref{Kind::Adorner, adorner ? adorner->GetId() : 0, nullptr, adorner, nullptr};
}

LinkIndex::Ref LinkIndex::OfEntity(const view::EntityPtr& entity)
{
    return Ref{Kind::Entity, entity ? entity->GetId() : 0, nullptr, entity, nullptr};
}

LinkIndex::Ref LinkIndex::Of(const NodePtr& node)
{
    return Ref{Kind::Node, node ? node->GetId() : 0, nullptr, nullptr, node};
}

bool LinkIndex::IsNull(const Ref& ref)
{
    return ref.view == nullptr && !ref.entity && !ref.node;
}

void LinkIndex::Insert(std::uint64_t entryId, const Ref& ref)
{
    LinkEntry& entry = entries[entryId];
    holders[ref.id].insert(entryId);
    switch (ref.kind)
    {
    case Kind::View:
        entry.views.insert(ref.view);
        allViews.insert(ref.view);
        break;
    case Kind::Adorner:
        entry.adorners.insert(ref.entity);
        allAdorners.insert(ref.entity);
        break;
    case Kind::Entity:
        entry.entities.insert(ref.entity);
        allEntities.insert(ref.entity);
        break;
    case Kind::Node:
        entry.nodes.insert(ref.node);
        allNodes.insert(ref.node);
        break;
    }
}

void LinkIndex::LinkOneWay(const Ref& a, const Ref& b)
{
    Insert(a.id, b);
    Insert(a.id, a);
    Insert(b.id, b);
}

void LinkIndex::LinkPair(const Ref& a, const Ref& b)
{
    if (IsNull(a) || IsNull(b))
        return;
    LinkOneWay(a, b);
    LinkOneWay(b, a);
}

void LinkIndex::LinkEntityNodeView(const view::EntityPtr& entity, const NodePtr& node,
                                   view::VenueView3D* view)
{
    LinkPair(Of(view), OfEntity(entity));
    LinkPair(OfEntity(entity), Of(node));
    LinkPair(Of(view), Of(node));
}

void LinkIndex::LinkAdorner(const view::EntityPtr& adorner, view::VenueView3D* view,
                            const view::EntityPtr& entity)
{
    LinkPair(OfAdorner(adorner), Of(view));
    LinkPair(OfAdorner(adorner), OfEntity(entity));
    LinkPair(Of(view), OfEntity(entity));
}

void LinkIndex::LinkAdorner(const view::EntityPtr& adorner, view::VenueView3D* view,
                            const view::EntityPtr& entity, const NodePtr& node)
{
    LinkAdorner(adorner, view, entity);
    LinkPair(OfAdorner(adorner), Of(node));
    LinkPair(Of(view), Of(node));
    LinkPair(OfEntity(entity), Of(node));
}

void LinkIndex::Unlink(const Ref& ref)
{
    if (IsNull(ref))
        return;
    auto erase = [&](LinkEntry& entry)
    {
        switch (ref.kind)
        {
        case Kind::Adorner:
            entry.adorners.erase(ref.entity);
            break;
        case Kind::Entity:
            entry.entities.erase(ref.entity);
            break;
        case Kind::Node:
            entry.nodes.erase(ref.node);
            break;
        case Kind::View:
            break;
        }
    };
    switch (ref.kind)
    {
    case Kind::Adorner:
        allAdorners.erase(ref.entity);
        break;
    case Kind::Entity:
        allEntities.erase(ref.entity);
        break;
    case Kind::Node:
        allNodes.erase(ref.node);
        break;
    case Kind::View:
        return;
    }
    // Only the entries that took the object in hold it.
    const auto held = holders.find(ref.id);
    if (held == holders.end())
        return;
    for (std::uint64_t id : held->second)
    {
        const auto found = entries.find(id);
        if (found != entries.end())
            erase(found->second);
    }
    holders.erase(held);
}

void LinkIndex::UnlinkAdorner(const view::EntityPtr& adorner)
{
    Unlink(OfAdorner(adorner));
}

void LinkIndex::UnlinkEntity(const view::EntityPtr& entity)
{
    Unlink(OfEntity(entity));
}

void LinkIndex::UnlinkNode(const NodePtr& node)
{
    Unlink(Of(node));
}

const LinkEntry& LinkIndex::EntryOf(std::uint64_t id) const
{
    static const LinkEntry empty;
    const auto found = entries.find(id);
    return found == entries.end() ? empty : found->second;
}

view::EntityPtr LinkIndex::GetEntityByNodeId(std::uint64_t id) const
{
    return FirstOf(EntryOf(id).entities);
}

NodePtr LinkIndex::GetNodeByEntityId(std::uint64_t id) const
{
    return FirstOf(EntryOf(id).nodes);
}

view::EntityPtr LinkIndex::GetAdornerByEntityId(std::uint64_t id) const
{
    return FirstOf(EntryOf(id).adorners);
}

view::EntityPtr LinkIndex::GetEntityForNode(const NodePtr& node) const
{
    return node ? GetEntityByNodeId(node->GetId()) : view::EntityPtr();
}

NodePtr LinkIndex::GetNodeForEntity(const view::EntityPtr& entity) const
{
    return entity ? GetNodeByEntityId(entity->GetId()) : NodePtr();
}

std::size_t LinkIndex::CountMovable(IdList::const_iterator first, IdList::const_iterator last) const
{
    std::size_t count = 0;
    for (; first != last; ++first)
    {
        const view::EntityPtr entity = GetEntityByNodeId(*first);
        if (entity && entity->isVisible() && !entity->isLocked())
            ++count;
    }
    return count;
}

LinkIndex::IdList::const_iterator LinkIndex::FindFirstMovable(IdList::const_iterator first,
                                                              IdList::const_iterator last) const
{
    for (; first != last; ++first)
    {
        const view::EntityPtr entity = GetEntityByNodeId(*first);
        if (entity && entity->isVisible() && !entity->isLocked())
            return first;
    }
    return last;
}

void LinkIndex::Clear()
{
    entries.clear();
    holders.clear();
    allViews.clear();
    allAdorners.clear();
    allEntities.clear();
    allNodes.clear();
}

void SelectionMap::SetSelectedFlag(std::uint64_t id, bool selected)
{
    const auto found = flags.find(id);
    if (found != flags.end())
        found->second = selected;
}

std::vector<std::uint64_t> SelectionMap::CollectSelectedIds() const
{
    std::vector<std::uint64_t> ids;
    for (const auto& [id, selected] : flags)
        if (selected)
            ids.push_back(id);
    return ids;
}
} // namespace zorvpro
