#include "core/Nodes/PhysicalNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Model/CopyBuffer.h"
#include "views/Adapters/Model/ModelAdapter.h"
#include "views/Adapters/Model/TreeWalk.h"
#include "views/Render/Camera.h"
#include "views/Render/GridEntity.h"
#include "views/Render/VenueView3D.h"

#include <algorithm>

namespace zorvpro
{
std::unordered_set<std::string> ModelAdapter::CollectNodeNames() const
{
    std::unordered_set<std::string> names;
    Venue* venue = ProjectDefinition::Instance()->GetVenue();
    VisitPreOrder(venue != nullptr ? venue->GetRoot() : NodePtr(),
                  [&names](const NodePtr& node) { names.insert(node->GetName()); });
    return names;
}

void ModelAdapter::MoveEntity(const view::EntityPtr&, const math::Vec3&, bool, bool, std::uint32_t) {}

void ModelAdapter::CopySelected(bool skipLocked, bool cut)
{
    std::vector<CopyRecord> records;
    for (std::uint64_t id : selection.CollectSelectedIds())
    {
        const NodePtr node = links.GetNodeByEntityId(id);
        if (!node || (skipLocked && IsNodeLocked(node)))
            continue;
        records.push_back(CopyRecord::FromNode(*node));
    }
    CopyBuffer::Instance().Set(std::move(records), cut);
}

std::string ModelAdapter::MakeCopyName(const std::string& name) const
{
    const std::unordered_set<std::string> taken = CollectNodeNames();
    if (taken.count(name) == 0)
        return name;
    const QString original = QString::fromStdString(name);
    for (int n = 1;; ++n)
    {
        const std::string candidate = QString("Copy %1 of %2").arg(n).arg(original).toStdString();
        if (taken.count(candidate) == 0)
            return candidate;
    }
}

void ModelAdapter::Paste()
{
    const std::vector<CopyRecord> records = CopyBuffer::Instance().Records();
    const bool fromCut = CopyBuffer::Instance().IsCut();
    if (records.empty())
        return;
    bool macro = false;
    std::vector<NodePtr> toPlace;
    for (const CopyRecord& record : records)
    {
        // The children are attached before the node joins the venue: attach hooks reach only the
        // node itself.
        const NodePtr node = record.Build();
        if (!node || !MayPaste(node))
            continue;
        if (!macro && records.size() > 1)
        {
            UndoStack::BeginMacro("Paste");
            macro = true;
        }
        SetNodeLocked(node, false);
        if (std::dynamic_pointer_cast<PhysicalNode>(node))
            toPlace.push_back(node);
        else
            AddNode(node, true, true, true, kBatchOnly);
        node->SetName(MakeCopyName(node->GetName()));
    }
    if (planView != nullptr && !toPlace.empty())
        placement->PlaceNodes(toPlace, IsMetricUnits(), planView->GetViewport().GetBoundingBox(),
                              fromCut ? PlacementRegistry::kModeCut : PlacementRegistry::kModeCopy, true);
    std::vector<view::EntityPtr> pasted;
    for (std::size_t i = 0; i < toPlace.size(); ++i)
    {
        AddNode(toPlace[i], true, true, false, BatchPositionOf(i, toPlace.size()));
        const view::EntityPtr entity = links.GetEntityForNode(toPlace[i]);
        if (entity && IsSelectable(entity))
            pasted.push_back(entity);
    }
    if (!pasted.empty())
        SetSelection(true, pasted, true, false);
    if (macro)
        UndoStack::EndMacro();
}

void ModelAdapter::MoveSelected(std::uint32_t direction, bool fine)
{
    if (activeView == nullptr)
        return;
    const bool metric = IsMetricUnits();
    const double step = metric ? (fine ? 0.1 : 1.0) : (fine ? 0.0762 : 0.9144);
    view::Camera& camera = activeView->GetCamera();
    const math::Vec3 across = camera.Right() * step;
    const math::Vec3 up = camera.Up() * step;
    math::Vec3 offset;
    switch (direction)
    {
    case 0:
        offset = across;
        break;
    case 1:
        offset = up;
        break;
    case 2:
        offset = -across;
        break;
    case 3:
        offset = -up;
        break;
    default:
        return;
    }
    const bool sideways = direction == 0 || direction == 2;
    const IdVector ids = selection.CollectSelectedIds();
    std::vector<view::EntityPtr> movable;
    for (std::uint64_t id : ids)
    {
        const view::EntityPtr entity = links.GetEntityByNodeId(id);
        if (!entity)
            continue;
        // Hidden and locked items stay where they are; with only those selected nothing moves, no
        // step is made and the view does not pan.
        if (!entity->isVisible() || entity->isLocked())
            continue;
        if (sideways ? MayMoveAcross(entity, activeView->GetId()) : MayMoveUp(entity, activeView->GetId()))
            movable.push_back(entity);
    }
    if (movable.empty())
        return;
    const bool macro = ids.size() > 1;
    if (macro)
        UndoStack::BeginMacro(tr("Move selected"));
    math::BBox box;
    bool boxed = false;
    for (std::size_t i = 0; i < movable.size(); ++i)
    {
        const view::EntityPtr& entity = movable[i];
        MoveEntity(entity, offset, true, true, BatchPositionOf(i, movable.size()));
        if (const auto bounds = entity->BoundingBox())
        {
            box = boxed ? math::BBox::Union(box, *bounds) : *bounds;
            boxed = true;
        }
    }
    if (boxed)
        EnsureBoxVisible(activeView, box);
    StoreViewCamera(activeView->GetId());
    if (macro)
        UndoStack::EndMacro();
}

void ModelAdapter::EnsureBoxVisible(view::VenueView3D* view, const math::BBox& box)
{
    if (view == nullptr || !view->GetGrid())
        return;
    const auto visible = view->GetGrid()->BoundingBox();
    if (!visible)
        return;
    const double scale = std::max(view->GetViewport().pixelsPerMeter(), 0.001);
    const double margin = 15.0 / scale;
    const double edge = 10.0 / scale;
    math::Vec3 offset;
    bool inside = true;
    for (int axis = 0; axis < 3; ++axis)
    {
        const double a0 = visible->min[axis];
        const double a1 = visible->max[axis];
        const double c0 = box.min[axis] - margin;
        const double c1 = box.max[axis] + margin;
        if (c0 < a0 || c1 > a1)
            inside = false;
        if (a1 - a0 > c1 - c0)
            offset[axis] = a0 > c0 ? c0 - a0 - edge : (c1 > a1 ? c1 - a1 + edge : 0.0);
        else
            offset[axis] = c0 > a1 ? c0 - a1 + (a1 - a0) / 2.0 : (a0 > c1 ? c1 - a0 - (a1 - a0) / 2.0 : 0.0);
    }
    if (inside)
        return;
    if (view == planView)
        offset.z = 0.0;
    else
        offset.x = offset.y = 0.0;
    view->GetViewport().Pan(offset);
    // The grid is the visible box: it follows at once, so that the next nudge (keys repeat
    // faster than the views repaint) does not pan again from the old box.
    view->GetGrid()->UpdateLayout(view->GetViewport());
}
} // namespace zorvpro
