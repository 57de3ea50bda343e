#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "FakeCluster.h"
#include "PublishedLevels.h"
#include "RecordingListener.h"
#include "Wall.h"
#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/model/Environment.h"
#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <future>
#include <thread>

using namespace zorvpro;
using namespace zorvpro::acoustics;
using namespace zorvpro::acoustics::testing;
using namespace std::chrono_literals;

namespace
{
std::shared_ptr<ZorvAcousticsImpl> MakeEngine(int threads = 4)
{
    ZorvAcousticsImpl::Options options;
    options.threadCount = threads;
    options.settlingPause = 5ms;
    return ZorvAcousticsImpl::create(options);
}

// count points along the x axis from x0, dx apart, tagged 0, 1, ...
std::shared_ptr<FieldPoints> Line(int count, double x0, double dx = 1.0)
{
    auto points = std::make_shared<FieldPoints>();
    for (int i = 0; i < count; ++i)
        points->Add(x0 + dx * i, 0.0, 0.0, static_cast<uint64_t>(i));
    return points;
}

// Level over all bands of a fake cluster's single arrival at distance r.
double LevelAt(double r)
{
    return 10.0 * std::log10(28.0 / (r * r) / 4e-10);
}

std::vector<double> Levels(const IZorvAcoustics& engine, uint64_t id, int32_t bandwidth = -1)
{
    return PublishedLevels(engine, id, bandwidth, 1000.0);
}

// True once the engine's pool is empty; false after a generous limit. A job leaves the pool
// just after calculate(true) has seen it finish.
bool BecomesIdle(const IZorvAcoustics& engine)
{
    const auto limit = std::chrono::steady_clock::now() + 20s;
    while (engine.isBusy())
    {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// Counts how often each event occurs.
size_t Count(const std::vector<std::string>& events, const std::string& event)
{
    return static_cast<size_t>(std::count(events.begin(), events.end(), event));
}
} // namespace

TEST(ZorvAcousticsImpl, WithoutClustersNothingHappens)
{
    auto engine = MakeEngine();
    EXPECT_EQ(engine->getVersion(), (IZorvAcoustics::Version{1, 0, 1, 0}));
    RecordingListener listener;
    engine->addCalcListener(&listener);
    engine->setFieldPoints(1, Line(5, 1.0));
    engine->calculate(true);
    engine->calculate(false);
    EXPECT_TRUE(listener.events().empty());
    EXPECT_EQ(engine->getDataSet(1), nullptr);
    EXPECT_FALSE(engine->isCalculating());
    EXPECT_FALSE(engine->isDispatcherRunning());
    EXPECT_FALSE(engine->isBusy());
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, ChunksFollowPointsOverThreads)
{
    using Chunks = std::vector<std::pair<uint64_t, uint64_t>>;
    EXPECT_EQ(ZorvAcousticsImpl::PlanChunks(10, 4), (Chunks{{0, 2}, {2, 4}, {4, 6}, {6, 8}, {8, 10}}));
    EXPECT_EQ(ZorvAcousticsImpl::PlanChunks(3, 4), (Chunks{{0, 1}, {1, 2}, {2, 3}}));
    EXPECT_EQ(ZorvAcousticsImpl::PlanChunks(9, 4), (Chunks{{0, 2}, {2, 4}, {4, 6}, {6, 8}, {8, 9}}));
    EXPECT_EQ(ZorvAcousticsImpl::PlanChunks(8, 2), (Chunks{{0, 4}, {4, 8}}));
    EXPECT_EQ(ZorvAcousticsImpl::PlanChunks(2, 0), (Chunks{{0, 1}, {1, 2}}));
    EXPECT_TRUE(ZorvAcousticsImpl::PlanChunks(0, 4).empty());
}

TEST(ZorvAcousticsImpl, CalculateAndWaitPublishesEverySetInOrderOfEvents)
{
    auto engine = MakeEngine(3);
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 7);
    engine->addClusterSource(cluster);
    auto first = Line(10, 1.0);
    first->SetSourceFilter(FieldPoints::AllSources);
    engine->setFieldPoints(1, first);
    engine->setFieldPoints(2, Line(3, 2.0, 2.0));
    RecordingListener listener;
    engine->addCalcListener(&listener);

    engine->calculate(true);

    const auto levels = Levels(*engine, 1);
    ASSERT_EQ(levels.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(levels[i], LevelAt(1.0 + i), 1e-9) << "point " << i;
    EXPECT_TRUE(std::is_sorted(levels.rbegin(), levels.rend())) << "levels fall with distance";
    const auto second = Levels(*engine, 2);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_NEAR(second[2], LevelAt(6.0), 1e-9);

    auto published = engine->getDataSet(2);
    EXPECT_EQ(published->Count(), 3u);
    DataSet::SplValues values;
    published->GetDataSet()->getSpl(values, 3, 1000.0);
    EXPECT_EQ(values[2].first, 2u) << "point tags are carried into the results";

    const auto events = listener.events();
    ASSERT_EQ(events.size(), 4u) << listener.joined();
    EXPECT_EQ(events.front(), "started");
    EXPECT_EQ(events.back(), "finished");
    EXPECT_EQ(Count(events, "ready:1"), 1u);
    EXPECT_EQ(Count(events, "ready:2"), 1u);
    EXPECT_FALSE(engine->isCalculating());
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, SourceFilterAndMutedClusters)
{
    auto engine = MakeEngine();
    auto near = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 11);
    auto far = std::make_shared<FakeCluster>(math::Vec3{100, 0, 0}, 22);
    engine->addClusterSource(near);
    engine->addClusterSource(far);
    auto filtered = Line(1, 90.0);
    filtered->SetSourceFilter(22);
    engine->setFieldPoints(1, filtered);
    engine->setFieldPoints(2, Line(1, 90.0));

    engine->calculate(true);
    EXPECT_NEAR(Levels(*engine, 1).at(0), LevelAt(10.0), 1e-9) << "hears only the cluster with node id 22";
    EXPECT_GT(std::abs(Levels(*engine, 2).at(0) - LevelAt(10.0)), 1e-6) << "unfiltered: hears both";

    near->muted = true;
    engine->calculate(true);
    EXPECT_NEAR(Levels(*engine, 2).at(0), LevelAt(10.0), 1e-9) << "a muted cluster adds nothing";

    far->muted = true;
    engine->calculate(true);
    EXPECT_EQ(Levels(*engine, 2).at(0), 0.0);
    EXPECT_EQ(Levels(*engine, 1).at(0), 0.0);
}

TEST(ZorvAcousticsImpl, SurfacesOccludeUntilRemovedOrGone)
{
    auto engine = MakeEngine();
    engine->addClusterSource(std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1));
    engine->setFieldPoints(1, Line(2, 3.0, 5.0)); // x = 3 and x = 8
    auto wall = std::make_shared<Wall>(5.0);
    engine->addSurface(wall);

    engine->calculate(true);
    auto levels = Levels(*engine, 1);
    EXPECT_NEAR(levels.at(0), LevelAt(3.0), 1e-9);
    EXPECT_EQ(levels.at(1), 0.0) << "behind the wall";

    engine->removeSurface(wall);
    engine->calculate(true);
    EXPECT_NEAR(Levels(*engine, 1).at(1), LevelAt(8.0), 1e-9);

    engine->addSurface(wall);
    wall.reset();
    engine->calculate(true);
    EXPECT_NEAR(Levels(*engine, 1).at(1), LevelAt(8.0), 1e-9) << "a destroyed surface blocks nothing";
}

TEST(ZorvAcousticsImpl, APointAtTheCentreIsNeverOccluded)
{
    struct Everywhere : ISurface
    {
        bool intersects(const math::Ray&, double) const override { return true; }
    };
    const Surfaces::Snapshot blockers{std::make_shared<Everywhere>()};
    const math::Vec3 centre{1, 2, 3};
    EXPECT_FALSE(ZorvAcousticsImpl::IsOccluded(blockers, centre, centre));
    EXPECT_TRUE(ZorvAcousticsImpl::IsOccluded(blockers, {1, 2, 4}, centre));
    EXPECT_FALSE(ZorvAcousticsImpl::IsOccluded({}, {1, 2, 4}, centre));
}

TEST(ZorvAcousticsImpl, EnablingCalculatesOnlyWhenSomethingIsMissingOrChanged)
{
    auto engine = MakeEngine();
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
    engine->addClusterSource(cluster);

    engine->setCalculationEnabled(true);
    EXPECT_FALSE(engine->isCalculating()) << "no field points stored";
    engine->setCalculationEnabled(false);

    engine->setFieldPoints(1, Line(4, 1.0));
    engine->setCalculationEnabled(true);
    EXPECT_TRUE(engine->isCalculating()) << "points but no results";
    RecordingListener listener;
    engine->addCalcListener(&listener);
    ASSERT_TRUE(listener.waitFor("ready:1"));
    engine->setCalculationEnabled(false);
    while (engine->isCalculating())
        std::this_thread::yield();

    engine->setCalculationEnabled(true);
    EXPECT_FALSE(engine->isCalculating()) << "results exist and nothing changed";
    engine->setCalculationEnabled(false);

    engine->setFieldPoints(1, Line(4, 1.0)); // equal points, new timestamp: no change
    engine->removeFieldPoints(7);            // records nothing either
    engine->setCalculationEnabled(true);
    EXPECT_FALSE(engine->isCalculating());
    engine->setCalculationEnabled(false);

    engine->addClusterSource(cluster); // already held: one entry, but a change
    engine->setCalculationEnabled(true);
    EXPECT_TRUE(engine->isCalculating());
    ASSERT_TRUE(listener.waitFor("ready:1", 2));
    engine->setCalculationEnabled(false);
    EXPECT_EQ(cluster->callCount(), 8u) << "the cluster is held once";
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, RemovingFieldPointsKeepsTheirPublishedResults)
{
    auto engine = MakeEngine();
    engine->addClusterSource(std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1));
    engine->setFieldPoints(1, Line(2, 1.0));
    engine->calculate(true);
    engine->removeFieldPoints(1);
    EXPECT_NE(engine->getDataSet(1), nullptr);
    RecordingListener listener;
    engine->addCalcListener(&listener);
    engine->calculate(true);
    EXPECT_TRUE(listener.events().empty()) << "no set left: no step opens";
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, RemovingTheLastClusterAbandonsOpenStepsAndKeepsResults)
{
    auto engine = MakeEngine(2);
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
    engine->addClusterSource(cluster);
    engine->setFieldPoints(1, Line(2000, 1.0, 0.01));
    engine->calculate(true);
    ASSERT_NE(engine->getDataSet(1), nullptr);

    RecordingListener listener;
    engine->addCalcListener(&listener);
    cluster->delay = 20us;
    const uint64_t before = cluster->callCount();
    engine->calculate(false);
    ASSERT_TRUE(cluster->waitForCalls(before + 10));
    engine->removeClusterSource(*cluster);
    EXPECT_EQ(listener.joined(), "started abandoned");
    EXPECT_FALSE(engine->isBusy()) << "jobs were cancelled and awaited";
    EXPECT_NE(engine->getDataSet(1), nullptr);
    const uint64_t after = cluster->callCount();
    engine->calculate(true);
    EXPECT_EQ(cluster->callCount(), after) << "no cluster, no calculation";
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, ChangesRecalculateAfterSettlingAndRestartARunningCalculation)
{
    auto engine = MakeEngine(2);
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
    RecordingListener listener;
    engine->addCalcListener(&listener);
    // The scene is complete before calculation is switched on, so the first calculation cannot
    // be caught half-built however slowly the threads run.
    engine->addClusterSource(cluster);
    engine->setFieldPoints(1, Line(3000, 1.0, 0.01));
    engine->setCalculationEnabled(true);
    ASSERT_TRUE(listener.waitFor("finished"));
    EXPECT_EQ(listener.joined(), "started ready:1 finished");
    listener.clear();

    cluster->delay = 20us;
    const uint64_t before = cluster->callCount();
    cluster->change(ClusterGainChanged);
    ASSERT_TRUE(cluster->waitForCalls(before + 10));
    cluster->delay = 0us;
    cluster->change(MuteChanged); // interrupts the running calculation and starts again
    ASSERT_TRUE(listener.waitFor("finished"));
    EXPECT_EQ(listener.joined(), "started abandoned started ready:1 finished");
    engine->setCalculationEnabled(false);
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, AChangeWithCalculationOffStopsARunningCalculationAndAbandonsItsSteps)
{
    auto engine = MakeEngine(2);
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
    engine->addClusterSource(cluster);
    engine->setFieldPoints(1, Line(3000, 1.0, 0.01));
    RecordingListener listener;
    engine->addCalcListener(&listener);
    cluster->delay = 20us;
    const uint64_t before = cluster->callCount();
    engine->calculate(false);
    ASSERT_TRUE(cluster->waitForCalls(before + 10));
    cluster->change(ClusterGainChanged);
    EXPECT_EQ(listener.joined(), "started abandoned");
    EXPECT_TRUE(BecomesIdle(*engine));
    EXPECT_EQ(engine->getDataSet(1), nullptr) << "the stale calculation published nothing";
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, EnvironmentChangesReachTheEngine)
{
    auto engine = MakeEngine(2);
    engine->addClusterSource(std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1));
    engine->setFieldPoints(1, Line(3, 1.0));
    engine->calculate(true);
    RecordingListener listener;
    engine->addCalcListener(&listener);
    engine->setCalculationEnabled(true);

    Environment& air = Environment::instance();
    const double temperature = air.getTemperature();
    air.setTemperature(temperature + 5.0);
    EXPECT_TRUE(listener.waitFor("finished"));
    engine->setCalculationEnabled(false);
    air.setTemperature(temperature);
    EXPECT_EQ(listener.joined(), "started ready:1 finished");
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, AChangeRefusedWhileACalculationIsAwaitedIsNotLost)
{
    auto engine = MakeEngine(2);
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
    engine->addClusterSource(cluster);
    engine->setFieldPoints(1, Line(2000, 1.0, 0.01));
    engine->calculate(true);
    RecordingListener listener;
    engine->addCalcListener(&listener);
    engine->setCalculationEnabled(true);
    EXPECT_FALSE(engine->isCalculating());

    cluster->delay = 20us;
    const uint64_t before = cluster->callCount();
    std::thread waiting([&] { engine->calculate(true); });
    EXPECT_TRUE(cluster->waitForCalls(before + 10));
    cluster->delay = 0us;
    cluster->change(ClusterDelayChanged); // refused: the awaited calculation still holds the engine
    waiting.join();

    ASSERT_TRUE(listener.waitFor("finished", 2));
    EXPECT_EQ(listener.joined(), "started ready:1 finished started ready:1 finished");
    engine->setCalculationEnabled(false);
    engine->removeCalcListener(&listener);
}

TEST(ZorvAcousticsImpl, AFailedSetEndsItsCalculationAndTheNextChangeRecalculates)
{
    // With chunk arrivals the cluster fails in the chunk jobs, without them in the arrival job.
    for (const bool chunkArrivals : {true, false})
    {
        SCOPED_TRACE(chunkArrivals ? "chunk arrivals" : "one arrival job per set");
        ZorvAcousticsImpl::Options options;
        options.threadCount = 4;
        options.settlingPause = 5ms;
        options.chunkArrivals = chunkArrivals;
        auto engine = ZorvAcousticsImpl::create(options);
        auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
        engine->addClusterSource(cluster);
        engine->setFieldPoints(1, Line(3, 1.0));
        RecordingListener listener;
        engine->addCalcListener(&listener);
        test::LogCapture log;
        const std::string failure = "Calculation of field-point set 1 abandoned: fake cluster failure";

        cluster->throwing = true;
        engine->calculate(true);
        EXPECT_EQ(engine->getDataSet(1), nullptr);
        EXPECT_EQ(listener.joined(), "started abandoned");
        EXPECT_TRUE(BecomesIdle(*engine));
        EXPECT_FALSE(engine->isCalculating());
        EXPECT_EQ(log.Texts(), std::vector<std::string>{failure}) << "logged once, with the set id";

        // Enabling calculates at once (there are no results) and fails again on its own thread.
        engine->setCalculationEnabled(true);
        ASSERT_TRUE(listener.waitFor("abandoned", 2));
        EXPECT_TRUE(BecomesIdle(*engine));
        cluster->throwing = false;
        cluster->change(ClusterDelayChanged);
        ASSERT_TRUE(listener.waitFor("finished"));
        engine->setCalculationEnabled(false);
        EXPECT_EQ(listener.joined(), "started abandoned started abandoned started ready:1 finished");
        EXPECT_EQ(Levels(*engine, 1).size(), 3u);
        EXPECT_EQ(log.Texts(), (std::vector<std::string>{failure, failure}));
        engine->removeCalcListener(&listener);
    }
}

TEST(ZorvAcousticsImpl, DestroyingTheEngineWhileJobsRunCancelsThem)
{
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
    std::weak_ptr<ZorvAcousticsImpl> watch;
    {
        auto engine = MakeEngine(2);
        watch = engine;
        engine->addClusterSource(cluster);
        engine->setFieldPoints(1, Line(5000, 1.0, 0.01));
        engine->setFieldPoints(2, Line(5000, 2.0, 0.01));
        cluster->delay = 20us;
        engine->calculate(false);
        ASSERT_TRUE(cluster->waitForCalls(10));
    }
    EXPECT_TRUE(watch.expired());
    const uint64_t calls = cluster->callCount();
    EXPECT_LT(calls, 10000u) << "the jobs stopped early";
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(cluster->callCount(), calls) << "nothing runs after the engine is gone";
}

TEST(ZorvAcousticsImpl, TheLastOwnerMayLetGoOnAWorkerThread)
{
    // The listener holds the only reference and drops it while called on a worker.
    struct Dropping : RecordingListener
    {
        std::shared_ptr<ZorvAcousticsImpl> engine;
        std::promise<void> othersGone;
        void dataSetReady(uint64_t id) override
        {
            RecordingListener::dataSetReady(id);
            othersGone.get_future().wait();
            engine.reset();
        }
    };
    Dropping listener;
    std::weak_ptr<ZorvAcousticsImpl> watch;
    std::weak_ptr<FakeCluster> heldByEngine;
    {
        auto engine = MakeEngine(2);
        watch = engine;
        auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
        heldByEngine = cluster;
        engine->addClusterSource(cluster);
        engine->setFieldPoints(1, Line(10, 1.0));
        engine->addCalcListener(&listener);
        listener.engine = engine;
        engine->calculate(false);
    }
    listener.othersGone.set_value();
    ASSERT_TRUE(listener.waitFor("ready:1"));
    // The engine lets go of its clusters only after its jobs have ended: a teardown that waits
    // for its own worker never gets there.
    for (int i = 0; i < 20000 && !heldByEngine.expired(); ++i)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(heldByEngine.expired()) << "the teardown completed, on a thread of its own";
    EXPECT_EQ(Count(listener.events(), "ready:1"), 1u);
}

TEST(ZorvAcousticsImpl, EditsFromOtherThreadsDuringCalculationsAreSafe)
{
    auto engine = MakeEngine(3);
    auto steady = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 1);
    engine->addClusterSource(steady);
    engine->setFieldPoints(1, Line(500, 1.0, 0.1));
    engine->setCalculationEnabled(true);

    std::atomic<bool> stop{false};
    std::thread editor(
        [&]
        {
            for (int round = 0; round < 30; ++round)
            {
                auto extra = std::make_shared<FakeCluster>(math::Vec3{50, 0, 0}, 2);
                auto wall = std::make_shared<Wall>(1000.0);
                engine->addClusterSource(extra);
                engine->addSurface(wall);
                engine->setFieldPoints(2, Line(100 + round, 1.0));
                std::this_thread::sleep_for(1ms);
                engine->removeSurface(wall);
                engine->removeClusterSource(*extra);
            }
            stop = true;
        });
    while (!stop)
        engine->calculate(false);
    editor.join();
    engine->setCalculationEnabled(false);

    engine->calculate(true);
    const auto levels = Levels(*engine, 1);
    ASSERT_EQ(levels.size(), 500u);
    EXPECT_NEAR(levels[0], LevelAt(1.0), 1e-9);
    EXPECT_NEAR(levels[499], LevelAt(50.9), 1e-9);
}

TEST(ZorvAcousticsImpl, WaitingCalculateWhileAnotherSettlesStillReturnsResults)
{
    ZorvAcousticsImpl::Options options;
    options.threadCount = 2;
    options.settlingPause = 300ms;
    auto engine = ZorvAcousticsImpl::create(options);
    auto cluster = std::make_shared<FakeCluster>(math::Vec3{0, 0, 0}, 5);
    engine->addClusterSource(cluster);
    engine->setFieldPoints(1, Line(10, 1.0));
    // Enabling with a stored set and no results starts an automatic calculation, which
    // settles for at least one pause before it plans anything.
    engine->setCalculationEnabled(true);
    ASSERT_TRUE(engine->isCalculating());

    engine->calculate(true);

    const auto levels = Levels(*engine, 1);
    ASSERT_EQ(levels.size(), 10u) << "a waiting calculate returns with the set published";
    EXPECT_NEAR(levels[0], LevelAt(1.0), 1e-9);
    EXPECT_NEAR(levels[9], LevelAt(10.0), 1e-9);
}
