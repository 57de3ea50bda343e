#pragma once

#include "core/Commands/GenericFunctorCommand.h"
#include "core/Commands/UndoStack.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/math/BBox.h"
#include "core/math/Vector3.h"
#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Model/AnimationQueue.h"
#include "views/Adapters/Model/FieldDescriptor.h"
#include "views/Adapters/Model/ISplNodeListener.h"
#include "views/Adapters/Model/IterativeUndoOperation.h"
#include "views/Adapters/Model/KeyboardShortcutHandler.h"
#include "views/Adapters/Model/LinkIndex.h"
#include "views/Adapters/Model/PlacementRegistry.h"
#include "views/Common/AdapterBase.h"
#include "views/Common/IAppThemeListener.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/GridControl/IBindablePropertyUpdater.h"
#include "views/Render/MouseAction.h"
#include "views/Render/MouseHandler.h"
#include "views/Tabs/BaseComponents/IEntityChangeListener.h"
#include "views/Tabs/BaseComponents/IEntitySelectionListener.h"

#include <QColor>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

class QAction;

namespace zorvpro
{
class EntitySelectionControl;
class SplAdapter;
class SplAdapterLink;

namespace view
{
class MouseHandler;
class VenueView3D;
class Viewport;
} // namespace view

// The controller of one tab page: ties the tab's plan and side views, its entity list, its tool
// bar and the project's node tree together, owns the tab's entities through the link index and
// turns every edit into one step on the global undo stack. The concrete tabs supply the pure
// operations. GUI thread only.
class ModelAdapter : public AdapterBase,
                     public IEntityChangeListener,
                     public IEntitySelectionListener,
                     public IAppThemeListener,
                     public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    using IdVector = std::vector<std::uint64_t>;

    // Batch positions of operations that run as one of several.
    static constexpr std::uint32_t kBatchFirst = 0;
    static constexpr std::uint32_t kBatchLast = 1;
    static constexpr std::uint32_t kBatchMiddle = 2;
    static constexpr std::uint32_t kBatchOnly = 3;
    // Adorner kinds; kAllAdorners removes every kind.
    static constexpr std::uint32_t kAllAdorners = 3;
    static constexpr double kAdornerExtent = 1000.0;

    // Throws std::runtime_error when the undo actions cannot be made.
    ModelAdapter(EntitySelectionControl* entityList, QObject* parent);
    ~ModelAdapter() override;

    // --- Operations the tabs may replace or must supply ---
    virtual void ZoomToFit();
    virtual void LoadVenue();
    virtual bool ConfirmSelection(const IdVector& oldIds, const IdVector& newIds, bool userAction);
    virtual void SelectionApplied(const IdVector& oldIds, const IdVector& newIds);
    virtual const FieldDescriptor<int>* GetIntFields() = 0;
    virtual const FieldDescriptor<double>* GetDoubleFields() = 0;
    virtual const FieldDescriptor<bool>* GetBoolFields() = 0;
    virtual const FieldDescriptor<QColor>* GetColorFields() = 0;
    virtual const FieldDescriptor<std::string>* GetTextFields() = 0;
    virtual void SetEntitySelected(const view::EntityPtr& entity, bool selected, std::uint32_t adornerKind);
    virtual view::EntityPtr CreateAdorner(view::Viewport& viewport, const view::EntityPtr& entity,
                                          double extent, bool inSideView, std::uint32_t adornerKind) = 0;
    virtual std::uint32_t GetAdornerKind(const view::EntityPtr& adorner) = 0;
    virtual void UpdatePropertyPanel(const view::EntityPtr& entity) = 0;
    virtual bool IsSelectable(const view::EntityPtr& entity) = 0;
    virtual bool IsOwnNode(const NodePtr& node) = 0;
    virtual bool IsFitRelevant(const view::EntityPtr& entity) = 0;
    virtual bool IsEntityAccepted(const view::EntityPtr& entity) = 0;
    virtual bool IsFieldEditable(const NodePtr& node, std::uint32_t fieldId) = 0;
    virtual bool MayPaste(const NodePtr& node) = 0;
    virtual bool MayMoveAcross(const view::EntityPtr& entity, std::uint64_t viewId);
    virtual bool MayMoveUp(const view::EntityPtr& entity, std::uint64_t viewId);
    virtual math::Vec3 GetCentrePoint(const view::EntityPtr& entity) = 0;
    virtual view::EntityPtr CreateEntity(const NodePtr& node) = 0;
    virtual bool IsNodeLocked(const NodePtr& node);
    virtual void SetNodeLocked(const NodePtr& node, bool locked);
    virtual void AddListRow(const NodePtr& node) = 0;
    virtual NodePtr CreateNewNode() = 0;
    virtual int GetPlanViewIndex() const = 0;
    virtual int GetSideViewIndex() const = 0;
    virtual ProjectSettings::Tab GetSettingsTab() const = 0;
    virtual void ApplyEntityColors(const view::EntityPtr& entity);
    virtual void CenterView(view::VenueView3D* view, const math::Vec3& point);
    virtual std::string GetItemName(const NodePtr& node);

    // --- Views ---
    void SetPlanView(view::VenueView3D* view);
    void SetSideView(view::VenueView3D* view);
    view::VenueView3D* GetPlanView() const { return planView; }
    view::VenueView3D* GetSideView() const { return sideView; }
    view::VenueView3D* FindViewById(std::uint64_t id) const;
    void UpdateViews();
    void ResetViews(bool keepCamera);
    void StoreViewCamera(std::uint64_t viewId);
    void UpdateViewTitles(view::VenueView3D* view);
    // The caption last given to a view ("" before the first).
    QString GetViewTitle(view::VenueView3D* view) const;
    void SetViewColors(const QColor& gridColor1, const QColor& gridColor2, const QColor& gridColor3,
                       const QColor& background);
    void InitialiseViews();
    void ZoomViewToDefaultBox(view::VenueView3D* view);
    double GetPlanZoom() const { return planZoom; }
    double GetSideZoom() const { return sideZoom; }
    bool IsZoomPaired() const { return zoomPaired; }
    bool IsLightTheme() const { return lightTheme; }

    // --- Collaborators ---
    void SetToolbar(IBindablePropertyUpdater* updater) { toolbar = updater; }
    void SetSplAdapter(ISplNodeListener* listener) { splAdapter = listener; }
    // The coverage-map adapter itself (not owned; may be null).
    void SetSplAdapter(SplAdapter* adapter);
    void UpdateToolbarProperty(const QString& name, const QVariant& value);
    EntitySelectionControl* GetEntityList() const { return entityList; }
    const LinkIndex& GetLinks() const { return links; }
    AnimationQueue& GetAnimations() { return animations; }
    QAction* GetUndoAction() const { return undoAction; }
    QAction* GetRedoAction() const { return redoAction; }

    // --- Units and limits ---
    static bool IsMetricUnits();
    static math::Vec3 ClampToVenueLimits(const math::Vec3& point);
    static bool IsPointWithinVenueLimits(const math::Vec3& point);
    static bool IsBoxWithinVenueLimits(const math::BBox& box);
    static view::EntityPtr SyncQuadEntity(const NodePtr& node);

    // --- Node edits ---
    void AddNode(const NodePtr& node, bool undoable, bool toTree, bool select, std::uint32_t batchPosition);
    void RemoveNode(const NodePtr& node, bool undoable, bool unlockFirst, bool fromTree,
                    std::uint32_t batchPosition);
    void DeleteSelected(bool undoable);
    void AddNewItem(bool undoable);
    std::string MakeUniqueItemName();
    NodePtr FindNodeByName(const std::string& name) const;
    static std::uint32_t SwappedBatchPosition(std::uint32_t position);
    static std::uint32_t BatchPositionOf(std::size_t index, std::size_t count);

    // --- Selection and adorners ---
    void SetSelection(bool replace, const std::vector<view::EntityPtr>& entities, bool updateList,
                      bool confirmFlag);
    void ToggleSelected(const view::EntityPtr& entity);
    void SelectAll();
    int GetSelectedCount() const { return static_cast<int>(selection.CountSelectedIds()); }
    IdVector GetSelectedIds() const { return selection.CollectSelectedIds(); }
    void AddAdorner(view::VenueView3D* view, const view::EntityPtr& entity, std::uint32_t adornerKind);
    void RemoveAdorners(view::VenueView3D* view, const view::EntityPtr& entity, std::uint32_t adornerKind);
    math::BBox GetSceneBounds(bool filter);

    // --- Generic field edits ---
    void ApplyDoubleValue(const NodePtr& node, std::uint32_t fieldId, double value, bool createUndo);
    void ApplyBoolValue(const NodePtr& node, std::uint32_t fieldId, bool value, bool createUndo);
    void ApplyVisibilityValue(const NodePtr& node, std::uint32_t fieldId, bool value, bool createUndo);
    void ApplyColorValue(const NodePtr& node, std::uint32_t fieldId, QColor value, bool createUndo);
    void ApplyNameValue(const NodePtr& node, std::uint32_t fieldId, std::string value, bool createUndo);

    template <typename T, typename Adapter>
    void ProcessGenericValue(const NodePtr& node, std::uint32_t fieldId, T value, bool createUndo,
                             const FieldDescriptor<T>* table,
                             void (Adapter::*reentry)(const NodePtr&, std::uint32_t, T, bool));

    // True when the change was dealt with (pushed as one undo step, or refused because the field
    // may not be edited); false when the caller must apply it now without an undo step. A redo or
    // undo that throws is logged and never unwinds through the undo stack.
    template <typename Redo, typename Undo>
    bool SetGenericValue(const NodePtr& node, std::uint32_t fieldId, bool createUndo, const QString& undoText,
                         Redo redo, Undo undo);

    void SetPropertyValue(const NodePtr& node, std::uint32_t fieldId, const QVariant& value);

    // --- Clipboard, nudging and placement ---
    // Moves an entity and its node by a world offset; the tabs that move items supply it.
    virtual void MoveEntity(const view::EntityPtr& entity, const math::Vec3& offset, bool undoable,
                            bool commit, std::uint32_t batchPosition);
    void CopySelected(bool skipLocked, bool cut);
    void Paste();
    // The name itself while no node carries it, else "Copy n of name" with the first free n.
    std::string MakeCopyName(const std::string& name) const;
    // Every name in the venue tree, in one walk.
    std::unordered_set<std::string> CollectNodeNames() const;
    // Nudges the selection along the active view's camera axes: 0 right, 1 up, 2 left, 3 down.
    void MoveSelected(std::uint32_t direction, bool fine);
    void EnsureBoxVisible(view::VenueView3D* view, const math::BBox& box);
    PlacementRegistry& GetPlacementRegistry() { return *placement; }
    view::VenueView3D* GetActiveView() const { return activeView; }
    KeyboardShortcutHandler* GetShortcutHandler() const { return shortcuts.get(); }

    // --- Mouse ---
    using DragOperation = BasicIterativeUndoOperation<view::MouseAction>;
    void BeginIterativeUndo(const std::string& name, const view::MouseAction& action,
                            const DragOperation::UpdateFunctor& step,
                            const DragOperation::CommitFunctor& finish);
    void DragSelected(const view::MouseAction& action);
    void SelectionDrag(const view::MouseAction& action);
    void PanView(const view::MouseAction& action);
    view::VenueView3D* SetActiveViewById(std::uint64_t id);
    void ZoomAtPoint(double level, std::uint64_t viewId, QPointF pixel);
    view::EntityPtr PickAt(view::VenueView3D* view, int x, int y);
    std::vector<view::HitPointPtr> HitTestAll(view::VenueView3D* view, const math::Ray& ray);
    bool IsRubberBandActive() const { return rubberBandActive; }
    // A press on a handle of the tab; the tabs with handle drags supply it.
    virtual void HandleSelectionAction(const view::MouseAction& action);
    // The mouse handler of one view; the base handler unless the tab has its own.
    virtual std::unique_ptr<view::MouseHandler> CreateMouseHandler(view::VenueView3D* view);
    view::MouseHandler* GetMouseHandler(view::VenueView3D* view) const;

    // --- Listeners ---
    void entitiesSelectionChanged(const IdList& ids) override;
    void themeChanged(const int& theme) override;
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;

signals:
    void entitiesChanged();
    // The selection may hold other entities now: a selection made or undone, a selected entity
    // taken away, or every entity let go when the project is cleared or loaded. GetSelectedCount
    // and GetSelectedIds tell what it holds.
    void selectionChanged();

public slots:
    void HandleMouseAction(zorvpro::view::MouseAction action);
    void setPlanViewZoomLevel(double zoomLevel, bool storeCamera);
    void setPlanViewZoomLevel(double zoomLevel) { setPlanViewZoomLevel(zoomLevel, true); }
    void setSideViewZoomLevel(double zoomLevel, bool storeCamera);
    void setSideViewZoomLevel(double zoomLevel) { setSideViewZoomLevel(zoomLevel, true); }
    void setViewZoomLevel(double zoomLevel, zorvpro::view::VenueView3D* view);
    void onZoomPairedChanged(zorvpro::ProjectSettings::Tab tab);

protected:
    // Takes a node's entity, adorners, list row, selection key and links away from this tab,
    // leaving the project tree and the node's own state alone.
    void DetachNode(const NodePtr& node);
    // The same for every node of the tab at once.
    void DetachAll();
    static void LogError(const QString& text);
    static void LogWarning(const QString& text);

    IBindablePropertyUpdater* toolbar = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    ISplNodeListener* splAdapter = nullptr;
    view::VenueView3D* activeView = nullptr;
    double planZoom = 100.0;
    double sideZoom = 100.0;
    bool zoomPaired = true;
    SelectionMap selection;
    bool loading = false;
    std::array<QColor, 3> gridColors;
    QColor backgroundColor;
    bool lightTheme = true;
    bool viewsInitialised = false;
    std::vector<view::VenueView3D*> views;
    view::VenueView3D* planView = nullptr;
    view::VenueView3D* sideView = nullptr;
    EntitySelectionControl* entityList = nullptr;
    LinkIndex links;
    AnimationQueue animations;
    std::unique_ptr<PlacementRegistry> placement = std::make_unique<PlacementRegistry>();
    std::unique_ptr<DragOperation> dragOperation;
    bool rubberBandActive = false;

private:
    void RegisterView(view::VenueView3D* view);
    void RegisterShortcuts();
    void AttachMouseHandler(view::VenueView3D* view);
    void ZoomViewAbout(view::VenueView3D* view, view::VenueView3D* other, double level, QPointF pixel);
    void ResetViewCamera(view::VenueView3D* view, const math::Vec3& eye, const math::Vec3& up,
                         int settingsIndex, bool keepCamera);

    std::unique_ptr<SplAdapterLink> splLink;
    std::map<view::VenueView3D*, QString> viewTitles;
    std::unique_ptr<KeyboardShortcutHandler> shortcuts;
    std::map<view::VenueView3D*, std::unique_ptr<view::MouseHandler>> mouseHandlers;
};

template <typename T, typename Adapter>
void ModelAdapter::ProcessGenericValue(const NodePtr& node, std::uint32_t fieldId, T value, bool createUndo,
                                       const FieldDescriptor<T>* table,
                                       void (Adapter::*reentry)(const NodePtr&, std::uint32_t, T, bool))
{
    if (table == nullptr)
    {
        LogError("Missing table in process generic value");
        return;
    }
    const view::EntityPtr entity = links.GetEntityForNode(node);
    if (!entity)
    {
        LogError("Mismatched entity in model adapter set value");
        return;
    }
    const FieldDescriptor<T>* field = FindField(table, fieldId);
    if (field == nullptr)
    {
        LogError("Unknown field id in process generic value");
        return;
    }
    const T oldValue = field->getter(entity);
    Adapter* self = static_cast<Adapter*>(this);
    auto apply = [self, reentry, node, fieldId](const T& applied)
    {
        (self->*reentry)(node, fieldId, applied, false);
        if constexpr (std::is_same_v<T, std::string>)
            self->SetPropertyValue(node, fieldId, QString::fromStdString(applied));
        else
            self->SetPropertyValue(node, fieldId, QVariant::fromValue(applied));
    };
    const QString text = field->undoText.arg(QString::fromStdString(node->GetName()), 0, QChar(' '));
    if (SetGenericValue(
            node, fieldId, createUndo, text, [apply, value] { apply(value); },
            [apply, oldValue] { apply(oldValue); }))
        return;
    field->entitySetter(entity, value);
    field->nodeSetter(node, value);
    emit entitiesChanged();
}

template <typename Redo, typename Undo>
bool ModelAdapter::SetGenericValue(const NodePtr& node, std::uint32_t fieldId, bool createUndo,
                                   const QString& undoText, Redo redo, Undo undo)
{
    if (!IsFieldEditable(node, fieldId))
        return true;
    if (!createUndo)
        return false;
    auto guarded = [](auto function, const char* where)
    {
        return [function, where]() mutable
        {
            try
            {
                function();
            }
            catch (const std::exception& e)
            {
                OmbraxLogger::LogException(e, __FILE__, where, __LINE__);
            }
            catch (...)
            {
                OmbraxLogger::LogUnknownException(__FILE__, where, __LINE__);
            }
        };
    };
    auto guardedRedo = guarded(std::move(redo), "SetGenericValue redo");
    GenericFunctorCommand command(
        undoText,
        [guardedRedo]() mutable
        {
            guardedRedo();
            return true;
        },
        guarded(std::move(undo), "SetGenericValue undo"));
    UndoStack::Push(&command);
    return true;
}
} // namespace zorvpro
