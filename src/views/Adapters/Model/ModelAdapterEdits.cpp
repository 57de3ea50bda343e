#include "core/Nodes/PhysicalNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Model/ModelAdapter.h"
#include "views/Adapters/Model/TreeWalk.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/PropertyName.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <QList>
#include <QTableWidgetItem>
#include <algorithm>
#include <unordered_set>

namespace zorvpro
{
namespace
{
NodePtr VenueRoot()
{
    Venue* venue = ProjectDefinition::Instance()->GetVenue();
    return venue != nullptr ? venue->GetRoot() : NodePtr();
}

constexpr std::uint32_t kListenerPlaneAdorner = 2;
constexpr std::uint32_t kSelectionAdorner = 1;
} // namespace

std::uint32_t ModelAdapter::SwappedBatchPosition(std::uint32_t position)
{
    if (position == kBatchFirst)
        return kBatchLast;
    if (position == kBatchLast)
        return kBatchFirst;
    return position;
}

std::uint32_t ModelAdapter::BatchPositionOf(std::size_t index, std::size_t count)
{
    if (count <= 1)
        return kBatchOnly;
    if (index == 0)
        return kBatchFirst;
    return index + 1 == count ? kBatchLast : kBatchMiddle;
}

// ---------------------------------------------------------------- loading

void ModelAdapter::LoadVenue()
{
    const bool wasLoading = loading;
    loading = true;
    UpdateToolbarProperty(toPropertyName(BeamSpeakerItem::Toolbar_LinkViews), zoomPaired);
    ResetViews(false);
    const NodePtr root = VenueRoot();
    if (!root)
        LogError("Missing root node in load venue");
    else
        VisitPreOrder(root, [this](const NodePtr& node) { AddNode(node, false, false, false, kBatchOnly); });
    loading = wasLoading;
}

// ---------------------------------------------------------------- node edits

void ModelAdapter::AddNode(const NodePtr& node, bool undoable, bool toTree, bool select,
                           std::uint32_t batchPosition)
{
    if (!node || !IsOwnNode(node))
        return;
    if (undoable)
    {
        GenericFunctorCommand command(
            QString("Add %1").arg(QString::fromStdString(node->GetName())),
            [this, node, select, batchPosition]
            {
                AddNode(node, false, true, select, batchPosition);
                return true;
            },
            [this, node, batchPosition]
            { RemoveNode(node, false, true, true, SwappedBatchPosition(batchPosition)); });
        UndoStack::Push(&command);
        return;
    }
    if (links.GetEntityForNode(node))
    {
        LogWarning("Node double added");
        return;
    }
    AddListRow(node);
    if (const NodePtr root = VenueRoot(); !root)
        LogError("Missing add root node in venue in VenueTabAdapter");
    else if (toTree)
    {
        root->AddChild(node);
        if (batchPosition == kBatchLast || batchPosition == kBatchOnly)
            emit entitiesChanged();
    }
    const view::EntityPtr entity = CreateEntity(node);
    if (entity)
    {
        for (view::VenueView3D* view : views)
        {
            view->AddEntity(entity);
            if (view == sideView && dynamic_cast<view::QuadEntity*>(entity.get()) != nullptr)
                AddAdorner(view, entity, kListenerPlaneAdorner);
            else
                links.LinkEntityNodeView(entity, node, view);
        }
        if (splAdapter != nullptr && toTree)
            splAdapter->NodeChanged(ISplNodeListener::kAdded, node);
        selection.AddUnselected(entity->GetId());
        if (select && IsSelectable(entity))
            SetSelection(true, {entity}, true, false);
    }
    if (std::dynamic_pointer_cast<PhysicalNode>(node))
        placement->RegisterNode(node);
}

void ModelAdapter::DetachNode(const NodePtr& node)
{
    if (!node)
        return;
    if (entityList != nullptr && entityList->indexOfEntity(node->GetId()) >= 0)
    {
        if (!entityList->selectedItems().isEmpty())
            entityList->clearSelectedEntities();
        entityList->removeEntity(node->GetId());
    }
    const view::EntityPtr entity = links.GetEntityForNode(node);
    if (!entity)
    {
        LogWarning(QString("Removing nonexistent node%1").arg(QString::fromStdString(node->GetName())));
        return;
    }
    for (view::VenueView3D* view : views)
    {
        RemoveAdorners(view, entity, kAllAdorners);
        view->RemoveEntity(entity);
    }
    const bool wasSelected = selection.IsSelected(entity->GetId());
    selection.EraseId(entity->GetId());
    links.UnlinkEntity(entity);
    links.UnlinkNode(node);
    if (std::dynamic_pointer_cast<PhysicalNode>(node))
        placement->UnregisterNode(node);
    if (wasSelected)
        emit selectionChanged();
}

void ModelAdapter::RemoveNode(const NodePtr& node, bool undoable, bool unlockFirst, bool fromTree,
                              std::uint32_t batchPosition)
{
    if (!node)
        return;
    const bool wasLocked = IsNodeLocked(node);
    if (unlockFirst)
        SetNodeLocked(node, false);
    const bool relock = unlockFirst && wasLocked;
    const bool dealtWith = SetGenericValue(
        node, 0, undoable, QString("Delete %1").arg(QString::fromStdString(node->GetName())),
        [this, node, batchPosition] { RemoveNode(node, false, false, true, batchPosition); },
        [this, node, relock, batchPosition]
        {
            if (relock)
                SetNodeLocked(node, true);
            AddNode(node, false, true, true, SwappedBatchPosition(batchPosition));
        });
    if (dealtWith)
        return;
    if (fromTree)
    {
        if (const NodePtr root = VenueRoot())
        {
            root->RemoveNodeById(node->GetId());
            if (splAdapter != nullptr)
                splAdapter->NodeChanged(ISplNodeListener::kRemoved, node);
            if (batchPosition == kBatchLast || batchPosition == kBatchOnly)
                emit entitiesChanged();
        }
        else
            LogError("Missing remove root node in venue in VenueTabAdapter");
    }
    DetachNode(node);
}

void ModelAdapter::DeleteSelected(bool undoable)
{
    // Locked items refuse their removal: with nothing else selected there is no edit and no
    // step. Batch positions count only what is removed, so the last removal tells the other tab.
    std::vector<NodePtr> nodes;
    for (std::uint64_t id : selection.CollectSelectedIds())
    {
        NodePtr node = links.GetNodeByEntityId(id);
        if (node && IsFieldEditable(node, 0))
            nodes.push_back(std::move(node));
    }
    if (nodes.empty())
        return;
    UndoStack::BeginMacro(tr("Delete"));
    for (std::size_t i = 0; i < nodes.size(); ++i)
        RemoveNode(nodes[i], undoable, false, true, BatchPositionOf(i, nodes.size()));
    UndoStack::EndMacro();
}

void ModelAdapter::AddNewItem(bool undoable)
{
    const NodePtr node = CreateNewNode();
    if (!node)
        return;
    if (planView != nullptr)
        placement->PlaceNode(node, IsMetricUnits(), planView->GetViewport().GetBoundingBox(),
                             PlacementRegistry::kModeNew, false);
    AddNode(node, undoable, true, true, kBatchOnly);
}

std::string ModelAdapter::MakeUniqueItemName()
{
    const QString base = QString::fromStdString(GetItemName(nullptr));
    // One walk of the tree for all candidates: a venue of n items would otherwise cost n walks.
    const std::unordered_set<std::string> taken = CollectNodeNames();
    for (int n = 1;; ++n)
    {
        const std::string candidate = QString("%1 %2").arg(base).arg(n).toStdString();
        if (taken.count(candidate) == 0)
            return candidate;
    }
}

NodePtr ModelAdapter::FindNodeByName(const std::string& name) const
{
    const NodePtr root = VenueRoot();
    if (!root)
        return nullptr;
    NodePtr found;
    VisitPreOrder(root,
                  [&](const NodePtr& node)
                  {
                      if (!found && node->GetName() == name)
                          found = node;
                  });
    return found;
}

// ---------------------------------------------------------------- selection and adorners

void ModelAdapter::SetSelection(bool replace, const std::vector<view::EntityPtr>& entities, bool updateList,
                                bool confirmFlag)
{
    const IdVector oldIds = selection.CollectSelectedIds();
    IdVector newIds = replace ? IdVector() : oldIds;
    for (const view::EntityPtr& entity : entities)
    {
        if (!entity)
            continue;
        const auto found = std::find(newIds.begin(), newIds.end(), entity->GetId());
        if (found != newIds.end())
            newIds.erase(found);
        else
            newIds.push_back(entity->GetId());
    }
    IdVector sortedNew = newIds;
    std::sort(sortedNew.begin(), sortedNew.end());
    if (sortedNew == oldIds)
        return;
    if (!ConfirmSelection(oldIds, newIds, confirmFlag))
        return;
    if (replace)
        for (const std::uint64_t id : oldIds)
            ToggleSelected(links.GetEntityByNodeId(id));
    if (entities.empty())
    {
        if (entityList != nullptr && !entityList->selectedItems().isEmpty())
            entityList->clearSelectedEntities();
    }
    else
    {
        for (const view::EntityPtr& entity : entities)
            ToggleSelected(entity);
        const IdVector selected = selection.CollectSelectedIds();
        if (updateList && entityList != nullptr)
        {
            IdList nodeIds;
            for (const std::uint64_t id : selected)
                if (const NodePtr node = links.GetNodeByEntityId(id);
                    node && entityList->indexOfEntity(node->GetId()) >= 0)
                    nodeIds.push_back(node->GetId());
            entityList->setSelectedEntities(nodeIds);
        }
        for (const std::uint64_t id : selected)
            if (const view::EntityPtr entity = links.GetEntityByNodeId(id))
                SetEntitySelected(entity, true, kSelectionAdorner);
        if (selected.size() == 1)
            if (const view::EntityPtr entity = links.GetEntityByNodeId(selected.front()))
                UpdatePropertyPanel(entity);
    }
    SelectionApplied(oldIds, newIds);
    emit selectionChanged();
}

void ModelAdapter::ToggleSelected(const view::EntityPtr& entity)
{
    if (!entity)
        return;
    const bool selected = entity->isSelected();
    SetEntitySelected(entity, !selected, kSelectionAdorner);
    selection.SetSelectedFlag(entity->GetId(), !selected);
}

void ModelAdapter::SetEntitySelected(const view::EntityPtr& entity, bool selected, std::uint32_t adornerKind)
{
    if (!entity)
        return;
    // The entity's own setter marks it dirty, signals the change and lets it redraw its selection.
    entity->setSelected(selected);
    // Selecting again renews the adorners instead of stacking a second set on the first.
    for (view::VenueView3D* view : {planView, sideView})
    {
        RemoveAdorners(view, entity, adornerKind);
        if (selected)
            AddAdorner(view, entity, adornerKind);
    }
}

void ModelAdapter::SelectAll()
{
    if (planView == nullptr)
        return;
    std::vector<view::EntityPtr> collected;
    for (const view::EntityPtr& entity : planView->GetEntities())
        if (entity && IsSelectable(entity))
            collected.push_back(entity);
    SetSelection(true, collected, true, false);
}

void ModelAdapter::AddAdorner(view::VenueView3D* view, const view::EntityPtr& entity,
                              std::uint32_t adornerKind)
{
    if (view == nullptr || !entity)
    {
        LogError("Null view or entity in AddAdorner");
        return;
    }
    const view::EntityPtr adorner =
        CreateAdorner(view->GetViewport(), entity, kAdornerExtent, view == sideView, adornerKind);
    if (!adorner)
    {
        LogError("Could not allocate adorner");
        return;
    }
    view->AddEntity(adorner);
    if (const NodePtr node = links.GetNodeForEntity(entity))
        links.LinkAdorner(adorner, view, entity, node);
    else
        links.LinkAdorner(adorner, view, entity);
}

void ModelAdapter::RemoveAdorners(view::VenueView3D* view, const view::EntityPtr& entity,
                                  std::uint32_t adornerKind)
{
    if (view == nullptr || !entity)
    {
        LogError("Null view or entity in RemoveAdorners");
        return;
    }
    std::vector<view::EntityPtr> removed;
    for (const view::EntityPtr& adorner : links.EntryOf(entity->GetId()).adorners)
    {
        // The index knows which view holds an adorner: no walk over the view's render list.
        if (links.EntryOf(adorner->GetId()).views.count(view) == 0)
            continue;
        if (adornerKind != kAllAdorners && GetAdornerKind(adorner) != adornerKind)
            continue;
        view->RemoveEntity(adorner);
        removed.push_back(adorner);
    }
    for (const view::EntityPtr& adorner : removed)
        links.UnlinkAdorner(adorner);
}

math::BBox ModelAdapter::GetSceneBounds(bool filter)
{
    math::BBox bounds;
    bool any = false;
    auto add = [&](const view::EntityPtr& entity)
    {
        if (filter && !IsFitRelevant(entity))
            return;
        const auto box = entity->BoundingBox();
        if (!box || (box->min == math::Vec3() && box->max == math::Vec3()))
            return;
        bounds = any ? math::BBox::Union(bounds, *box) : *box;
        any = true;
    };
    for (const view::EntityPtr& entity : links.AllEntities())
        add(entity);
    for (const view::EntityPtr& adorner : links.AllAdorners())
        add(adorner);
    return bounds;
}

// ---------------------------------------------------------------- generic fields

void ModelAdapter::ApplyDoubleValue(const NodePtr& node, std::uint32_t fieldId, double value, bool createUndo)
{
    ProcessGenericValue(node, fieldId, value, createUndo, GetDoubleFields(), &ModelAdapter::ApplyDoubleValue);
}

void ModelAdapter::ApplyBoolValue(const NodePtr& node, std::uint32_t fieldId, bool value, bool createUndo)
{
    ProcessGenericValue(node, fieldId, value, createUndo, GetBoolFields(), &ModelAdapter::ApplyBoolValue);
}

void ModelAdapter::ApplyVisibilityValue(const NodePtr& node, std::uint32_t fieldId, bool value,
                                        bool createUndo)
{
    ProcessGenericValue(node, fieldId, value, createUndo, GetBoolFields(),
                        &ModelAdapter::ApplyVisibilityValue);
    // The maps follow once per applied change: the redo and undo of a step come back here.
    if (splAdapter != nullptr && !createUndo)
        splAdapter->HandleEntityVisibility(node);
}

void ModelAdapter::ApplyColorValue(const NodePtr& node, std::uint32_t fieldId, QColor value, bool createUndo)
{
    ProcessGenericValue(node, fieldId, value, createUndo, GetColorFields(), &ModelAdapter::ApplyColorValue);
}

void ModelAdapter::ApplyNameValue(const NodePtr& node, std::uint32_t fieldId, std::string value,
                                  bool createUndo)
{
    ProcessGenericValue(node, fieldId, std::move(value), createUndo, GetTextFields(),
                        &ModelAdapter::ApplyNameValue);
}

void ModelAdapter::SetPropertyValue(const NodePtr& node, std::uint32_t fieldId, const QVariant& value)
{
    // A node without a row (an array shown for context) has nothing to show.
    if (entityList == nullptr || !node || entityList->indexOfEntity(node->GetId()) < 0)
        return;
    entityList->updatePropertyValue(node->GetId(), beamSpeakerItemName(static_cast<BeamSpeakerItem>(fieldId)),
                                    value);
}
} // namespace zorvpro
