#include "views/Adapters/Model/ModelAdapter.h"

#include "Utility/ApiChecker.h"
#include "core/Nodes/NodeIterators.h"
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "data/Settings/UnitSettings.h"
#include "views/Adapters/Model/SplAdapterLink.h"

#include "views/Adapters/Model/ViewMath.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/PropertyName.h"
#include "views/Render/GridEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/SelectionBoxEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <QAction>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace zorvpro
{
namespace
{
const math::Vec3 kDefaultAnchorPoint{0.0, 0.0, 0.0};
const math::Vec3 kDefaultAnchorFraction{0.15, 0.5, 0.2};
constexpr double kCameraDistance = 5000.0;

ProjectSettings* Settings()
{
    return ProjectDefinition::Instance()->GetSettings();
}

QString ItemName(BeamSpeakerItem item)
{
    return toPropertyName(item);
}

// "X", "Y" or "Z" when the direction is that unit axis (within 0.001), else empty.
std::string AxisLetter(const math::Vec3& direction)
{
    auto near = [](double a, double b) { return std::fabs(a - b) <= 0.001 || NearlyEqual(a, b); };
    if (near(direction.x, 1.0) && near(direction.y, 0.0) && near(direction.z, 0.0))
        return "X";
    if (near(direction.x, 0.0) && near(direction.y, 1.0) && near(direction.z, 0.0))
        return "Y";
    if (near(direction.x, 0.0) && near(direction.y, 0.0) && near(direction.z, 1.0))
        return "Z";
    return std::string();
}
} // namespace

ModelAdapter::ModelAdapter(EntitySelectionControl* list, QObject* parent)
    : AdapterBase(parent), entityList(list)
{
    try
    {
        if (entityList != nullptr)
        {
            entityList->setEntityChangeListener(this);
            entityList->setSelectionListener(this);
        }
        connect(Settings(), &ProjectSettings::zoomIsPairedChanged, this, &ModelAdapter::onZoomPairedChanged);
        animations.Start(33);
        undoAction = UndoStack::Instance().createUndoAction(this, QString());
        CheckAlloc(undoAction);
        redoAction = UndoStack::Instance().createRedoAction(this, QString());
        CheckAlloc(redoAction);
        undoAction->setVisible(false);
        redoAction->setVisible(false);
        RegisterShortcuts();
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "ModelAdapter", __LINE__);
        throw std::runtime_error(e.what());
    }
}

ModelAdapter::~ModelAdapter() = default;

void ModelAdapter::LogError(const QString& text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}

void ModelAdapter::LogWarning(const QString& text)
{
    OmbraxLogger::Log(LogLevel::Warning, text);
}

// ---------------------------------------------------------------- base bodies

bool ModelAdapter::ConfirmSelection(const IdVector&, const IdVector&, bool)
{
    return true;
}

void ModelAdapter::SelectionApplied(const IdVector&, const IdVector&) {}

bool ModelAdapter::MayMoveAcross(const view::EntityPtr&, std::uint64_t)
{
    return true;
}

bool ModelAdapter::MayMoveUp(const view::EntityPtr&, std::uint64_t)
{
    return true;
}

bool ModelAdapter::IsNodeLocked(const NodePtr&)
{
    return false;
}

void ModelAdapter::SetNodeLocked(const NodePtr&, bool) {}

std::string ModelAdapter::GetItemName(const NodePtr&)
{
    return "unspecified item name";
}

void ModelAdapter::ApplyEntityColors(const view::EntityPtr& entity)
{
    if (auto* box = dynamic_cast<view::SelectionBoxEntity*>(entity.get()))
    {
        box->setColor(lightTheme ? QColor(119, 119, 119, 255) : QColor(204, 204, 204, 255));
        entity->setDirty(true);
    }
}

// ---------------------------------------------------------------- views

void ModelAdapter::SetPlanView(view::VenueView3D* view)
{
    if (view == nullptr)
        return;
    planView = view;
    RegisterView(view);
    activeView = view;
    onZoomPairedChanged(GetSettingsTab());
}

void ModelAdapter::SetSideView(view::VenueView3D* view)
{
    if (view == nullptr)
        return;
    sideView = view;
    RegisterView(view);
    onZoomPairedChanged(GetSettingsTab());
}

void ModelAdapter::RegisterView(view::VenueView3D* view)
{
    if (std::find(views.begin(), views.end(), view) == views.end())
        views.push_back(view);
    AttachMouseHandler(view);
    SetViewColors(gridColors[0], gridColors[1], gridColors[2], backgroundColor);
}

view::VenueView3D* ModelAdapter::FindViewById(std::uint64_t id) const
{
    for (view::VenueView3D* view : views)
        if (view->GetId() == id)
            return view;
    return nullptr;
}

void ModelAdapter::UpdateViews()
{
    for (view::VenueView3D* view : views)
        view->update();
}

void ModelAdapter::SetViewColors(const QColor& gridColor1, const QColor& gridColor2, const QColor& gridColor3,
                                 const QColor& background)
{
    gridColors = {gridColor1, gridColor2, gridColor3};
    backgroundColor = background;
    for (view::VenueView3D* view : views)
    {
        view->SetBackgroundColor(background);
        if (const auto grid = view->GetGrid())
            grid->SetColors(gridColor1, gridColor2, gridColor3);
    }
}

void ModelAdapter::InitialiseViews()
{
    if (viewsInitialised)
        return;
    viewsInitialised = true;
    AppSettings& settings = AppSettings::Instance();
    const int theme = static_cast<int>(settings.GetUiSettings()->getTheme());
    themeChanged(theme);
    const bool metric = IsMetricUnits();
    for (view::VenueView3D* view : views)
    {
        view->SetMetricUnits(metric);
        connect(settings.GetUnitSettings(), &UnitSettings::measurementUnitsChanged, view,
                [view](MeasurementType units) { view->SetMetricUnits(units != MeasurementType::Imperial); });
    }
}

void ModelAdapter::StoreViewCamera(std::uint64_t viewId)
{
    int index = -1;
    view::VenueView3D* view = nullptr;
    if (planView != nullptr && planView->GetId() == viewId)
    {
        view = planView;
        index = GetPlanViewIndex();
    }
    else if (sideView != nullptr && sideView->GetId() == viewId)
    {
        view = sideView;
        index = GetSideViewIndex();
    }
    // While an anchor places the view, its camera is not the user's.
    if (view == nullptr || view->GetViewport().HasAnchor())
        return;
    Settings()->setViewCameraTranslation(index, view->GetCamera().GetPosition());
}

void ModelAdapter::ZoomViewToDefaultBox(view::VenueView3D* view)
{
    if (view == nullptr)
        return;
    // The world origin at 15 % of the width from the left and at mid height, kept there through
    // resizes until the user pans or zooms.
    view->GetViewport().SetViewAnchor(kDefaultAnchorPoint, kDefaultAnchorFraction);
    StoreViewCamera(view->GetId());
}

void ModelAdapter::ResetViewCamera(view::VenueView3D* view, const math::Vec3& eye, const math::Vec3& up,
                                   int settingsIndex, bool keepCamera)
{
    if (view == nullptr)
        return;
    view::Camera& camera = view->GetCamera();
    camera.LookAt(eye, math::Vec3(0, 0, 0), up);
    const math::Vec3 stored = Settings()->getViewCameraTranslation(settingsIndex);
    const bool hasStored = !(stored == math::Vec3(0, 0, 0));
    if (hasStored)
    {
        camera.MoveBy(stored - camera.GetPosition());
        view->GetViewport().UpdateProjection();
    }
    if (!keepCamera)
    {
        if (hasStored)
            view->GetViewport().ClearAnchor();
        else
            ZoomViewToDefaultBox(view);
    }
    UpdateViewTitles(view);
}

void ModelAdapter::DetachAll()
{
    if (entityList != nullptr)
    {
        if (!entityList->selectedItems().isEmpty())
            entityList->clearSelectedEntities();
        IdList ids;
        for (const NodePtr& node : links.AllNodes())
            ids.push_back(node->GetId());
        entityList->removeEntities(ids);
    }
    // Everything of this tab leaves each view in one pass.
    std::unordered_set<const view::Entity*> shown;
    for (const view::EntityPtr& entity : links.AllEntities())
        shown.insert(entity.get());
    for (const view::EntityPtr& adorner : links.AllAdorners())
        shown.insert(adorner.get());
    for (view::VenueView3D* view : views)
        view->RemoveEntitiesIf([&](const view::EntityPtr& entity) { return shown.count(entity.get()) != 0; });
    links.Clear();
    selection.Clear();
    // The nodes of a cleared project must not hold places, nor stay alive, in the next one.
    placement->Clear();
    emit selectionChanged();
}

void ModelAdapter::ResetViews(bool keepCamera)
{
    DetachAll();
    ProjectSettings* settings = Settings();
    if (planView != nullptr)
        setPlanViewZoomLevel(settings->getViewZoom(GetPlanViewIndex()), false);
    if (sideView != nullptr && !zoomPaired)
        setSideViewZoomLevel(settings->getViewZoom(GetSideViewIndex()), false);
    ResetViewCamera(planView, {0, 0, kCameraDistance}, {0, 1, 0}, GetPlanViewIndex(), keepCamera);
    ResetViewCamera(sideView, {0, -kCameraDistance, 0}, {0, 0, 1}, GetSideViewIndex(), keepCamera);
    links.Clear();
    selection.Clear();
    InitialiseViews();
}

void ModelAdapter::UpdateViewTitles(view::VenueView3D* view)
{
    if (view == nullptr)
        return;
    if (view == planView)
    {
        viewTitles[view] = tr("PLAN VIEW");
        view->SetGridLabels("X", "Y", viewTitles[view].toStdString());
        return;
    }
    view::Camera& camera = view->GetCamera();
    const std::string right = AxisLetter(camera.Right());
    const std::string up = AxisLetter(camera.Up());
    const IdVector selected = selection.CollectSelectedIds();
    QString& title = viewTitles[view];
    if (right == "X" && up == "Y")
        title = tr("PLAN VIEW");
    else if (right == "X" && up == "Z" && selected.size() != 1)
        title = tr("SIDE VIEW");
    else if (selected.size() == 1)
    {
        title = tr("SPEAKER SIDE VIEW");
        if (const view::EntityPtr entity = links.GetEntityByNodeId(selected.front()))
            title = QString("%1 - %2").arg(title, QString::fromStdString(entity->getName()));
    }
    view->SetGridLabels(right, up, title.toStdString());
}

QString ModelAdapter::GetViewTitle(view::VenueView3D* view) const
{
    const auto found = viewTitles.find(view);
    return found == viewTitles.end() ? QString() : found->second;
}

void ModelAdapter::CenterView(view::VenueView3D* view, const math::Vec3& point)
{
    if (view == nullptr || !view->GetGrid())
        return;
    const auto gridBox = view->GetGrid()->BoundingBox();
    const math::Vec3 gridCentre = gridBox ? (gridBox->min + gridBox->max) * 0.5 : math::Vec3();
    const math::Vec3 d = point - gridCentre;
    view::Camera& camera = view->GetCamera();
    const math::Vec3 axes = camera.Right() + camera.Up();
    view->GetViewport().Pan(math::Vec3(d.x * axes.x, d.y * axes.y, d.z * axes.z));
    StoreViewCamera(view->GetId());
}

void ModelAdapter::ZoomToFit()
{
    if (planView == nullptr || sideView == nullptr || !planView->GetGrid() || !sideView->GetGrid())
        return;
    const math::BBox box = GetSceneBounds(true);
    if (IsPointBox(box))
    {
        setPlanViewZoomLevel(60.0, true);
        setSideViewZoomLevel(60.0, true);
        CenterView(planView, {0, 0, 0});
        CenterView(sideView, {0, 0, 0});
        return;
    }
    // The grid's frame on screen leaves the labels' margins around it.
    const QRect planFrame = planView->GetGrid()->ScreenRect();
    const QRect sideFrame = sideView->GetGrid()->ScreenRect();
    const double planWidth = planFrame.isValid() ? planFrame.width() : planView->width();
    const double planHeight = planFrame.isValid() ? planFrame.height() : planView->height();
    const double sideHeight = sideFrame.isValid() ? sideFrame.height() : sideView->height();
    const double dx = std::max(box.max.x - box.min.x, 1.0);
    const double dy = std::max(box.max.y - box.min.y, 1.0);
    const double dz = std::max(box.max.z - box.min.z, 1.0);
    const double sx = planWidth / dx;
    const double sy = planHeight / dy;
    const double sz = sideHeight / dz;
    const bool useY = sy > 0 && (sideHeight < 1 || planHeight / sideHeight > 0.1);
    const bool useZ = sz > 0 && (planHeight < 1 || sideHeight / planHeight > 0.1);
    double level = 60.0;
    if (sx > 0 && (useY || useZ))
    {
        double s = sx;
        if (useY)
            s = std::min(s, sy);
        if (useZ)
            s = std::min(s, sz);
        level = std::max(ScaleToZoomLevel(s) - 1.0, 1.0);
    }
    setPlanViewZoomLevel(level, true);
    setSideViewZoomLevel(level, true);
    const math::Vec3 centre = (box.min + box.max) * 0.5;
    CenterView(planView, centre);
    CenterView(sideView, centre);
}

// ---------------------------------------------------------------- zoom

void ModelAdapter::setViewZoomLevel(double zoomLevel, view::VenueView3D* view)
{
    if (view == nullptr)
        return;
    view->GetViewport().setPixelsPerMeter(ZoomLevelToScale(zoomLevel));
    if (const auto grid = view->GetGrid())
        grid->UpdateLayout(view->GetViewport());
}

void ModelAdapter::setPlanViewZoomLevel(double zoomLevel, bool storeCamera)
{
    if (!(zoomLevel >= 1.0 && zoomLevel <= 100.0) || zoomLevel == planZoom)
        return;
    planZoom = zoomLevel;
    setViewZoomLevel(zoomLevel, planView);
    Settings()->setViewZoom(GetPlanViewIndex(), std::trunc(zoomLevel));
    UpdateToolbarProperty(ItemName(BeamSpeakerItem::Toolbar_SliderPlan),
                          QVariant(int(std::trunc(zoomLevel))));
    if (storeCamera && planView != nullptr)
        StoreViewCamera(planView->GetId());
    if (zoomPaired)
        setSideViewZoomLevel(zoomLevel, storeCamera);
}

void ModelAdapter::setSideViewZoomLevel(double zoomLevel, bool storeCamera)
{
    if (!(zoomLevel >= 1.0 && zoomLevel <= 100.0) || zoomLevel == sideZoom)
        return;
    sideZoom = zoomLevel;
    setViewZoomLevel(zoomLevel, sideView);
    Settings()->setViewZoom(GetSideViewIndex(), std::trunc(zoomLevel));
    UpdateToolbarProperty(ItemName(BeamSpeakerItem::Toolbar_SliderSide),
                          QVariant(int(std::trunc(zoomLevel))));
    if (storeCamera && sideView != nullptr)
        StoreViewCamera(sideView->GetId());
    if (zoomPaired)
        setPlanViewZoomLevel(zoomLevel, storeCamera);
}

void ModelAdapter::onZoomPairedChanged(ProjectSettings::Tab tab)
{
    if (tab != GetSettingsTab())
        return;
    zoomPaired = Settings()->getZoomPaired(tab);
    if (loading)
        return;
    if (planView != nullptr)
        setPlanViewZoomLevel(planZoom, true);
    if (sideView != nullptr)
        setSideViewZoomLevel(planZoom, true);
}

void ModelAdapter::UpdateToolbarProperty(const QString& name, const QVariant& value)
{
    if (toolbar != nullptr)
        toolbar->updateProperty(name, value);
}

// ---------------------------------------------------------------- listeners

void ModelAdapter::themeChanged(const int& theme)
{
    lightTheme = theme == 1;
    if (lightTheme)
        SetViewColors(QColor("#c8c8c8"), QColor("#575757"), QColor("#f3f3f3"), QColor("#FFFFFF"));
    else
        SetViewColors(QColor("#3d3d3d"), QColor("#aaaaaa"), QColor("#242424"), QColor("#000000"));
    for (const view::EntityPtr& entity : links.AllEntities())
        ApplyEntityColors(entity);
    for (const view::EntityPtr& adorner : links.AllAdorners())
        ApplyEntityColors(adorner);
    for (view::VenueView3D* view : views)
        if (const auto box = view->GetSelectionBox())
            ApplyEntityColors(box);
}

void ModelAdapter::onPropertyEvent(BoundPropertyEvent event, const QString& name, const QVariant& value)
{
    if (event != BoundPropertyEvent::ValueChanged)
        return;
    if (name == ItemName(BeamSpeakerItem::Toolbar_AddEntity))
        AddNewItem(true);
    else if (name == ItemName(BeamSpeakerItem::Toolbar_DuplicateEntity))
        return;
    else if (name == ItemName(BeamSpeakerItem::Toolbar_Undo))
    {
        if (undoAction != nullptr)
            undoAction->activate(QAction::Trigger);
    }
    else if (name == ItemName(BeamSpeakerItem::Toolbar_Redo))
    {
        if (redoAction != nullptr)
            redoAction->activate(QAction::Trigger);
    }
    else if (name == ItemName(BeamSpeakerItem::Toolbar_DeleteEntity))
        DeleteSelected(true);
    else if (name == ItemName(BeamSpeakerItem::Toolbar_LinkViews))
    {
        zoomPaired = value.toBool();
        Settings()->setZoomPaired(GetSettingsTab(), zoomPaired);
    }
    else if (name == ItemName(BeamSpeakerItem::Toolbar_SliderPlan))
    {
        if (planView != nullptr)
            setPlanViewZoomLevel(value.toDouble(), true);
    }
    else if (name == ItemName(BeamSpeakerItem::Toolbar_SliderSide))
    {
        if (sideView != nullptr)
            setSideViewZoomLevel(value.toDouble(), true);
    }
    else if (name == ItemName(BeamSpeakerItem::Toolbar_ZoomToFit))
        ZoomToFit();
}

void ModelAdapter::entitiesSelectionChanged(const IdList& ids)
{
    std::vector<view::EntityPtr> entities;
    for (const Id id : ids)
        if (view::EntityPtr entity = links.GetEntityByNodeId(id))
            entities.push_back(entity);
    SetSelection(true, entities, false, false);
}

// ---------------------------------------------------------------- units and limits

void ModelAdapter::SetSplAdapter(SplAdapter* adapter)
{
    splLink = adapter != nullptr ? std::make_unique<SplAdapterLink>(adapter) : nullptr;
    splAdapter = splLink.get();
}

bool ModelAdapter::IsMetricUnits()
{
    return AppSettings::Instance().GetUnitSettings()->getMeasurementUnits() != MeasurementType::Imperial;
}

math::Vec3 ModelAdapter::ClampToVenueLimits(const math::Vec3& point)
{
    return {std::clamp(point.x, -kVenueLimit, kVenueLimit), std::clamp(point.y, -kVenueLimit, kVenueLimit),
            std::clamp(point.z, -kVenueLimit, kVenueLimit)};
}

bool ModelAdapter::IsPointWithinVenueLimits(const math::Vec3& point)
{
    auto within = [](double v) { return v >= -kVenueLimit && v <= kVenueLimit; };
    return within(point.x) && within(point.y) && within(point.z);
}

bool ModelAdapter::IsBoxWithinVenueLimits(const math::BBox& box)
{
    return IsPointWithinVenueLimits(box.min) && IsPointWithinVenueLimits(box.max);
}

view::EntityPtr ModelAdapter::SyncQuadEntity(const NodePtr& node)
{
    const auto quad = std::dynamic_pointer_cast<QuadNode>(node);
    if (!quad)
        return nullptr;
    return view::QuadEntity::CreateFromNode(*quad);
}
} // namespace zorvpro
