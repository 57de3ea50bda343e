#pragma once

#include "views/Adapters/Model/ModelAdapter.h"

#include <array>

namespace zorvpro
{
class QuadNode;

// The controller of the venue tab: surfaces (QuadNode / view::QuadEntity) are edited here; the
// steerable arrays of the speaker tab are shown read-only for context and follow that tab through
// handleSpeakersChanged.
class VenueTabAdapter : public ModelAdapter
{
    Q_OBJECT

public:
    // The name of a new surface: "Surface 1", "Surface 2", ...
    static const char* const kItemName;

    VenueTabAdapter(EntitySelectionControl* entityList, QObject* parent);
    ~VenueTabAdapter() override;

    const FieldDescriptor<int>* GetIntFields() override;
    const FieldDescriptor<double>* GetDoubleFields() override;
    const FieldDescriptor<bool>* GetBoolFields() override;
    const FieldDescriptor<QColor>* GetColorFields() override;
    const FieldDescriptor<std::string>* GetTextFields() override;
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
    math::Vec3 GetCentrePoint(const view::EntityPtr& entity) override;
    view::EntityPtr CreateEntity(const NodePtr& node) override;
    bool IsNodeLocked(const NodePtr& node) override;
    void SetNodeLocked(const NodePtr& node, bool locked) override;
    void AddListRow(const NodePtr& node) override;
    NodePtr CreateNewNode() override;
    int GetPlanViewIndex() const override { return 0; }
    int GetSideViewIndex() const override { return 1; }
    ProjectSettings::Tab GetSettingsTab() const override { return ProjectSettings::VenueTab; }
    void ApplyEntityColors(const view::EntityPtr& entity) override;
    std::string GetItemName(const NodePtr& node) override;

    // A new surface of the default size for the units, not yet in the tree; empty without a
    // plan view.
    NodePtr AddQuad();

    // IEntityChangeListener: edits from the entity list and the surface panel, in model units.
    bool entityValueChanged(Id id, const QString& itemName, std::uint32_t* valueKind,
                            const QVariant& value) override;
    bool entityFocusChanged(Id id, const QString& itemName, bool gained) override;
    // No surface property holds an int; the generic path reports such an edit.
    void ApplyIntValue(const NodePtr& node, std::uint32_t fieldId, int value, bool createUndo);
    // The listener plane's height and its switch: the generic appliers, and the coverage maps
    // are told whenever an edit, its redo or its undo changes them.
    void ApplyListenerHeight(const NodePtr& node, std::uint32_t fieldId, double value, bool createUndo);
    void ApplyListenerEnabled(const NodePtr& node, std::uint32_t fieldId, bool value, bool createUndo);

    // Surface geometry: every change of corners and position goes through MovePoints, which keeps
    // node and entity in step and pushes at most one "Move points %1" step.
    void ModifyShape(const NodePtr& node, std::uint32_t item, double value, bool undoable);
    void MovePoints(const NodePtr& node, const math::Vec3& worldTranslation,
                    const std::array<math::Vec3, 4>& corners, bool undoable, bool notify, bool symmetric,
                    std::uint32_t batchPosition);
    // Turns about the vertical axis through the front centre, in radians.
    void RotateQuad(const NodePtr& node, double turn, bool undoable, bool notify);
    // Adjusts a local translation and corner changes to the surface rules; false (all zero) when
    // the edit is refused for size or venue limits.
    bool ConstrainPointMoves(const view::EntityPtr& entity, math::Vec3& t, std::array<math::Vec3, 4>& corners,
                             bool symmetric, double pendingTurn);
    // The vector's full length along its largest component's axis.
    static math::Vec3 SnapToDominantAxis(const math::Vec3& v);
    void MoveEntity(const view::EntityPtr& entity, const math::Vec3& offset, bool undoable, bool commit,
                    std::uint32_t batchPosition) override;
    std::unique_ptr<view::MouseHandler> CreateMouseHandler(view::VenueView3D* view) override;
    // A press on a surface's handle: that surface alone stays selected and the shape or
    // rotation drag starts; each drag that moved is one undo step.
    void HandleSelectionAction(const view::MouseAction& action) override;
    void QuadShapeDrag(const view::MouseAction& action, const view::EntityPtr& entity);
    void QuadRotateDrag(const view::MouseAction& action, const view::EntityPtr& entity);

    // World coordinate of a corner for the items Quad_P1X .. Quad_P4Z; 0 for any other item.
    static double CornerWorldCoordinate(const view::EntityPtr& entity, std::uint32_t item);

public slots:
    // Rebuilds the array entities from the tree; never edits the tree, signals nothing and adds no
    // undo step.
    void handleSpeakersChanged();
};
} // namespace zorvpro
