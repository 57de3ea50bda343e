#pragma once

#include "views/Adapters/Model/ModelAdapter.h"

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

    // World coordinate of a corner for the items Quad_P1X .. Quad_P4Z; 0 for any other item.
    static double CornerWorldCoordinate(const view::EntityPtr& entity, std::uint32_t item);

public slots:
    // Rebuilds the array entities from the tree; never edits the tree, signals nothing and adds no
    // undo step.
    void handleSpeakersChanged();
};
} // namespace zorvpro
