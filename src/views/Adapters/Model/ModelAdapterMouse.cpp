#include "core/math/Intersections.h"
#include "views/Adapters/Model/ModelAdapter.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Render/Camera.h"
#include "views/Render/GridEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/MouseHandler.h"
#include "views/Render/SelectionBoxEntity.h"
#include "views/Render/VenueView3D.h"

#include <QKeySequence>
#include <algorithm>

namespace zorvpro
{
namespace
{
// A pan may not carry the line of sight farther than this from the world origin.
constexpr double kMaxSightDistance = 1200.0;
// Rectangle selection spans this depth across the view.
constexpr double kSelectionDepth = 1000.0;

bool Contains(const math::BBox& outer, const math::BBox& inner)
{
    for (int axis = 0; axis < 3; ++axis)
        if (inner.min[axis] < outer.min[axis] || inner.max[axis] > outer.max[axis])
            return false;
    return true;
}

math::Vec3 WorldAt(view::VenueView3D* view, double x, double y)
{
    return view->GetViewport().ScreenToRay(qRound(x), qRound(y)).origin;
}
} // namespace

void ModelAdapter::HandleSelectionAction(const view::MouseAction&) {}

std::unique_ptr<view::MouseHandler> ModelAdapter::CreateMouseHandler(view::VenueView3D*)
{
    return std::make_unique<view::MouseHandler>();
}

view::MouseHandler* ModelAdapter::GetMouseHandler(view::VenueView3D* view) const
{
    const auto it = mouseHandlers.find(view);
    return it != mouseHandlers.end() ? it->second.get() : nullptr;
}

void ModelAdapter::AttachMouseHandler(view::VenueView3D* view)
{
    if (view == nullptr || mouseHandlers.count(view) != 0)
        return;
    std::unique_ptr<view::MouseHandler> handler = CreateMouseHandler(view);
    if (!handler)
        return;
    auto callbacks = std::make_shared<view::MouseCallbacks>();
    const std::uint64_t viewId = view->GetId();
    callbacks->hitTest = [this, view](int x, int y) -> view::HitPointPtr
    {
        const math::Ray ray = view->GetViewport().ScreenToRay(x, y);
        if (ray.direction.Length() < 0.5)
            return nullptr;
        const std::vector<view::HitPointPtr> hits = HitTestAll(view, ray);
        return hits.empty() ? nullptr : hits.front();
    };
    callbacks->zoomGetter = [this, view](const view::MouseEvent&)
    { return view == sideView ? sideZoom : planZoom; };
    callbacks->zoomSetter = [this, viewId](double level, QPointF position)
    { ZoomAtPoint(std::clamp(level, 1.0, 100.0), viewId, position); };
    handler->SetCallbacks(viewId, callbacks);
    // The handler's cursors show over its own view only.
    handler->GetCursorOverride().SetWidget(view);
    connect(view, &view::VenueView3D::mouseEvent, handler.get(), &view::MouseHandler::OnMouseEvent);
    connect(handler.get(), &view::MouseHandler::MouseAction, this, &ModelAdapter::HandleMouseAction);
    view->installEventFilter(handler.get());
    mouseHandlers[view] = std::move(handler);
}

void ModelAdapter::RegisterShortcuts()
{
    auto* page = qobject_cast<QWidget*>(parent());
    if (page == nullptr)
        return; // an adapter without a page has no keys
    shortcuts = std::make_unique<KeyboardShortcutHandler>(page);
    // Owned by the adapter alone: were the page its parent too, a page destroyed before the
    // adapter would delete it twice.
    shortcuts->setParent(this);
    auto zoomBy = [this](double step)
    {
        if (activeView == nullptr)
            return;
        if (activeView == sideView)
            setSideViewZoomLevel(std::clamp(sideZoom + step, 1.0, 100.0), true);
        else if (activeView == planView)
            setPlanViewZoomLevel(std::clamp(planZoom + step, 1.0, 100.0), true);
    };
    shortcuts->add(QKeySequence::SelectAll, [this] { SelectAll(); });
    shortcuts->add(QKeySequence(Qt::CTRL + Qt::Key_Equal), [zoomBy] { zoomBy(1.0); });
    shortcuts->add(QKeySequence(Qt::CTRL + Qt::Key_Plus), [zoomBy] { zoomBy(1.0); });
    shortcuts->add(QKeySequence::ZoomOut, [zoomBy] { zoomBy(-1.0); });
    const std::pair<int, std::uint32_t> arrows[] = {
        {Qt::Key_Left, 2}, {Qt::Key_Right, 0}, {Qt::Key_Up, 1}, {Qt::Key_Down, 3}};
    for (const auto& [key, direction] : arrows)
    {
        const std::uint32_t d = direction;
        shortcuts->add(QKeySequence(key), [this, d] { MoveSelected(d, false); });
        shortcuts->add(QKeySequence(Qt::CTRL + key), [this, d] { MoveSelected(d, true); });
    }
    shortcuts->add(QKeySequence::Cut,
                   [this]
                   {
                       CopySelected(true, true);
                       DeleteSelected(true);
                   });
    shortcuts->add(QKeySequence::Copy, [this] { CopySelected(false, false); });
    shortcuts->add(QKeySequence::Paste, [this] { Paste(); });
}

view::VenueView3D* ModelAdapter::SetActiveViewById(std::uint64_t id)
{
    view::VenueView3D* view = FindViewById(id);
    if (view != nullptr)
        activeView = view;
    return view;
}

void ModelAdapter::HandleMouseAction(view::MouseAction action)
{
    namespace Code = view::MouseActionCode;
    SetActiveViewById(action.tag);
    switch (action.action)
    {
    case Code::EntityPress:
    {
        if (!IsSelectable(action.entity))
            return;
        const IdVector ids = selection.CollectSelectedIds();
        const bool alreadySelected = std::find(ids.begin(), ids.end(), action.entity->GetId()) != ids.end();
        if (action.control || !alreadySelected)
            SetSelection(!action.control, {action.entity}, true, true);
        if (!action.control && !action.entity->isLocked())
            DragSelected(action);
        return;
    }
    case Code::HandlePress:
        HandleSelectionAction(action);
        return;
    case Code::HandleMove:
    case Code::EntityMove:
    case Code::AreaMove:
        if (dragOperation && dragOperation->InProgress())
            dragOperation->Update(action);
        return;
    case Code::HandleRelease:
    case Code::EntityRelease:
    case Code::AreaRelease:
        if (dragOperation && dragOperation->InProgress())
            dragOperation->Commit(action);
        return;
    case Code::PanMove:
        PanView(action);
        return;
    case Code::PanRelease:
        StoreViewCamera(action.tag);
        return;
    case Code::AreaPress:
        SelectionDrag(action);
        return;
    default:
        return;
    }
}

void ModelAdapter::BeginIterativeUndo(const std::string& name, const view::MouseAction& action,
                                      const DragOperation::UpdateFunctor& step,
                                      const DragOperation::CommitFunctor& finish)
{
    if (dragOperation && dragOperation->InProgress())
        dragOperation->Commit(action);
    auto next = std::make_unique<DragOperation>(name, finish);
    next->SetUpdateFunctor(step);
    dragOperation = std::move(next);
}

void ModelAdapter::DragSelected(const view::MouseAction& action)
{
    const IdVector ids = selection.CollectSelectedIds();
    const auto first = links.FindFirstMovable(ids.begin(), ids.end());
    if (first == ids.end())
        return;
    const std::size_t count = links.CountMovable(ids.begin(), ids.end());
    const view::EntityPtr entity = links.GetEntityByNodeId(*first);
    view::VenueView3D* view = FindViewById(action.tag);
    if (!entity || view == nullptr)
        return;
    const math::Vec3 start = GetCentrePoint(entity);
    auto movables = [this, ids]
    {
        std::vector<view::EntityPtr> found;
        for (std::uint64_t id : ids)
        {
            const view::EntityPtr e = links.GetEntityByNodeId(id);
            if (e && e->isVisible() && !e->isLocked())
                found.push_back(e);
        }
        return found;
    };
    auto step = [this, view, entity, movables](const view::MouseAction& move)
    {
        const double scale = std::max(view->GetViewport().pixelsPerMeter(), 0.001);
        double across = move.delta.x() / scale;
        double up = -move.delta.y() / scale;
        if (!MayMoveAcross(entity, view->GetId()))
            across = 0.0;
        if (!MayMoveUp(entity, view->GetId()))
            up = 0.0;
        const math::Vec3 offset = view->GetCamera().Right() * across + view->GetCamera().Up() * up;
        for (const view::EntityPtr& e : movables())
            MoveEntity(e, offset, false, false, kBatchOnly);
        for (view::VenueView3D* v : views)
            v->update();
    };
    auto finish = [this, view, entity, start, count, movables](bool moved, const view::MouseAction& end)
    {
        if (!moved)
        {
            if (IsSelectable(end.entity))
                SetSelection(true, {end.entity}, true, true);
            return;
        }
        const math::Vec3 offset = GetCentrePoint(entity) - start;
        if (count > 1)
            UndoStack::BeginMacro("Move selected");
        math::BBox box;
        const std::vector<view::EntityPtr> moving = movables();
        for (std::size_t i = 0; i < moving.size(); ++i)
        {
            MoveEntity(moving[i], -offset, false, false, kBatchMiddle);
            MoveEntity(moving[i], offset, true, true, BatchPositionOf(i, moving.size()));
            if (const auto bounds = moving[i]->BoundingBox())
                box = math::BBox::Union(box, *bounds);
        }
        if (count > 1)
            UndoStack::EndMacro();
        EnsureBoxVisible(view, box);
        StoreViewCamera(view->GetId());
    };
    BeginIterativeUndo("Drag selected", action, step, finish);
}

void ModelAdapter::SelectionDrag(const view::MouseAction& action)
{
    view::VenueView3D* view = FindViewById(action.tag);
    if (view == nullptr || !view->GetSelectionBox())
        return;
    if (!ConfirmSelection(selection.CollectSelectedIds(), {}, true))
        return;
    SetSelection(true, {}, true, true);
    const std::shared_ptr<view::SelectionBoxEntity> band = view->GetSelectionBox();
    const QPoint start = action.position;
    band->setStartPt(start);
    band->setDirty(true);
    rubberBandActive = true;
    auto step = [this, view, band, start](const view::MouseAction& move)
    {
        band->setEndPt(move.position);
        band->setDirty(true);
        const int left = std::min(start.x(), move.position.x());
        const int right = std::max(start.x(), move.position.x());
        const int top = std::min(start.y(), move.position.y());
        const int bottom = std::max(start.y(), move.position.y());
        const math::Vec3 w1 = WorldAt(view, left, bottom);
        const math::Vec3 w2 = WorldAt(view, right, top);
        math::Vec3 low(w1.x, w1.y, w1.z);
        math::Vec3 high(w2.x, w2.y, w2.z);
        if (view == planView)
        {
            low.z = -kSelectionDepth;
            high.z = kSelectionDepth;
        }
        else
        {
            low.y = -kSelectionDepth;
            high.y = kSelectionDepth;
        }
        const math::BBox area(low, high); // sorted per axis
        std::vector<view::EntityPtr> inside;
        for (const view::EntityPtr& entity : view->GetEntities())
        {
            const auto bounds = entity->BoundingBox();
            if (bounds && Contains(area, *bounds) && IsSelectable(entity))
                inside.push_back(entity);
        }
        SetSelection(true, inside, true, true);
    };
    auto finish = [this, band](bool, const view::MouseAction&)
    {
        band->setStartPt(QPoint());
        band->setEndPt(QPoint());
        band->setDirty(true);
        rubberBandActive = false;
        std::vector<view::EntityPtr> kept;
        for (std::uint64_t id : selection.CollectSelectedIds())
            if (view::EntityPtr entity = links.GetEntityByNodeId(id))
                kept.push_back(entity);
        SetSelection(true, {}, true, true);
        SetSelection(true, kept, true, true);
    };
    BeginIterativeUndo("Selection drag", action, step, finish);
}

void ModelAdapter::PanView(const view::MouseAction& action)
{
    view::VenueView3D* view = FindViewById(action.tag);
    if (view == nullptr || !view->GetGrid())
        return;
    view::Camera& camera = view->GetCamera();
    const double scale = std::max(view->GetViewport().pixelsPerMeter(), 0.001);
    math::Vec3 offset =
        camera.Right() * (-action.delta.x() / scale) + camera.Up() * (action.delta.y() / scale);
    const math::Vec3 eye = camera.GetPosition() + offset;
    const math::Vec3 far = eye + camera.Forward() * (10.0 * eye.Length());
    math::Vec3 closest;
    const double distance = math::SegmentSegmentDistance(eye, far, {0, 0, 0}, {0, 0, 0}, &closest);
    if (distance > kMaxSightDistance)
        offset = offset - closest * ((distance - kMaxSightDistance) / closest.Length());
    if (offset.x == 0.0 && offset.y == 0.0 && offset.z == 0.0)
        return;
    view->GetViewport().Pan(offset);
    view->GetGrid()->UpdateLayout(view->GetViewport());
}

void ModelAdapter::ZoomViewAbout(view::VenueView3D* view, view::VenueView3D* other, double level,
                                 QPointF pixel)
{
    const double otherMiddle = other->GetViewport().Height() / 2.0;
    const math::Vec3 before = WorldAt(view, pixel.x(), pixel.y());
    const math::Vec3 otherBefore = WorldAt(other, pixel.x(), otherMiddle);
    if (view == planView)
        setPlanViewZoomLevel(level, true);
    else
        setSideViewZoomLevel(level, true);
    const math::Vec3 after = WorldAt(view, pixel.x(), pixel.y());
    view->GetViewport().Pan(before - after);
    StoreViewCamera(view->GetId());
    if (zoomPaired)
    {
        const math::Vec3 otherAfter = WorldAt(other, pixel.x(), otherMiddle);
        other->GetViewport().Pan(otherBefore - otherAfter);
        StoreViewCamera(other->GetId());
    }
}

void ModelAdapter::ZoomAtPoint(double level, std::uint64_t viewId, QPointF pixel)
{
    if (planView == nullptr || sideView == nullptr)
        return;
    if (viewId == planView->GetId())
        ZoomViewAbout(planView, sideView, level, pixel);
    else if (viewId == sideView->GetId())
        ZoomViewAbout(sideView, planView, level, pixel);
}

view::EntityPtr ModelAdapter::PickAt(view::VenueView3D* view, int x, int y)
{
    if (view == nullptr)
        return nullptr;
    const math::Ray ray = view->GetViewport().ScreenToRay(x, y);
    if (ray.direction.Length() < 0.5)
        return nullptr;
    const std::vector<view::HitPointPtr> hits = HitTestAll(view, ray);
    return hits.empty() ? nullptr : hits.front()->entity;
}

std::vector<view::HitPointPtr> ModelAdapter::HitTestAll(view::VenueView3D* view, const math::Ray& ray)
{
    std::vector<view::HitPointPtr> hits;
    if (view == nullptr)
        return hits;
    const double scale = std::max(view->GetViewport().pixelsPerMeter(), 0.001);
    auto ask = [&](const view::EntityPtr& entity)
    {
        if (!entity || !entity->isVisible() || !view->HasEntity(entity))
            return;
        if (view::HitPointPtr hit = entity->Pick(ray, entity, scale))
            hits.push_back(hit);
    };
    for (const view::EntityPtr& adorner : links.AllAdorners())
        ask(adorner);
    for (const view::EntityPtr& entity : links.AllEntities())
        if (IsEntityAccepted(entity))
            ask(entity);
    std::stable_sort(hits.begin(), hits.end(),
                     [](const view::HitPointPtr& a, const view::HitPointPtr& b)
                     { return a->distance < b->distance; });
    return hits;
}
} // namespace zorvpro
