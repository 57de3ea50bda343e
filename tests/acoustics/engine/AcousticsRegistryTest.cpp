#include "acoustics/engine/AcousticsRegistry.h"
#include "FakeCluster.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"

#include <gtest/gtest.h>

using namespace zorvpro::acoustics;

TEST(AcousticsRegistry, HandsOutOneEnginePerKeyUntilReleased)
{
    auto first = getAcousticsEngine(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(getAcousticsEngine(0), first);
    auto other = getAcousticsEngine(5);
    EXPECT_NE(other, first) << "different keys, independent engines";

    releaseAcousticsEngine(0);
    auto renewed = getAcousticsEngine(0);
    EXPECT_NE(renewed, first);
    EXPECT_EQ(first.use_count(), 1) << "the old engine lives on in the caller's copy only";
    EXPECT_EQ(first->getVersion(), renewed->getVersion());

    std::weak_ptr<IZorvAcoustics> watch = other;
    other.reset();
    EXPECT_FALSE(watch.expired()) << "the registry still holds key 5";
    releaseAcousticsEngine(5);
    EXPECT_TRUE(watch.expired()) << "released as the last owner: destroyed inside the release";
    releaseAcousticsEngine(5); // nothing left: no effect
    releaseAcousticsEngine(0);
}

TEST(AcousticsRegistry, ReleasingAnEngineWithJobsRunningCancelsThem)
{
    auto engine = getAcousticsEngine(9);
    auto impl = std::dynamic_pointer_cast<ZorvAcousticsImpl>(engine);
    ASSERT_NE(impl, nullptr);
    auto cluster =
        std::make_shared<zorvpro::acoustics::testing::FakeCluster>(zorvpro::math::Vec3{0, 0, 0}, 1);
    impl->addClusterSource(cluster);
    auto points = std::make_shared<FieldPoints>();
    for (int i = 0; i < 20000; ++i)
        points->Add(1.0 + i * 0.001, 0.0, 0.0, i);
    engine->setFieldPoints(1, points);
    cluster->delay = std::chrono::microseconds(20);
    engine->calculate(false);
    ASSERT_TRUE(cluster->waitForCalls(10));

    std::weak_ptr<IZorvAcoustics> watch = engine;
    impl.reset();
    engine.reset();
    releaseAcousticsEngine(9);
    EXPECT_TRUE(watch.expired());
    const uint64_t calls = cluster->callCount();
    EXPECT_LT(calls, 20000u) << "the calculation stopped early";
    EXPECT_EQ(cluster.use_count(), 1) << "nothing of the engine is left holding the cluster";
}
