#pragma once

// A speaker tab adapter over a real entity list and beam-speaker panel, two views that are never
// shown (no GL needed) and a recording coverage-map listener; arrays of the generated "TQR40V".

#include "VenueAdapterFixture.h"
#include "acoustics/data/LoudspeakerLibrary.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "tests/core/support/LogCapture.h"
#include "tools/datagen/Models.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Tabs/Speaker/BeamSpeakerPropertiesControl.h"

#include <algorithm>

namespace zorvpro::test
{
class RecordingSpeakerSpl : public ISpeakerSplListener
{
public:
    void NodeChanged(std::uint32_t kind, const NodePtr& node) override { changes.emplace_back(kind, node); }
    void HandleEntityVisibility(const NodePtr&) override {}
    void SetActiveSpeaker(const NodePtr& node) override { active.push_back(node); }
    void RefreshSpeaker(const NodePtr& node) override { refreshed.push_back(node); }
    void UpdateSplMaps(bool) override {}
    std::vector<std::pair<std::uint32_t, NodePtr>> changes;
    std::vector<NodePtr> active;
    std::vector<NodePtr> refreshed;
};

// Loads the generated array module into the loudspeaker library once per process.
inline bool LoadArrayModel()
{
    static const bool loaded = []
    {
        RegisterBridgeNodeTypes();
        const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                      .getChildFile("zorv-speaker-tab-" + juce::Uuid().toString());
        folder.createDirectory();
        const bool written = datagen::WriteDataSet(folder, datagen::MakeArrayDataSet());
        acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
            folder.getFullPathName().toStdString());
        folder.deleteRecursively();
        return written && CreateLoudspeakerNode(datagen::kArrayModelName) != nullptr;
    }();
    return loaded;
}

class SpeakerAdapterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProjectDefinition::Instance()->Clear(false);
        UndoStack::Instance().clear();
        list =
            std::make_unique<EntitySelectionControl>(EntitySelectionControl::kLoudspeakerList, "SpeakerTab");
        panel = std::make_unique<BeamSpeakerPropertiesControl>();
        list->setPropertiesGrid(panel.get());
        page = std::make_unique<QWidget>();
        plan = new view::VenueView3D(page.get());
        side = new view::VenueView3D(page.get());
        plan->GetViewport().Resize(800, 600);
        side->GetViewport().Resize(800, 600);
        adapter = std::make_unique<SpeakerTabAdapter>(list.get(), nullptr);
        adapter->SetPlanView(plan);
        adapter->SetSideView(side);
        adapter->SetSpeakerSplListener(&spl);
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

    // Adds an array as the user does (one undo step) and returns its node.
    BeamSpeakerClusterNodePtr AddArray()
    {
        const int before = UndoStack::Instance().index();
        adapter->AddNewItem(true);
        if (UndoStack::Instance().index() != before + 1)
            return nullptr;
        const auto& children = Root()->GetChildren();
        return children.empty() ? nullptr
                                : std::dynamic_pointer_cast<BeamSpeakerClusterNode>(children.back());
    }

    view::BeamSpeakerEntityPtr EntityOf(const NodePtr& node) const
    {
        return std::dynamic_pointer_cast<view::BeamSpeakerEntity>(adapter->GetLinks().GetEntityForNode(node));
    }

    void Select(const std::vector<NodePtr>& nodes)
    {
        std::vector<view::EntityPtr> entities;
        for (const NodePtr& node : nodes)
            entities.push_back(adapter->GetLinks().GetEntityForNode(node));
        adapter->SetSelection(true, entities, true, false);
    }

    bool Edit(const NodePtr& node, const QString& item, const QVariant& value)
    {
        std::uint32_t kind = 0;
        return adapter->entityValueChanged(node->GetId(), item, &kind, value);
    }

    QVariant Shown(const QString& item) const
    {
        BindableProperty* property = list->findGridProperty(item);
        return property != nullptr ? property->value() : QVariant();
    }

    static int Steps() { return UndoStack::Instance().index(); }
    static QString LastStep() { return UndoStack::Instance().text(UndoStack::Instance().index() - 1); }

    static bool Logged(LogCapture& log, const std::string& text)
    {
        const auto lines = log.Lines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }

    template <typename T> std::vector<std::shared_ptr<T>> EntitiesIn(view::VenueView3D* view) const
    {
        std::vector<std::shared_ptr<T>> found;
        for (const view::EntityPtr& entity : view->GetEntities())
            if (auto typed = std::dynamic_pointer_cast<T>(entity))
                found.push_back(typed);
        return found;
    }

    std::unique_ptr<EntitySelectionControl> list;
    std::unique_ptr<BeamSpeakerPropertiesControl> panel;
    std::unique_ptr<QWidget> page;
    view::VenueView3D* plan = nullptr;
    view::VenueView3D* side = nullptr;
    std::unique_ptr<SpeakerTabAdapter> adapter;
    RecordingSpeakerSpl spl;
};
} // namespace zorvpro::test
