// Structural edits of the venue tab driven as the tab drives them: placement, delete, copy and
// paste, nudging, mouse action records, the editing keys and the surface geometry rules.

#include "support/VenueAdapterFixture.h"

#include "core/math/Matrix4.h"
#include "data/Settings/AppSettings.h"
#include "views/Adapters/Model/CopyBuffer.h"
#include "views/Adapters/Model/PlacementRegistry.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Render/GridEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/TooltipQP.h"

#include "../../core/support/LogCapture.h"

#include <QSignalSpy>
#include <QUndoCommand>
#include <cmath>

namespace zorvpro::test
{
namespace
{
using Registry = PlacementRegistry;
using Code = std::uint32_t;

math::Vec3 At(const NodePtr& node)
{
    return Registry::NodePosition(node);
}

void ExpectNear(const math::Vec3& a, const math::Vec3& b, double tolerance = 1e-9)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

bool Logged(LogCapture& log, const std::string& text)
{
    for (const std::string& line : log.Texts())
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

struct Units
{
    explicit Units(MeasurementType type)
    {
        AppSettings::Instance().GetUnitSettings()->setMeasurementUnits(type);
    }
    ~Units() { AppSettings::Instance().GetUnitSettings()->setMeasurementUnits(MeasurementType::Metric); }
};

TEST(PlacementRegistryTest, NewNodesStepToFreeSpotsAndWrapInsideTheArea)
{
    const math::BBox wide({-100, -100, -10}, {100, 100, 10});
    struct Case
    {
        const char* name;
        bool metric;
        math::BBox area;
        int count;
        math::Vec3 last;
    };
    const Case cases[] = {
        {"first metric", true, wide, 1, {1.0, 0, 0}},
        {"second metric", true, wide, 2, {4.0, 2.0, 0}},
        {"first imperial", false, wide, 1, {0.9144, 0, 0}},
        {"second imperial", false, wide, 2, {0.9144 + 3.048, 2.1336, 0}},
        // (4, 2) lies beyond half the width of 6 and comes back in from the other side.
        {"wraps across", true, math::BBox({-3, -3, 0}, {3, 3, 0}), 2, {-2.0, 2.0, 0}},
        // A visible area without height must not turn the position into NaN.
        {"flat area", true, math::BBox({-3, 0, 0}, {3, 0, 0}), 2, {-2.0, 2.0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Registry registry;
        QuadNodePtr node;
        for (int i = 0; i < c.count; ++i)
        {
            node = QuadNode::Create("q", {}, {}, {}, {}, Qt::red, 1.2, 0);
            registry.PlaceNode(node, c.metric, c.area, Registry::kModeNew, false);
        }
        ExpectNear(At(node), c.last, 1e-9);
    }
}

TEST(PlacementRegistryTest, OccupancyIsExactGroupsKeepLayoutAndTheSearchEnds)
{
    Registry registry;
    const math::BBox area({-50, -50, 0}, {50, 50, 0});
    // Only x and y count, exactly: a node 1 mm off does not block.
    QuadNodePtr near = QuadNode::Create("near", {}, {}, {}, {}, Qt::red, 1.2, 0);
    near->SetTransform(math::Mat4::Translation({1.001, 0, 0}));
    registry.RegisterNode(near);
    EXPECT_FALSE(Registry::IsOccupied(registry.GetNodesOfType(near), {1.0, 0, 0}));
    EXPECT_TRUE(Registry::IsOccupied(registry.GetNodesOfType(near), {1.001, 0, 5.0}));
    QuadNodePtr first = QuadNode::Create("a", {}, {}, {}, {}, Qt::red, 1.2, 0);
    registry.PlaceNode(first, true, area, Registry::kModeNew, false);
    ExpectNear(At(first), {4.001, 2.0, 0}); // one step from the newest

    // A pasted group moves by one delta and keeps its own height.
    QuadNodePtr a = QuadNode::Create("a", {}, {}, {}, {}, Qt::red, 1.2, 0);
    QuadNodePtr b = QuadNode::Create("b", {}, {}, {}, {}, Qt::red, 1.2, 0);
    a->SetTransform(math::Mat4::Translation({4.0, 2.0, 7.0}));
    b->SetTransform(math::Mat4::Translation({9.0, -1.0, 7.0}));
    registry.PlaceNodes({nullptr, a, b}, true, area, Registry::kModeCopy, true);
    ExpectNear(At(a), {7.001, 4.0, 7.0});
    ExpectNear(At(b) - At(a), {5.0, -3.0, 0});

    // Every spot of a tiny area taken: the search gives up with a finite point.
    Registry full;
    const math::BBox tiny({0, 0, 0}, {3, 2, 0});
    for (double x : {-0.0, 1.0, 2.0, 3.0, -1.0, -2.0})
        for (double y : {-0.0, 1.0, 2.0, -1.0, -2.0})
        {
            QuadNodePtr blocker = QuadNode::Create("x", {}, {}, {}, {}, Qt::red, 1.2, 0);
            blocker->SetTransform(math::Mat4::Translation({x + 1.5, y + 1.0, 0}));
            full.RegisterNode(blocker);
        }
    const math::Vec3 spot =
        Registry::FindFreeSpot(full.GetNodesOfType(first), {1.5, 1.0, 0}, {3.0, 2.0, 0}, tiny);
    ExpectNear(spot, {1.5, 1.0, 0}); // the last candidate of the cycle
}

using EditingOperationsTest = VenueAdapterFixture;

TEST_F(EditingOperationsTest, DeletingThreeIsOneStepAndUndoRestoresThemSelected)
{
    const NodePtr nodes[] = {AddSurface("A"), AddSurface("B", {20, 0, 0}), AddSurface("C", {40, 0, 0})};
    adapter->LoadVenue();
    adapter->SelectAll();
    ASSERT_EQ(adapter->GetSelectedCount(), 3);
    QSignalSpy changed(adapter.get(), &ModelAdapter::entitiesChanged);
    adapter->DeleteSelected(true);
    EXPECT_EQ(Root()->GetChildCount(), 0u);
    EXPECT_EQ(changed.count(), 1);
    ASSERT_EQ(UndoCount(), 1);
    const QUndoCommand* macro = UndoStack::Instance().command(0);
    EXPECT_EQ(macro->text(), "Delete");
    ASSERT_EQ(macro->childCount(), 3);
    EXPECT_EQ(macro->child(1)->text(), "Delete B");

    UndoStack::Instance().undo();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(Root()->GetChildCount(), 3u);
    for (const NodePtr& node : nodes)
    {
        ASSERT_TRUE(EntityOf(node));
        EXPECT_TRUE(plan->HasEntity(EntityOf(node)) && side->HasEntity(EntityOf(node)));
    }
    // Each re-add selects its node; the last one re-added (undo runs backwards) stays selected.
    EXPECT_EQ(adapter->GetSelectedIds(), ModelAdapter::IdVector{EntityOf(nodes[0])->GetId()});
}

TEST_F(EditingOperationsTest, PastedCopiesAreNamedPlacedAndUndoneAsOneStep)
{
    const QuadNodePtr wall = AddSurface("Wall");
    const QuadNodePtr door = AddSurface("Door", {20, 0, 0});
    adapter->LoadVenue();
    adapter->SetSelection(true, {EntityOf(wall)}, true, false);
    adapter->CopySelected(false, false);
    adapter->Paste();
    adapter->Paste();
    EXPECT_TRUE(adapter->FindNodeByName("Copy 1 of Wall"));
    ASSERT_TRUE(adapter->FindNodeByName("Copy 2 of Wall"));
    EXPECT_EQ(UndoCount(), 2); // one record: no macro
    EXPECT_EQ(UndoStack::Instance().text(1), "Add Copy 2 of Wall");
    // The copy of a copy, and the copy is the selection.
    EXPECT_EQ(adapter->GetSelectedIds(),
              ModelAdapter::IdVector{EntityOf(adapter->FindNodeByName("Copy 2 of Wall"))->GetId()});
    adapter->SetSelection(true, {EntityOf(adapter->FindNodeByName("Copy 1 of Wall"))}, true, false);
    adapter->CopySelected(false, false);
    adapter->Paste();
    EXPECT_TRUE(adapter->FindNodeByName("Copy 1 of Copy 1 of Wall"));

    // Two records (a locked one left out by cut) and a paste of both as one step.
    door->SetLocked(true);
    adapter->SetSelection(true, {EntityOf(wall)}, true, false);
    adapter->SetSelection(false, {EntityOf(door)}, true, false);
    ASSERT_EQ(adapter->GetSelectedCount(), 2);
    adapter->CopySelected(true, true);
    EXPECT_EQ(CopyBuffer::Instance().Records().size(), 1u);
    adapter->CopySelected(false, false);
    ASSERT_EQ(CopyBuffer::Instance().Records().size(), 2u);
    const std::size_t before = Root()->GetChildCount();
    const int steps = UndoCount();
    adapter->Paste();
    EXPECT_EQ(Root()->GetChildCount(), before + 2);
    ASSERT_EQ(UndoCount(), steps + 1);
    EXPECT_EQ(UndoStack::Instance().text(steps), "Paste");
    const NodePtr copyOfDoor = adapter->FindNodeByName("Copy 1 of Door");
    ASSERT_TRUE(copyOfDoor);
    EXPECT_FALSE(std::dynamic_pointer_cast<QuadNode>(copyOfDoor)->GetLocked());
    UndoStack::Instance().undo();
    EXPECT_EQ(Root()->GetChildCount(), before);
    EXPECT_FALSE(EntityOf(copyOfDoor));
}

TEST_F(EditingOperationsTest, ArrowKeysNudgeAlongTheActiveViewInBothUnitSystems)
{
    const QuadNodePtr a = AddSurface("A");
    const QuadNodePtr b = AddSurface("B", {20, 0, 0});
    const QuadNodePtr locked = AddSurface("Locked", {40, 0, 0});
    adapter->LoadVenue();
    adapter->SelectAll();
    locked->SetLocked(true);
    EntityOf(locked)->setLocked(true);
    view::MouseAction activate;
    activate.action = view::MouseActionCode::PanRelease;
    activate.tag = plan->GetId();
    adapter->HandleMouseAction(activate);
    ASSERT_EQ(adapter->GetActiveView(), plan);
    struct Case
    {
        MeasurementType units;
        std::uint32_t direction;
        bool fine;
        math::Vec3 offset;
    };
    const Case cases[] = {
        {MeasurementType::Metric, 0, false, {1.0, 0, 0}},
        {MeasurementType::Metric, 1, true, {0, 0.1, 0}},
        {MeasurementType::Imperial, 2, false, {-0.9144, 0, 0}},
        {MeasurementType::Imperial, 3, true, {0, -0.0762, 0}},
    };
    for (const Case& c : cases)
    {
        Units units(c.units);
        const math::Vec3 startA = At(a), startB = At(b), startLocked = At(locked);
        const int steps = UndoCount();
        adapter->MoveSelected(c.direction, c.fine);
        ExpectNear(At(a) - startA, c.offset, 1e-9);
        ExpectNear(At(b) - startB, c.offset, 1e-9);
        ExpectNear(At(locked), startLocked);
        ASSERT_EQ(UndoCount(), steps + 1);
        EXPECT_EQ(UndoStack::Instance().text(steps), "Move selected");
    }
    UndoStack::Instance().undo();
    ExpectNear(At(a), {1.0 - 0.9144, 0.1, 0}, 1e-9);

    // Nudged far to the right, the selection stays in view: the plan pans along with it.
    plan->GetViewport().Resize(800, 600);
    adapter->setPlanViewZoomLevel(ScaleToZoomLevel(10.0), true);
    adapter->SetSelection(true, {EntityOf(a)}, true, false);
    for (int i = 0; i < 120; ++i)
        adapter->MoveSelected(0, false);
    const auto visible = plan->GetGrid()->BoundingBox();
    const auto box = EntityOf(a)->BoundingBox();
    ASSERT_TRUE(visible && box);
    EXPECT_LE(box->max.x + 15.0 / 10.0, visible->max.x + 1e-6);
    EXPECT_GE(box->min.x, visible->min.x);
}

TEST_F(EditingOperationsTest, MouseRecordsDragSelectRectanglesPanAndZoom)
{
    const QuadNodePtr nodes[] = {AddSurface("A"), AddSurface("B", {20, 0, 0}), AddSurface("C", {40, 0, 0})};
    adapter->LoadVenue();
    plan->GetViewport().Resize(800, 600);
    side->GetViewport().Resize(800, 300);
    adapter->setPlanViewZoomLevel(ScaleToZoomLevel(10.0), true);
    const double scale = plan->GetViewport().pixelsPerMeter();
    adapter->SelectAll();
    auto act = [&](Code code, const view::EntityPtr& entity, QPoint position = {}, QPoint delta = {})
    {
        view::MouseAction action;
        action.action = code;
        action.entity = entity;
        action.tag = plan->GetId();
        action.position = position;
        action.delta = delta;
        adapter->HandleMouseAction(action);
    };
    namespace M = view::MouseActionCode;
    const math::Vec3 start[] = {At(nodes[0]), At(nodes[1]), At(nodes[2])};
    act(M::EntityPress, EntityOf(nodes[1]));
    act(M::EntityMove, nullptr, {}, {20, -10});
    act(M::EntityMove, nullptr, {}, {20, 0});
    const math::Vec3 moved(40.0 / scale, 10.0 / scale, 0);
    for (int i = 0; i < 3; ++i)
        ExpectNear(At(nodes[i]) - start[i], moved, 1e-6); // live, before the release
    EXPECT_EQ(UndoCount(), 0);
    act(M::EntityRelease, EntityOf(nodes[1]));
    ASSERT_EQ(UndoCount(), 1);
    EXPECT_EQ(UndoStack::Instance().command(0)->text(), "Move selected");
    EXPECT_EQ(UndoStack::Instance().command(0)->childCount(), 3);
    UndoStack::Instance().undo();
    for (int i = 0; i < 3; ++i)
        ExpectNear(At(nodes[i]), start[i], 1e-6);

    // A press and release without a move leaves only that item selected and no step.
    act(M::EntityPress, EntityOf(nodes[0]));
    act(M::EntityRelease, EntityOf(nodes[0]));
    EXPECT_EQ(adapter->GetSelectedIds(), ModelAdapter::IdVector{EntityOf(nodes[0])->GetId()});
    EXPECT_EQ(UndoStack::Instance().index(), 0);
    // With the additive modifier a click adds an item, and a second click takes it out again.
    auto additive = [&](const NodePtr& node)
    {
        view::MouseAction action;
        action.action = M::EntityPress;
        action.entity = EntityOf(node);
        action.tag = plan->GetId();
        action.control = true;
        adapter->HandleMouseAction(action);
    };
    additive(nodes[2]);
    EXPECT_EQ(adapter->GetSelectedCount(), 2);
    additive(nodes[2]);
    EXPECT_EQ(adapter->GetSelectedIds(), ModelAdapter::IdVector{EntityOf(nodes[0])->GetId()});

    // A rectangle around the first two selects them live, whatever their height.
    const QPoint from = plan->GetViewport().WorldToScreen({-1, 6, 0});
    const QPoint to = plan->GetViewport().WorldToScreen({36, -6, 0});
    act(M::AreaPress, nullptr, from);
    EXPECT_TRUE(adapter->IsRubberBandActive());
    EXPECT_EQ(adapter->GetSelectedCount(), 0);
    act(M::AreaMove, nullptr, to);
    EXPECT_EQ(adapter->GetSelectedCount(), 2);
    act(M::AreaRelease, nullptr, to);
    EXPECT_FALSE(adapter->IsRubberBandActive());
    EXPECT_FALSE(EntityOf(nodes[2])->isSelected());
    EXPECT_TRUE(EntityOf(nodes[0])->isSelected() && EntityOf(nodes[1])->isSelected());

    // A far pan is shortened to 1200 m of sight from the origin.
    act(M::PanMove, nullptr, {}, {-100000000, 0});
    const math::Vec3 eye = plan->GetCamera().GetPosition();
    EXPECT_NEAR(std::hypot(eye.x, eye.y), 1200.0, 1e-3);

    // Wheel zoom keeps the point under the cursor.
    // Wheel zoom keeps the point under the cursor, and, paired, the side view's point at the
    // cursor's x and half its height.
    adapter->CenterView(plan, {0, 0, 0});
    ASSERT_TRUE(adapter->IsZoomPaired());
    const math::Vec3 under = plan->GetViewport().ScreenToRay(200, 150).origin;
    const math::Vec3 sideUnder = side->GetViewport().ScreenToRay(200, 150).origin;
    adapter->ZoomAtPoint(ScaleToZoomLevel(40.0), plan->GetId(), QPointF(200, 150));
    EXPECT_NEAR(adapter->GetSideZoom(), ScaleToZoomLevel(40.0), 1e-9);
    const math::Vec3 after = plan->GetViewport().ScreenToRay(200, 150).origin;
    const math::Vec3 sideAfter = side->GetViewport().ScreenToRay(200, 150).origin;
    EXPECT_NEAR(after.x, under.x, 1.0 / 40.0);
    EXPECT_NEAR(after.y, under.y, 1.0 / 40.0);
    EXPECT_NEAR(sideAfter.x, sideUnder.x, 1.0 / 40.0);
    EXPECT_NEAR(sideAfter.z, sideUnder.z, 1.0 / 40.0);
}

TEST_F(EditingOperationsTest, ShortcutKeysAreBoundOnceAndRefusalsAreLogged)
{
    EXPECT_THROW(KeyboardShortcutHandler(nullptr), std::runtime_error);
    QWidget page;
    KeyboardShortcutHandler keys(&page);
    LogCapture log;
    int runs = 0;
    EXPECT_TRUE(keys.add(QKeySequence("Ctrl+Left"), [&runs] { ++runs; }));
    EXPECT_FALSE(keys.add(QKeySequence("Ctrl+Left"), [&runs] { runs += 10; }));
    EXPECT_TRUE(Logged(log, "QShortcut has already been assigned"));
    EXPECT_FALSE(keys.add(QKeySequence(), [] {}));
    EXPECT_FALSE(keys.add(QKeySequence("Ctrl+X"), nullptr));
    EXPECT_TRUE(Logged(log, "shortcutKey or task was not specified"));
    EXPECT_EQ(keys.Shortcuts().size(), 1u);
}

TEST_F(EditingOperationsTest, ShapeEditsFollowTheSurfaceRules)
{
    const QuadNodePtr wall = AddSurface("Wall");
    adapter->LoadVenue();
    adapter->SetSelection(true, {EntityOf(wall)}, true, false);
    auto edit = [&](const char* item, double value) { Edit(wall, item, 2, value); };
    edit("Quad_FrontWidth", 8.0);
    ExpectNear(wall->GetP1(), {0, 4, 0});
    ExpectNear(wall->GetP4(), {0, -4, 0});
    EXPECT_EQ(UndoStack::Instance().text(0), "Move points Wall");
    edit("Quad_BackDepth", 20.0);
    EXPECT_DOUBLE_EQ(wall->GetP2().x, 20.0);
    EXPECT_DOUBLE_EQ(wall->GetP3().x, 20.0);
    edit("Quad_BackHeight", 2.0);
    EXPECT_DOUBLE_EQ(wall->GetP2().z, 2.0);
    EXPECT_DOUBLE_EQ(wall->GetP3().z, 2.0);
    edit("Quad_P2Z", 3.0); // its partner comes along
    EXPECT_DOUBLE_EQ(wall->GetP3().z, 3.0);
    const int steps = UndoCount();
    EXPECT_EQ(steps, 4);

    // Refused: too wide, and beyond the venue limits; the panel shows the old value again.
    panel->pushed.clear();
    edit("Quad_FrontWidth", 400.0);
    edit("Quad_P0X", 2000.0);
    EXPECT_EQ(UndoCount(), steps);
    ExpectNear(wall->GetP1(), {0, 4, 0});
    ExpectNear(At(wall), {0, 0, 0});
    EXPECT_FALSE(panel->pushed.empty());

    // A surface turned by 90 degrees moves P1 along its own Y only when its world X changes.
    Edit(wall, "Quad_Rotation", 2, M_PI / 2);
    EXPECT_EQ(UndoStack::Instance().text(UndoCount() - 1), "Rotate Wall");
    const math::Vec3 p4Before = wall->GetP4();
    const double worldX = math::TransformPoint(wall->GetTransform(), wall->GetP1()).x;
    edit("Quad_P1X", worldX - 2.0);
    // The front centre stays at the local origin: the surface shifts by half the change.
    ExpectNear(math::TransformPoint(wall->GetTransform(), wall->GetP1()), {worldX - 2.0, 0, 0}, 1e-9);
    ExpectNear(wall->GetP1(), {0, 5, 0}, 1e-9);
    ExpectNear(wall->GetP4() - p4Before, {0, -1, 0}, 1e-9);
    UndoStack::Instance().undo();
    ExpectNear(wall->GetP1(), {0, 4, 0}, 1e-9);
    ExpectNear(math::TransformPoint(wall->GetTransform(), wall->GetP1()), {worldX, 0, 0}, 1e-9);
}
TEST_F(EditingOperationsTest, HandleDragsAreOneStepEachAndNoneWhenNothingChanged)
{
    const QuadNodePtr wall = AddSurface("Wall");
    const QuadNodePtr door = AddSurface("Door", {20, 0, 0});
    adapter->LoadVenue();
    plan->GetViewport().Resize(800, 600);
    side->GetViewport().Resize(800, 300);
    adapter->setPlanViewZoomLevel(ScaleToZoomLevel(10.0), true);
    const double scale = plan->GetViewport().pixelsPerMeter();
    adapter->SelectAll();
    const auto handles = EntitiesIn<view::QuadAdornerEntity>(plan);
    ASSERT_EQ(handles.size(), 2u);
    const auto wallHandles = handles[0]->AdornedEntity() == EntityOf(wall) ? handles[0] : handles[1];
    auto act = [&](Code code, std::uint32_t part, QPoint position, bool control = false)
    {
        view::MouseAction action;
        action.action = code;
        action.hit = std::make_shared<view::HitPoint>(wallHandles, nullptr, math::Ray(), 0.0, part);
        action.entity = wallHandles;
        action.tag = plan->GetId();
        action.position = position;
        action.control = control;
        adapter->HandleMouseAction(action);
    };
    namespace M = view::MouseActionCode;
    // The P2 corner, dragged up 50 pixels: the press leaves the surface alone selected and shows
    // the corner's coordinates; P3 mirrors the width change.
    const QPoint p2 = plan->GetViewport().WorldToScreen({15, 5, 0});
    act(M::HandlePress, 3, p2);
    EXPECT_EQ(adapter->GetSelectedIds(), ModelAdapter::IdVector{EntityOf(wall)->GetId()});
    auto activeHandles = [&]
    {
        std::vector<std::uint32_t> active;
        for (const auto& adorner : EntitiesIn<view::QuadAdornerEntity>(plan))
            if (adorner->ActiveHandle() != view::QuadAdornerEntity::kNoHandle)
                active.push_back(adorner->ActiveHandle());
        return active;
    };
    EXPECT_EQ(activeHandles(), std::vector<std::uint32_t>{2u});
    // The tooltip of the corner takes the theme's colours (light here).
    for (const auto& adorner : EntitiesIn<view::QuadAdornerEntity>(plan))
        if (adorner->ActiveHandle() == 2u)
        {
            EXPECT_EQ(adorner->Tooltip()->TextColor(), QColor("#242424"));
            EXPECT_EQ(adorner->Tooltip()->BackgroundColor(), QColor("#F8F8F8"));
        }
    act(M::HandleMove, 3, p2 + QPoint(0, -25));
    act(M::HandleMove, 3, p2 + QPoint(0, -50));
    EXPECT_EQ(UndoCount(), 0);
    act(M::HandleRelease, 3, p2 + QPoint(0, -50));
    EXPECT_TRUE(activeHandles().empty());
    ASSERT_EQ(UndoCount(), 1);
    EXPECT_EQ(UndoStack::Instance().text(0), "Move points Wall");
    EXPECT_NEAR(wall->GetP2().y, 5.0 + 50.0 / scale, 1.0 / scale);
    EXPECT_NEAR(wall->GetP3().y, -wall->GetP2().y, 1e-9);
    UndoStack::Instance().undo();
    EXPECT_DOUBLE_EQ(wall->GetP2().y, 5.0);
    EXPECT_DOUBLE_EQ(wall->GetP3().y, -5.0);

    // A press and release on a handle without a move, and a turn that comes back, leave no step.
    adapter->themeChanged(0);
    act(M::HandlePress, 4, p2);
    EXPECT_EQ(activeHandles(), std::vector<std::uint32_t>{3u});
    for (const auto& adorner : EntitiesIn<view::QuadAdornerEntity>(plan))
        if (adorner->ActiveHandle() == 3u)
        {
            EXPECT_EQ(adorner->Tooltip()->TextColor(), QColor("#F8F8F8"));
            EXPECT_EQ(adorner->Tooltip()->BackgroundColor(), QColor("#575757"));
        }
    act(M::HandleRelease, 4, p2);
    const QPoint p0 = plan->GetViewport().WorldToScreen({0, 0, 0});
    act(M::HandlePress, 10, p0 + QPoint(100, 0));
    act(M::HandleMove, 10, p0 + QPoint(0, -100));
    act(M::HandleMove, 10, p0 + QPoint(100, 0));
    act(M::HandleRelease, 10, p0 + QPoint(100, 0));
    EXPECT_EQ(UndoStack::Instance().index(), 0);

    // With the modifier the turn snaps to 22.5 degrees: 30 degrees becomes 22.5.
    act(M::HandlePress, 10, p0 + QPoint(100, 0));
    act(M::HandleMove, 10, p0 + QPoint(87, -50), true);
    act(M::HandleRelease, 10, p0 + QPoint(87, -50), true);
    ASSERT_EQ(UndoStack::Instance().index(), 1);
    EXPECT_EQ(UndoStack::Instance().text(0), "Rotate Wall");
    EXPECT_NEAR(wall->GetRotationZ(), M_PI / 8.0, 1e-12);
    EXPECT_FALSE(EntityOf(door)->isSelected());
}
} // namespace
} // namespace zorvpro::test
