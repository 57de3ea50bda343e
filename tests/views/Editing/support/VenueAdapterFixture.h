#pragma once

// A venue tab adapter over a real entity list, a recording surface panel, a recording tool bar,
// a recording coverage-map listener and two views that are never shown (no GL needed).

#include "core/Commands/UndoStack.h"
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/GridControl/UnitType.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <QUndoStack>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace zorvpro::test
{
// The surface panel's numeric items, bound so that the list passes their values on.
inline const std::vector<QString>& PanelItems()
{
    static const std::vector<QString> items = {"Quad_P0X",
                                               "Quad_P0Y",
                                               "Quad_P0Z",
                                               "Quad_FrontWidth",
                                               "Quad_BackWidth",
                                               "Quad_BackDepth",
                                               "Quad_BackHeight",
                                               "Quad_ListenerHeight",
                                               "Quad_ListenerHeightEnabled",
                                               "Quad_Rotation",
                                               "Quad_P1X",
                                               "Quad_P1Y",
                                               "Quad_P1Z",
                                               "Quad_P2X",
                                               "Quad_P2Y",
                                               "Quad_P2Z",
                                               "Quad_P3X",
                                               "Quad_P3Y",
                                               "Quad_P3Z",
                                               "Quad_P4X",
                                               "Quad_P4Y",
                                               "Quad_P4Z"};
    return items;
}

class RecordingPanel : public BoundPropertiesGrid
{
public:
    RecordingPanel() : BoundPropertiesGrid("RecordingPanel")
    {
        createProperties();
        layoutProperties();
    }
    void createProperties() override
    {
        for (const QString& name : PanelItems())
            bindProperty(BindableProperty::createLineEdit(name, static_cast<std::uint32_t>(UnitType::Number),
                                                          32, -1e9, 1e9, 6));
    }
    void layoutProperties() override {}
    void updateProperty(const QString& name, const QVariant& value) override
    {
        pushed.emplace_back(name, value);
        BoundPropertiesGrid::updateProperty(name, value);
    }
    std::vector<std::pair<QString, QVariant>> pushed;
};

class RecordingToolbar : public IBindablePropertyUpdater
{
public:
    void updateProperty(const QString& name, const QVariant& value) override { values[name] = value; }
    std::map<QString, QVariant> values;
};

class RecordingSpl : public ISplNodeListener
{
public:
    void NodeChanged(std::uint32_t kind, const NodePtr& node) override { changes.emplace_back(kind, node); }
    void HandleEntityVisibility(const NodePtr& node) override { visibility.push_back(node); }
    std::vector<std::pair<std::uint32_t, NodePtr>> changes;
    std::vector<NodePtr> visibility;
};

// Lets a test mark a load in progress and show arrays with a plain entity.
class TestVenueAdapter : public VenueTabAdapter
{
public:
    using VenueTabAdapter::VenueTabAdapter;
    void SetLoading(bool value) { loading = value; }
    bool showArrays = false;
    view::EntityPtr CreateEntity(const NodePtr& node) override
    {
        view::EntityPtr entity = VenueTabAdapter::CreateEntity(node);
        // An array without modules has no drawing; a plain entity stands in for it.
        if (!entity && showArrays && !std::dynamic_pointer_cast<QuadNode>(node))
            return std::make_shared<view::Entity>(node->GetName());
        return entity;
    }
};

class VenueAdapterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProjectDefinition::Instance()->Clear(false);
        UndoStack::Instance().clear();
        list = std::make_unique<EntitySelectionControl>(EntitySelectionControl::kSurfaceList, "VenueTab");
        panel = std::make_unique<RecordingPanel>();
        list->setPropertiesGrid(panel.get());
        page = std::make_unique<QWidget>();
        plan = new view::VenueView3D(page.get());
        side = new view::VenueView3D(page.get());
        adapter = std::make_unique<TestVenueAdapter>(list.get(), nullptr);
        adapter->SetPlanView(plan);
        adapter->SetSideView(side);
        adapter->SetToolbar(&toolbar);
        adapter->SetSplAdapter(&spl);
    }

    void TearDown() override
    {
        adapter.reset();
        page.reset();
        list.reset();
        panel.reset();
        UndoStack::Instance().clear();
        ProjectDefinition::Instance()->Clear(false);
    }

    static NodePtr Root() { return ProjectDefinition::Instance()->GetVenue()->GetRoot(); }

    // A 15 m x 10 m surface with its front edge centred on `at`, added to the venue tree.
    static QuadNodePtr AddSurface(const std::string& name, const math::Vec3& at = {0, 0, 0})
    {
        QuadNodePtr quad = QuadNode::Create(name, {0, 5, 0}, {15, 5, 0}, {15, -5, 0}, {0, -5, 0},
                                            QColor("#ff8632"), 1.2, 0.0);
        quad->SetTransform(math::Mat4::Translation(at));
        Root()->AddChild(quad);
        return quad;
    }

    template <typename T> std::vector<std::shared_ptr<T>> EntitiesIn(view::VenueView3D* view) const
    {
        std::vector<std::shared_ptr<T>> found;
        for (const view::EntityPtr& entity : view->GetEntities())
            if (auto typed = std::dynamic_pointer_cast<T>(entity))
                found.push_back(typed);
        return found;
    }

    view::EntityPtr EntityOf(const NodePtr& node) const { return adapter->GetLinks().GetEntityForNode(node); }

    bool Edit(const NodePtr& node, const QString& item, std::uint32_t kind, const QVariant& value)
    {
        return adapter->entityValueChanged(node->GetId(), item, &kind, value);
    }

    QString RowName(const NodePtr& node) const
    {
        const int row = list->indexOfEntity(node->GetId());
        for (int column = 0; row >= 0 && column < list->columnCount(); ++column)
            if (QTableWidgetItem* item = list->item(row, column))
                if (!item->text().isEmpty())
                    return item->text();
        return QString();
    }

    static int UndoCount() { return UndoStack::Instance().count(); }

    std::unique_ptr<EntitySelectionControl> list;
    std::unique_ptr<RecordingPanel> panel;
    std::unique_ptr<QWidget> page;
    view::VenueView3D* plan = nullptr;
    view::VenueView3D* side = nullptr;
    std::unique_ptr<TestVenueAdapter> adapter;
    RecordingToolbar toolbar;
    RecordingSpl spl;
};
} // namespace zorvpro::test
