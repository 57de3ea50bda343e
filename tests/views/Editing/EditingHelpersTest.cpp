// The link index, the drag collector and the animation queue on their own.

#include "views/Adapters/Model/AnimationQueue.h"
#include "views/Adapters/Model/IterativeUndoOperation.h"
#include "views/Adapters/Model/LinkIndex.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Render/Entity.h"
#include "views/Render/VenueView3D.h"

#include "../../core/support/LogCapture.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zorvpro::test
{
namespace
{
view::EntityPtr MakeEntity(const std::string& name)
{
    return std::make_shared<view::Entity>(name);
}

TEST(LinkIndexTest, LookupsFollowLinksAndRemovals)
{
    LinkIndex index;
    view::VenueView3D view;
    const NodePtr node = Node::Create();
    const view::EntityPtr entity = MakeEntity("wall");
    const view::EntityPtr withNode = MakeEntity("adorner with node");
    const view::EntityPtr withoutNode = MakeEntity("adorner without node");

    EXPECT_FALSE(index.GetEntityByNodeId(424242));
    EXPECT_FALSE(index.GetNodeForEntity(nullptr));
    index.LinkEntityNodeView(entity, node, &view);
    index.LinkEntityNodeView(entity, node, &view); // twice: still one of each
    index.LinkAdorner(withNode, &view, entity, node);
    index.LinkAdorner(withoutNode, &view, MakeEntity("bare"));
    index.LinkEntityNodeView(nullptr, nullptr, nullptr);

    EXPECT_EQ(index.GetEntityForNode(node), entity);
    EXPECT_EQ(index.GetNodeForEntity(entity), node);
    EXPECT_EQ(index.GetNodeForEntity(withNode), node);
    EXPECT_FALSE(index.GetNodeForEntity(withoutNode));
    EXPECT_EQ(index.GetAdornerByEntityId(entity->GetId()), withNode);
    EXPECT_EQ(index.EntryOf(entity->GetId()).nodes.size(), 1u);
    EXPECT_EQ(index.EntryOf(node->GetId()).entities.size(), 1u);
    EXPECT_EQ(index.EntryOf(view.GetId()).entities.size(), 2u);
    EXPECT_EQ(index.AllAdorners().size(), 2u);

    const std::size_t entries = index.EntryCount();
    index.UnlinkEntity(entity);
    index.UnlinkNode(node);
    index.UnlinkAdorner(withNode);
    EXPECT_EQ(index.EntryCount(), entries); // entries stay, empty
    EXPECT_FALSE(index.GetEntityByNodeId(node->GetId()));
    EXPECT_FALSE(index.GetNodeForEntity(withNode));
    EXPECT_FALSE(index.GetAdornerByEntityId(entity->GetId()));
    EXPECT_EQ(index.EntryOf(view.GetId()).entities.size(), 1u);
    EXPECT_EQ(index.AllNodes().size(), 0u);
    EXPECT_EQ(index.AllEntities().size(), 1u);
    EXPECT_EQ(index.AllViews().size(), 1u); // views are never unlinked
}

TEST(LinkIndexTest, CountsOnlyVisibleUnlockedEntitiesAsMovable)
{
    LinkIndex index;
    std::vector<NodePtr> nodes;
    std::vector<view::EntityPtr> entities;
    for (int i = 0; i < 3; ++i)
    {
        nodes.push_back(Node::Create());
        entities.push_back(MakeEntity("e"));
        index.LinkEntityNodeView(entities.back(), nodes.back(), nullptr);
    }
    entities[0]->setVisible(false);
    entities[1]->setLocked(true);
    const LinkIndex::IdList ids = {nodes[0]->GetId(), nodes[1]->GetId(), nodes[2]->GetId(), 999999999};
    EXPECT_EQ(index.CountMovable(ids.begin(), ids.end()), 1u);
    EXPECT_EQ(index.FindFirstMovable(ids.begin(), ids.end()) - ids.begin(), 2);
    const LinkIndex::IdList none = {nodes[0]->GetId()};
    EXPECT_EQ(index.FindFirstMovable(none.begin(), none.end()), none.end());
}

struct FakeAction
{
    int x = 0;
};

TEST(IterativeUndoOperationTest, CommitsOnceAndReportsMisuse)
{
    LogCapture log;
    std::vector<std::pair<bool, int>> commits;
    int updates = 0;
    {
        BasicIterativeUndoOperation<FakeAction> drag("Quad shape drag", [&](bool changed, const FakeAction& a)
                                                     { commits.emplace_back(changed, a.x); });
        drag.Update({1}); // no update functor yet: nothing, not changed
        EXPECT_FALSE(drag.Changed());
        drag.SetUpdateFunctor([&](const FakeAction&) { ++updates; });
        drag.SetUpdateFunctor({}); // an empty one keeps the previous
        drag.Update({2});
        drag.Commit({3});
        drag.Commit({4});
    }
    EXPECT_EQ(updates, 1);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0], std::make_pair(true, 3));
    {
        BasicIterativeUndoOperation<FakeAction> press("Quad rotate", [&](bool changed, const FakeAction&)
                                                      { commits.emplace_back(changed, 0); });
        press.Commit({});
        BasicIterativeUndoOperation<FakeAction> abandoned("Quad rotate", [&](bool, const FakeAction&)
                                                          { commits.emplace_back(true, -1); });
    }
    ASSERT_EQ(commits.size(), 2u);
    EXPECT_FALSE(commits[1].first); // a press and release without a move
    {
        // The adapters' form over the views' mouse actions; destroyed before it committed.
        IterativeUndoOperation drag("Quad shape drag",
                                    [&](bool, const view::MouseAction&) { commits.clear(); });
        drag.Update(view::MouseAction());
    }
    EXPECT_EQ(commits.size(), 2u);
    const auto texts = log.Texts();
    auto has = [&](const std::string& t) { return std::find(texts.begin(), texts.end(), t) != texts.end(); };
    EXPECT_TRUE(has("IterativeUndoOperation commit called more than once for Quad shape drag"));
    EXPECT_TRUE(has("IterativeUndoOperation Quad rotate deleted while in progress"));
    EXPECT_TRUE(has("IterativeUndoOperation Quad shape drag deleted while in progress"));
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.find("IterativeUndoOperation") == 0; }),
              3);
}

TEST(AnimationQueueTest, RunsStepsInOrderOnePerTick)
{
    AnimationQueue queue;
    std::vector<std::string> calls;
    queue.Append(
        [&](int counter)
        {
            calls.push_back("a" + std::to_string(counter));
            return counter < 3;
        },
        [&](bool cancelled) { calls.push_back(cancelled ? "a cancelled" : "a done"); });
    AnimationStep& second = queue.Append(
        [&](int counter)
        {
            calls.push_back("b" + std::to_string(counter));
            return true;
        },
        [&](bool cancelled) { calls.push_back(cancelled ? "b cancelled" : "b done"); });
    queue.Append(
        [&](int)
        {
            calls.push_back("c0");
            return false;
        },
        [&](bool) { calls.push_back("c done"); });
    for (int tick = 0; tick < 4; ++tick)
        queue.Tick();
    second.cancelled = true;
    queue.Tick();
    queue.Tick(); // the next step starts on the next tick, not in the same one
    queue.Tick(); // empty: nothing
    EXPECT_EQ(calls, (std::vector<std::string>{"a0", "a1", "a2", "a3", "a done", "b0", "b cancelled", "c0",
                                               "c done"}));

    // The timer runs the steps by itself; a second Start keeps the first interval.
    int ticks = 0;
    queue.Append([&](int) { return ++ticks < 3; }, [](bool) {});
    queue.Start(33);
    queue.Start(5);
    EXPECT_EQ(queue.Interval(), 33);
    QTRY_COMPARE_WITH_TIMEOUT(ticks, 3, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(queue.Count(), std::size_t(0), 5000);
}

TEST(ViewMathTest, ZoomLevelsMapLogarithmicallyBetweenTheirLimits)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        double level, scale;
    };
    for (const Case& c : {Case{100, 500}, Case{1, 0.2}, Case{50.5, std::sqrt(500 * 0.2)}, Case{0.99, 50},
                          Case{100.01, 50}, Case{nan, 50}})
        EXPECT_NEAR(ZoomLevelToScale(c.level), c.scale, 1e-9 * c.scale) << c.level;
    for (const Case& c : {Case{100, 500}, Case{100, 5000}, Case{1, 0.2}, Case{1, 0.01}, Case{1, 0}})
        EXPECT_NEAR(ScaleToZoomLevel(c.scale), c.level, 1e-9) << c.scale;
    for (double level : {1.0, 17.25, 60.0, 99.5})
        EXPECT_NEAR(ScaleToZoomLevel(ZoomLevelToScale(level)), level, 1e-9);
    EXPECT_TRUE(IsPointBox(math::BBox({0, 0, 0}, {1e-16, 1e-16, 1e-16})));
    EXPECT_FALSE(IsPointBox(math::BBox({0, 0, 0}, {0, 1e-6, 0})));
    EXPECT_TRUE(NearlyEqual(1.0, 1.0 + 1e-15));
    EXPECT_FALSE(NearlyEqual(1.0, 1.0 + 1e-12));
}
} // namespace
} // namespace zorvpro::test
