#pragma once

#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "views/Adapters/Model/IterativeUndoOperation.h"
#include "views/Adapters/Model/ModelAdapter.h"
#include "views/Adapters/Speaker/ISpeakerSplListener.h"
#include "views/Render/MouseAction.h"

#include <QPoint>
#include <functional>
#include <memory>
#include <vector>

namespace zorvpro
{
namespace view
{
class MouseHandler;
class BeamSpeakerEntity;
class BeamSpeakerAdornerEntity;
} // namespace view

// The controller of the speaker tab: steerable arrays are placed, moved, turned and their beams
// shaped here; the venue's surfaces are shown for context (bounds, hits, medial planes) but not
// edited. Every edit runs twice: once from the panel with undo, which pushes one step, and once
// from that step's redo or undo, which changes node and entity together.
class SpeakerTabAdapter : public ModelAdapter
{
    Q_OBJECT

public:
    using BeamState = BeamSpeakerClusterNode::BeamState;
    using Corners = std::array<math::Vec3, 4>;

    static const char* const kItemName;  // "TQR40V Array"
    static const char* const kModelName; // "TQR40V"
    static constexpr double kModuleLength = 0.985;

    SpeakerTabAdapter(EntitySelectionControl* entityList, QObject* parent);
    ~SpeakerTabAdapter() override;

    // Sets the coverage-map listener for both the generic node changes and the speaker ones.
    void SetSpeakerSplListener(ISpeakerSplListener* listener);
    // The coverage-map adapter itself (not owned; may be null).
    void SetSplAdapter(SplAdapter* adapter);
    // The nodes of the selected entities, in the order of the entities' ids.
    std::vector<NodePtr> GetSelectedNodes() const;

    // The combo-box texts ("Steer / Spread", ...; "Single", "Dual (Dante)") and their numbers;
    // -1 or an empty text when a table has no entry.
    static int AlgorithmFromName(const QString& name);
    static QString AlgorithmName(int algorithm);
    static int BeamCountFromName(const QString& name);
    static QString BeamCountName(int count);

    // --- ModelAdapter operations ---
    void ZoomToFit() override;
    void LoadVenue() override;
    bool ConfirmSelection(const IdVector& oldIds, const IdVector& newIds, bool userAction) override;
    void SelectionApplied(const IdVector& oldIds, const IdVector& newIds) override;
    const FieldDescriptor<int>* GetIntFields() override;
    const FieldDescriptor<double>* GetDoubleFields() override;
    const FieldDescriptor<bool>* GetBoolFields() override;
    const FieldDescriptor<QColor>* GetColorFields() override;
    const FieldDescriptor<std::string>* GetTextFields() override;
    const IndexedFieldDescriptor<double>* GetBeamDoubleFields();
    const IndexedFieldDescriptor<bool>* GetBeamBoolFields();
    void SetEntitySelected(const view::EntityPtr& entity, bool selected, std::uint32_t adornerKind) override;
    view::EntityPtr CreateAdorner(view::Viewport& viewport, const view::EntityPtr& entity, double extent,
                                  bool inSideView, std::uint32_t adornerKind) override;
    std::uint32_t GetAdornerKind(const view::EntityPtr& adorner) override;
    void UpdatePropertyPanel(const view::EntityPtr& entity) override;
    bool IsSelectable(const view::EntityPtr& entity) override;
    bool IsOwnNode(const NodePtr& node) override;
    bool IsFitRelevant(const view::EntityPtr& entity) override;
    bool IsEntityAccepted(const view::EntityPtr& entity) override;
    bool IsFieldEditable(const NodePtr& node, std::uint32_t fieldId) override;
    bool MayPaste(const NodePtr& node) override;
    bool MayMoveAcross(const view::EntityPtr& entity, std::uint64_t viewId) override;
    math::Vec3 GetCentrePoint(const view::EntityPtr& entity) override;
    view::EntityPtr CreateEntity(const NodePtr& node) override;
    bool IsNodeLocked(const NodePtr& node) override;
    void SetNodeLocked(const NodePtr& node, bool locked) override;
    void AddListRow(const NodePtr& node) override;
    NodePtr CreateNewNode() override;
    int GetPlanViewIndex() const override { return 2; }
    int GetSideViewIndex() const override { return 3; }
    ProjectSettings::Tab GetSettingsTab() const override { return ProjectSettings::SpeakerTab; }
    void ApplyEntityColors(const view::EntityPtr& entity) override;
    void CenterView(view::VenueView3D* view, const math::Vec3& point) override;
    std::string GetItemName(const NodePtr& node) override;
    // The tab's move of an entity: arrays move through MoveSpeaker.
    void MoveEntity(const view::EntityPtr& entity, const math::Vec3& offset, bool undoable, bool commit,
                    std::uint32_t batchPosition) override;
    // A plan-view and a side-view handler of the tab's own; none for another view.
    std::unique_ptr<view::MouseHandler> CreateMouseHandler(view::VenueView3D* view) override;
    // A press on an array's beam adorner: a handle starts its drag, a beam's outline shows that beam.
    void HandleSelectionAction(const view::MouseAction& action) override;

    // --- Entity list and panel ---
    bool entityValueChanged(Id id, const QString& itemName, std::uint32_t* valueKind,
                            const QVariant& value) override;
    bool entityFocusChanged(Id id, const QString& itemName, bool gained) override;
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    // The panel's module count times the module length; 0 when the panel has no module count.
    double GetArrayHeight() const;
    void ApplyPositionFromPanel(const NodePtr& node);
    void ApplyModuleCountFromPanel(const NodePtr& node, std::uint32_t item);
    void ApplyBeamDoubleValue(const NodePtr& node, std::uint32_t fieldId, double value, bool createUndo);
    void ApplyBeamBoolValue(const NodePtr& node, std::uint32_t fieldId, bool value, bool createUndo);
    // World height of the point dz above height z0 on the array's own vertical axis.
    static double HeightAlongAxis(const math::Mat4& transform, double z0, double dz);

    // --- Edits (undoable pushes one step; false applies at once) ---
    // The steps of the edits of an array's beams, modules and gain put back the array's whole beam
    // state as it was before and right after the edit (PushBeamStep).
    void ModifySteering(const NodePtr& node, int beam, double angle, bool undoable);
    void ModifySpreading(const NodePtr& node, int beam, double angle, bool undoable);
    void ModifyBeamCount(const NodePtr& node, std::uint32_t count, bool undoable);
    void ModifyModuleCount(const NodePtr& node, std::uint32_t count, bool undoable);
    void ModifyAlgorithm(const NodePtr& node, std::uint32_t item, int choice, bool undoable);
    void ModifyPitch(const NodePtr& node, double angle, bool undoable);
    void ModifyYaw(const NodePtr& node, double angle, bool undoable);
    void ModifyGain(const NodePtr& node, double gainDb, bool undoable);
    void ModifyBeamShape(const NodePtr& node, int beam, double topAngleChange, double topDistanceChange,
                         double bottomAngleChange, double bottomDistanceChange, bool undoable,
                         bool applyToNode);
    void MoveSpeaker(const NodePtr& node, math::Vec3 displacement, bool undoable, bool finalStep,
                     std::uint32_t batchPosition);
    void SetSpeakersToMaxGain();
    void LimitDisplacementToVenue(const view::EntityPtr& entity, math::Vec3& displacement) const;
    void GetSingleSelection(bool& single, LoudspeakerClusterNodePtr& node, view::EntityPtr& entity) const;

    // --- Beam-handle drag (side view) ---
    // Starts dragging the end named by the part code (11 to 14) of the array's beam adorner as the
    // model adapter's drag, which the mouse moves and the release of that press carry on; false
    // when the view is not the side view or the handle or array is unknown.
    bool DragBeamHandle(view::VenueView3D* view, std::uint32_t part,
                        const std::shared_ptr<view::BeamSpeakerAdornerEntity>& adorner,
                        const view::EntityPtr& speaker, const view::MouseAction& press);

    // --- Placement and medial plane ---
    NodePtr AddSpeaker();
    // For the coverage-map adapter: a speaker's medial plane as its four corners, p1 to p4.
    std::function<Corners(const LoudspeakerClusterNodePtr&)> MedialPlaneProvider();
    void EnsureMinimumSplBox(const LoudspeakerClusterNodePtr& speaker, math::Vec3& p1, math::Vec3& p2,
                             math::Vec3& p3, math::Vec3& p4);
    void UpdateSpeakerSideView();
    double GetSideViewYaw() const { return sideViewYaw; }
    // The views' rubber-band selection, which may also be raised from outside.
    void SetRubberBandRunning(bool running) { rubberBandActive = running; }
    bool IsRubberBandRunning() const { return IsRubberBandActive(); }

public slots:
    void handleSurfacesChanged();
    void SplEntityUpdate(bool sideView, bool add, zorvpro::view::EntityPtr entity);
    void GetMedialPlane(zorvpro::LoudspeakerClusterNodePtr speaker, zorvpro::math::Vec3& p1,
                        zorvpro::math::Vec3& p2, zorvpro::math::Vec3& p3, zorvpro::math::Vec3& p4);
    void OnThrowLinesChanged();

private:
    struct DragState;

    template <typename T>
    void ProcessBeamValue(const NodePtr& node, std::uint32_t fieldId, T value, bool createUndo,
                          const IndexedFieldDescriptor<T>* table,
                          void (SpeakerTabAdapter::*reentry)(const NodePtr&, std::uint32_t, T, bool));
    void ModifyThrowShapeFromPanel(const NodePtr& node, std::uint32_t item, double value);
    // SetGenericValue for an edit of the array's beams: when undoable, pushes a step whose first
    // run makes the edit and whose undo and later redos restore the beam state from before and
    // after it. True when the change was dealt with; false when the caller must apply it now.
    bool PushBeamStep(const NodePtr& node, std::uint32_t item, bool undoable, const QString& text,
                      const std::function<void()>& edit);
    void RestoreBeams(const BeamSpeakerClusterNodePtr& array, const BeamState& state);
    // Adds modules of the array model or removes the last ones towards count.
    void SetModuleChildren(const BeamSpeakerClusterNodePtr& array, std::uint32_t count);
    void ShowFirstBeam(const view::EntityPtr& entity, const NodePtr& node);
    void RemoveSurfaceEntities();
    void FinishEdit(const view::EntityPtr& entity);

    ISpeakerSplListener* speakerSpl = nullptr;
    std::unique_ptr<ISpeakerSplListener> speakerSplLink;
    double sideViewYaw = 0.0;
};

} // namespace zorvpro
