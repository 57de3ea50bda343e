// The venue tab adapter over real lists and unshown views: loading, field edits as undo steps,
// the panel refresh, selection adorners, detaching and the arrays shown for context.

#include "support/VenueAdapterFixture.h"

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "core/Logging/LogLevel.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "views/Render/ListenerPlaneAdorner.h"
#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/QuadEntity.h"

#include "../../core/support/LogCapture.h"

#include <QSignalSpy>
#include <algorithm>
#include <cmath>
#include <functional>

namespace zorvpro::test
{
namespace
{
bool Logged(LogCapture& log, const std::string& text)
{
    const auto texts = log.Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

using VenueTabAdapterTest = VenueAdapterFixture;

TEST_F(VenueTabAdapterTest, LoadingTwiceShowsEverySurfaceOnceInEachViewAndTheList)
{
    const QuadNodePtr wall = AddSurface("Wall");
    const QuadNodePtr floor = AddSurface("Floor", {20, 0, 0});
    floor->SetLocked(true);
    adapter->LoadVenue();
    adapter->LoadVenue();

    EXPECT_EQ(EntitiesIn<view::QuadEntity>(plan).size(), 2u);
    EXPECT_EQ(EntitiesIn<view::QuadEntity>(side).size(), 2u);
    const auto planes = EntitiesIn<view::ListenerPlaneAdorner>(side);
    ASSERT_EQ(planes.size(), 2u);
    EXPECT_TRUE(EntitiesIn<view::ListenerPlaneAdorner>(plan).empty());
    for (const auto& plane : planes)
        EXPECT_EQ(adapter->GetAdornerKind(plane), 2u);
    EXPECT_EQ(list->rowCount(), 2);
    EXPECT_EQ(RowName(wall), "Wall");
    // Loading attaches nothing to the tree, selects nothing and records no undo step.
    EXPECT_EQ(Root()->GetChildCount(), 2u);
    EXPECT_EQ(adapter->GetSelectedCount(), 0);
    EXPECT_EQ(UndoCount(), 0);
    // Both surfaces count for fitting.
    const math::BBox bounds = adapter->GetSceneBounds(true);
    EXPECT_DOUBLE_EQ(bounds.min.x, 0.0);
    EXPECT_DOUBLE_EQ(bounds.max.x, 35.0);
}

TEST_F(VenueTabAdapterTest, LoadingAnotherProjectShowsOnlyItsSurfacesAndForgetsTheOldPlaces)
{
    std::vector<QuadNodePtr> old;
    for (int i = 0; i < 40; ++i)
        old.push_back(AddSurface("Old " + std::to_string(i), {20.0 * i, 0, 0}));
    adapter->LoadVenue();
    ASSERT_EQ(list->rowCount(), 40);
    adapter->SetSelection(true, {EntityOf(old[3])}, true, false);

    // What the tabs do when the project is cleared, then the next project's load.
    ProjectDefinition::Instance()->Clear(false);
    adapter->ResetViews(true);
    EXPECT_EQ(list->rowCount(), 0);
    std::vector<QuadNodePtr> next;
    for (int i = 0; i < 7; ++i)
        next.push_back(AddSurface("New " + std::to_string(i), {0, 20.0 * i, 0}));
    adapter->LoadVenue();

    ASSERT_EQ(list->rowCount(), 7);
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_EQ(list->indexOfEntity(next[i]->GetId()), i);
        EXPECT_EQ(RowName(next[i]), QString::fromStdString(next[i]->GetName()));
    }
    for (const QuadNodePtr& gone : old)
        EXPECT_EQ(list->indexOfEntity(gone->GetId()), -1);
    EXPECT_EQ(adapter->GetSelectedCount(), 0);
    EXPECT_EQ(EntitiesIn<view::QuadEntity>(plan).size(), 7u);

    // New surfaces are placed among this project's surfaces only, and the old ones are not
    // kept alive by their places.
    const PlacementRegistry::PlacedList& places = adapter->GetPlacementRegistry().GetNodesOfType(next[0]);
    EXPECT_EQ(places.size(), 7u);
    for (const PlacementRegistry::PlacedNode& place : places)
        EXPECT_NE(std::find(next.begin(), next.end(), place.node), next.end());
}

TEST_F(VenueTabAdapterTest, RenameIsOneUndoStepThatUndoesEntityNodeAndRow)
{
    const QuadNodePtr wall = AddSurface("Wall");
    adapter->LoadVenue();
    QSignalSpy changed(adapter.get(), &ModelAdapter::entitiesChanged);

    EXPECT_TRUE(Edit(wall, "Entity_Name", 4, QString("Stage")));
    ASSERT_EQ(UndoCount(), 1);
    EXPECT_EQ(UndoStack::Instance().text(0), "Modify Wall name");
    EXPECT_EQ(wall->GetName(), "Stage");
    EXPECT_EQ(EntityOf(wall)->getName(), "Stage");
    EXPECT_EQ(RowName(wall), "Stage");
    EXPECT_EQ(changed.count(), 1);

    UndoStack::Instance().undo();
    EXPECT_EQ(wall->GetName(), "Wall");
    EXPECT_EQ(EntityOf(wall)->getName(), "Wall");
    EXPECT_EQ(RowName(wall), "Wall");
    UndoStack::Instance().redo();
    EXPECT_EQ(RowName(wall), "Stage");

    // The same name again is no edit at all.
    Edit(wall, "Entity_Name", 4, QString("Stage"));
    EXPECT_EQ(UndoCount(), 1);
}

TEST_F(VenueTabAdapterTest, EachFieldEditIsOneStepAndALockedSurfaceTakesOnlyTheLock)
{
    const QuadNodePtr wall = AddSurface("Wall");
    adapter->LoadVenue();
    const view::EntityPtr entity = EntityOf(wall);
    auto* quad = dynamic_cast<view::QuadEntity*>(entity.get());

    struct Case
    {
        const char* item;
        std::uint32_t kind;
        QVariant value;
        const char* undoText;
        std::function<bool()> applied;
    };
    const std::vector<Case> cases = {
        {"Entity_Color", 1, QColor("#123456"), "Modify Wall color",
         [&] { return wall->GetColor() == QColor("#123456") && quad->GetColor() == QColor("#123456"); }},
        {"Entity_Transparency", 0, false, "Modify Wall transparent",
         [&] { return !wall->GetTransparent() && !entity->isTransparent(); }},
        {"Entity_Visibility", 0, false, "Modify Wall visible",
         [&] { return !wall->GetVisible() && !entity->isVisible(); }},
        {"Quad_ListenerHeightEnabled", 0, false, "Modify Wall listener height enabled",
         [&] { return !wall->GetListenerHeightEnabled() && !quad->IsListenerHeightEnabled(); }},
        {"Quad_ListenerHeight", 2, 1.7, "Modify Wall listener",
         [&] { return wall->GetListenerHeight() == 1.7 && quad->GetListenerHeight() == 1.7; }},
        {"Entity_Lock", 0, true, "Modify Wall lock", [&] { return wall->GetLocked() && entity->isLocked(); }},
    };
    for (const Case& c : cases)
    {
        const int before = UndoCount();
        Edit(wall, c.item, c.kind, c.value);
        ASSERT_EQ(UndoCount(), before + 1) << c.item;
        EXPECT_EQ(UndoStack::Instance().text(before), c.undoText);
        EXPECT_TRUE(c.applied()) << c.item;
    }
    // Visibility is passed on to the coverage maps once.
    EXPECT_EQ(spl.visibility.size(), 1u);

    // Locked now: every other field is refused without a step, the lock itself still works.
    const int locked = UndoCount();
    Edit(wall, "Entity_Name", 4, QString("Other"));
    Edit(wall, "Entity_Color", 1, QColor("#ffffff"));
    Edit(wall, "Quad_ListenerHeight", 2, 3.0);
    EXPECT_EQ(UndoCount(), locked);
    EXPECT_EQ(wall->GetName(), "Wall");
    EXPECT_EQ(wall->GetListenerHeight(), 1.7);
    Edit(wall, "Entity_Lock", 0, false);
    EXPECT_EQ(UndoCount(), locked + 1);
    EXPECT_FALSE(wall->GetLocked());

    // Undoing everything restores every field.
    while (UndoStack::Instance().canUndo())
        UndoStack::Instance().undo();
    EXPECT_EQ(wall->GetColor(), QColor("#ff8632"));
    EXPECT_TRUE(wall->GetVisible() && entity->isVisible());
    EXPECT_EQ(quad->GetListenerHeight(), 1.2);
}

TEST_F(VenueTabAdapterTest, ListenerHeightTellsTheCoverageMapOnlyWhenItChanges)
{
    const QuadNodePtr wall = AddSurface("Wall");
    adapter->LoadVenue();
    spl.changes.clear();
    Edit(wall, "Quad_ListenerHeight", 2, 1.2);
    EXPECT_EQ(UndoCount(), 1); // an equal value still passes through the generic path
    EXPECT_TRUE(spl.changes.empty());
    Edit(wall, "Quad_ListenerHeight", 2, 2.5);
    ASSERT_EQ(spl.changes.size(), 1u);
    EXPECT_EQ(spl.changes[0].first, ISplNodeListener::kChanged);
    EXPECT_EQ(spl.changes[0].second, wall);
}

TEST_F(VenueTabAdapterTest, EditsThatNoTableHoldsAreLoggedAndChangeNothing)
{
    const QuadNodePtr wall = AddSurface("Wall");
    adapter->LoadVenue();
    LogCapture log;
    Edit(wall, "Beam_Modules", 3, 4);
    EXPECT_TRUE(Logged(log, "Unknown field id in process generic value"));
    Edit(wall, "Beam_Modules", 2, 4.0);
    EXPECT_TRUE(Logged(log, "Unknown property 30 in quad adapter"));
    // A node the tab does not show is no edit.
    const QuadNodePtr stray = QuadNode::Create("Stray", {}, {}, {}, {}, QColor(), 1.0, 0.0);
    EXPECT_FALSE(Edit(stray, "Entity_Name", 4, QString("X")));
    adapter->ApplyDoubleValue(stray, 14, 2.0, true);
    EXPECT_TRUE(Logged(log, "Mismatched entity in model adapter set value"));
    EXPECT_EQ(UndoCount(), 0);

    // A step whose redo or undo throws is logged; nothing unwinds through the undo stack.
    const bool dealt = adapter->SetGenericValue(
        wall, 1, true, "Modify Wall thrown", [] { throw std::runtime_error("redo failed"); },
        [] { throw std::logic_error("undo failed"); });
    EXPECT_TRUE(dealt);
    ASSERT_EQ(UndoCount(), 1);
    UndoStack::Instance().undo();
    const auto texts = log.Texts();
    for (const char* what : {"redo failed", "undo failed"})
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                                [&](const std::string& t)
                                {
                                    return t.rfind("Exception ", 0) == 0 &&
                                           t.find(what) != std::string::npos &&
                                           t.find(" occurred @ '") != std::string::npos;
                                }),
                  1)
            << what;
    // A node the list has no row for is shown nowhere, and nothing is logged for it.
    log.Clear();
    adapter->SetPropertyValue(stray, 1, QString("X"));
    EXPECT_TRUE(log.Texts().empty());
}

TEST_F(VenueTabAdapterTest, OneSelectedSurfaceFillsThePanelAndGetsItsHandles)
{
    const QuadNodePtr wall = AddSurface("Wall");
    adapter->LoadVenue();
    const view::EntityPtr entity = EntityOf(wall);
    panel->pushed.clear();
    adapter->SetSelection(true, {entity}, true, false);

    // The list shows the name in its row; every other value reaches the panel, in this order.
    const std::vector<std::pair<QString, double>> expected = {{"Quad_P1X", 0},
                                                              {"Quad_P1Y", 5},
                                                              {"Quad_P1Z", 0},
                                                              {"Quad_P2X", 15},
                                                              {"Quad_P2Y", 5},
                                                              {"Quad_P2Z", 0},
                                                              {"Quad_P3X", 15},
                                                              {"Quad_P3Y", -5},
                                                              {"Quad_P3Z", 0},
                                                              {"Quad_P4X", 0},
                                                              {"Quad_P4Y", -5},
                                                              {"Quad_P4Z", 0},
                                                              {"Quad_Rotation", 0},
                                                              {"Quad_ListenerHeight", 1.2},
                                                              {"Quad_ListenerHeightEnabled", 1},
                                                              {"Quad_P0X", 0},
                                                              {"Quad_P0Y", 0},
                                                              {"Quad_P0Z", 0},
                                                              {"Quad_FrontWidth", 10},
                                                              {"Quad_BackWidth", 10},
                                                              {"Quad_BackHeight", 0},
                                                              {"Quad_BackDepth", 15}};
    ASSERT_EQ(panel->pushed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(panel->pushed[i].first, expected[i].first) << i;
        EXPECT_NEAR(panel->pushed[i].second.toDouble(), expected[i].second, 1e-12)
            << expected[i].first.toStdString();
    }
    EXPECT_EQ(list->activeId(), wall->GetId());

    // Handles in both views; focus on a panel field highlights its measure, and losing it clears it.
    const auto planHandles = EntitiesIn<view::QuadAdornerEntity>(plan);
    const auto sideHandles = EntitiesIn<view::QuadAdornerEntity>(side);
    ASSERT_EQ(planHandles.size(), 1u);
    ASSERT_EQ(sideHandles.size(), 1u);
    EXPECT_FALSE(planHandles[0]->SideViewCursors());
    EXPECT_TRUE(sideHandles[0]->SideViewCursors());
    adapter->entityFocusChanged(wall->GetId(), "Quad_FrontWidth", true);
    EXPECT_EQ(planHandles[0]->HighlightedItem(), 10u);
    EXPECT_EQ(sideHandles[0]->HighlightedItem(), 10u);
    adapter->entityFocusChanged(wall->GetId(), "Quad_FrontWidth", false);
    EXPECT_EQ(planHandles[0]->HighlightedItem(), 0u);

    // A turned and moved surface keeps its shape measures while its corners move.
    wall->SetTransform(math::Mat4::Translation({2, 3, 0}) * math::Mat4::RotationZ(M_PI / 2));
    QuadNodePtr other = AddSurface("Other");
    other->SetTransform(wall->GetTransform());
    adapter->LoadVenue();
    panel->pushed.clear();
    adapter->SetSelection(true, {EntityOf(other)}, true, false);
    std::map<QString, double> shown;
    for (const auto& [name, value] : panel->pushed)
        shown[name] = value.toDouble();
    EXPECT_NEAR(shown["Quad_P1X"], -3.0, 1e-9);
    EXPECT_NEAR(shown["Quad_P1Y"], 3.0, 1e-9);
    EXPECT_NEAR(shown["Quad_P0X"], 2.0, 1e-9);
    EXPECT_NEAR(shown["Quad_FrontWidth"], 10.0, 1e-9);
    EXPECT_NEAR(shown["Quad_BackDepth"], 15.0, 1e-9);

    // Deselecting removes the handles but keeps the listener planes.
    adapter->SetSelection(true, {}, true, false);
    EXPECT_TRUE(EntitiesIn<view::QuadAdornerEntity>(plan).empty());
    EXPECT_TRUE(EntitiesIn<view::QuadAdornerEntity>(side).empty());
    EXPECT_EQ(EntitiesIn<view::ListenerPlaneAdorner>(side).size(), 2u);
}

TEST_F(VenueTabAdapterTest, SelectionFollowsTheListAndVetoesNothingTwice)
{
    const QuadNodePtr a = AddSurface("A");
    const QuadNodePtr b = AddSurface("B", {20, 0, 0});
    adapter->LoadVenue();
    adapter->entitiesSelectionChanged({a->GetId(), b->GetId()});
    EXPECT_EQ(adapter->GetSelectedCount(), 2);
    EXPECT_TRUE(EntityOf(a)->isSelected() && EntityOf(b)->isSelected());
    // Ids without entities clear the selection.
    adapter->entitiesSelectionChanged({987654321});
    EXPECT_EQ(adapter->GetSelectedCount(), 0);
    EXPECT_FALSE(EntityOf(a)->isSelected());
    // Not replacing: a second click on a selected item deselects it.
    adapter->SetSelection(false, {EntityOf(a)}, true, true);
    adapter->SetSelection(false, {EntityOf(b)}, true, true);
    adapter->SetSelection(false, {EntityOf(a)}, true, true);
    EXPECT_EQ(adapter->GetSelectedIds(), ModelAdapter::IdVector{EntityOf(b)->GetId()});
    // Select All takes only what may be selected.
    a->SetLocked(true);
    EntityOf(a)->setLocked(true);
    adapter->SelectAll();
    EXPECT_EQ(adapter->GetSelectedIds(), ModelAdapter::IdVector{EntityOf(b)->GetId()});
}

TEST_F(VenueTabAdapterTest, EveryChangeOfTheSelectionIsToldOnceItIsInPlace)
{
    const QuadNodePtr a = AddSurface("A");
    const QuadNodePtr b = AddSurface("B", {20, 0, 0});
    // What the selection held at each notice.
    std::vector<int> told;
    QObject guard;
    QObject::connect(adapter.get(), &ModelAdapter::selectionChanged, &guard,
                     [&] { told.push_back(adapter->GetSelectedCount()); });
    const auto load = [&] { adapter->LoadVenue(); };
    const auto pickA = [&] { adapter->SetSelection(true, {EntityOf(a)}, true, true); };
    const auto listBoth = [&] { adapter->entitiesSelectionChanged({a->GetId(), b->GetId()}); };
    const auto clear = [&] { adapter->ResetViews(true); };
    // The list ignores its own selection notices until the event loop has run: the selected
    // surface leaves without the list's word.
    const auto addAndUndo = [&]
    {
        adapter->AddNewItem(true);
        ASSERT_EQ(told, std::vector<int>{1});
        UndoStack::Instance().undo();
    };
    struct Step
    {
        const char* what;
        std::function<void()> act;
        int selected;
        bool changed; // false: nothing is told
    };
    const Step steps[] = {
        {"a project shown", load, 0, true},
        {"one picked in a view", pickA, 1, true},
        {"both chosen in the list", listBoth, 2, true},
        {"both chosen again", listBoth, 2, false},
        {"the project cleared", clear, 0, true},
        {"the project shown again", load, 0, true},
        {"a surface added and its addition undone at once", addAndUndo, 0, true},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.what);
        told.clear();
        step.act();
        EXPECT_EQ(adapter->GetSelectedCount(), step.selected);
        if (!step.changed)
        {
            EXPECT_TRUE(told.empty());
        }
        else
        {
            ASSERT_FALSE(told.empty());
            EXPECT_EQ(told.back(), step.selected);
        }
    }
}

TEST_F(VenueTabAdapterTest, ResetViewsDetachesWithoutTouchingTheTreeOrLocks)
{
    const QuadNodePtr wall = AddSurface("Wall");
    const QuadNodePtr floor = AddSurface("Floor", {20, 0, 0});
    floor->SetLocked(true);
    adapter->LoadVenue();
    adapter->SetSelection(true, {EntityOf(wall)}, true, false);
    QSignalSpy changed(adapter.get(), &ModelAdapter::entitiesChanged);
    adapter->ResetViews(true);

    EXPECT_TRUE(EntitiesIn<view::QuadEntity>(plan).empty());
    EXPECT_TRUE(EntitiesIn<view::QuadEntity>(side).empty());
    EXPECT_TRUE(EntitiesIn<view::ListenerPlaneAdorner>(side).empty());
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(adapter->GetLinks().AllNodes().empty());
    EXPECT_FALSE(adapter->GetLinks().GetEntityForNode(wall));
    EXPECT_EQ(Root()->GetChildCount(), 2u);
    EXPECT_TRUE(floor->GetLocked());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(spl.changes.empty());
    EXPECT_EQ(UndoCount(), 0);
}

TEST_F(VenueTabAdapterTest, ArraysFollowTheSpeakerTabWithoutSignalsOrUndoSteps)
{
    adapter->showArrays = true;
    AddSurface("Wall");
    const auto array = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    ASSERT_TRUE(array);
    array->SetName("Array 1");
    Root()->AddChild(array);
    adapter->LoadVenue();
    QSignalSpy changed(adapter.get(), &ModelAdapter::entitiesChanged);
    adapter->handleSpeakersChanged();
    adapter->handleSpeakersChanged();

    for (view::VenueView3D* view : {plan, side})
    {
        const auto entities = view->GetEntities();
        EXPECT_EQ(std::count_if(entities.begin(), entities.end(),
                                [](const view::EntityPtr& e) { return e && e->getName() == "Array 1"; }),
                  1);
    }
    EXPECT_EQ(list->rowCount(), 1); // arrays are not surfaces: no row
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(UndoCount(), 0);
    EXPECT_EQ(Root()->GetChildCount(), 2u);
    // The array's entity cannot be edited from here, but the tab accepts the node.
    EXPECT_TRUE(adapter->IsFieldEditable(array, 1));
    EXPECT_FALSE(adapter->IsSelectable(EntityOf(array)));
}

TEST_F(VenueTabAdapterTest, DeleteAndUndoRestoreTheSurfaceEverywhere)
{
    const QuadNodePtr wall = AddSurface("Wall");
    adapter->LoadVenue();
    adapter->SetSelection(true, {EntityOf(wall)}, true, false);
    QSignalSpy changed(adapter.get(), &ModelAdapter::entitiesChanged);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_DeleteEntity", true);
    EXPECT_EQ(Root()->GetChildCount(), 0u);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(EntitiesIn<view::QuadEntity>(plan).empty());
    EXPECT_EQ(changed.count(), 1);
    ASSERT_FALSE(spl.changes.empty());
    EXPECT_EQ(spl.changes.back().first, ISplNodeListener::kRemoved);

    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_Undo", true);
    EXPECT_EQ(Root()->GetChildCount(), 1u);
    EXPECT_EQ(list->rowCount(), 1);
    EXPECT_EQ(EntitiesIn<view::QuadEntity>(plan).size(), 1u);
    EXPECT_EQ(EntitiesIn<view::ListenerPlaneAdorner>(side).size(), 1u);
    EXPECT_EQ(adapter->GetSelectedCount(), 1);
    EXPECT_EQ(changed.count(), 2);

    // A locked surface is not deleted.
    wall->SetLocked(true);
    adapter->DeleteSelected(true);
    EXPECT_EQ(Root()->GetChildCount(), 1u);
}

TEST_F(VenueTabAdapterTest, NewSurfacesGetUniqueNamesAndTheDefaultShape)
{
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_AddEntity", true);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_AddEntity", true);
    ASSERT_EQ(Root()->GetChildCount(), 2u);
    const auto first = std::dynamic_pointer_cast<QuadNode>(Root()->GetChild(0));
    const auto second = std::dynamic_pointer_cast<QuadNode>(Root()->GetChild(1));
    EXPECT_EQ(first->GetName(), "Surface 1");
    EXPECT_EQ(second->GetName(), "Surface 2");
    EXPECT_EQ(UndoStack::Instance().text(1), "Add Surface 2");
    EXPECT_EQ(first->GetP2(), math::Vec3(15, 5, 0));
    EXPECT_EQ(first->GetP4(), math::Vec3(0, -5, 0));
    EXPECT_TRUE(first->GetTransparent());
    EXPECT_EQ(adapter->FindNodeByName("Surface 2"), second);
    EXPECT_FALSE(adapter->FindNodeByName("Surface"));
    // The newest one is the selection.
    EXPECT_EQ(adapter->GetSelectedIds(), ModelAdapter::IdVector{EntityOf(second)->GetId()});
}
} // namespace
} // namespace zorvpro::test
