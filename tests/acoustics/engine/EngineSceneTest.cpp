// The engine over real clusters of the generated "TQR40V" array module.

#include "PublishedLevels.h"
#include "RecordingListener.h"
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "tools/datagen/LoadGenerated.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zorvpro;
using namespace zorvpro::acoustics;
using namespace std::chrono_literals;
using zorvpro::acoustics::testing::PublishedLevels;
using zorvpro::acoustics::testing::RecordingListener;

namespace
{
std::shared_ptr<LoudspeakerImpl> ArrayModule()
{
    static const std::shared_ptr<LoudspeakerImpl> model = datagen::LoadGenerated(datagen::MakeArrayDataSet());
    return model ? std::make_shared<LoudspeakerImpl>(*model) : nullptr;
}

std::shared_ptr<LoudspeakerCluster> ArrayAt(const math::Vec3& position)
{
    auto cluster = createLoudspeakerCluster();
    cluster->addModule(ArrayModule());
    cluster->setPosition(position);
    return cluster;
}

std::shared_ptr<ZorvAcousticsImpl> MakeEngine()
{
    ZorvAcousticsImpl::Options options;
    options.threadCount = 4;
    options.settlingPause = 5ms;
    return ZorvAcousticsImpl::create(options);
}
} // namespace

TEST(EngineScene, ArrayLevelsAreFiniteFallWithDistanceAndPeakOnAxis)
{
    ASSERT_NE(ArrayModule(), nullptr);
    auto engine = MakeEngine();
    auto cluster = ArrayAt({0, 0, 0});
    engine->addCluster(cluster);
    const math::Vec3 centre =
        cluster->getPosition() + (cluster->getBoundingBox().min + cluster->getBoundingBox().max) * 0.5;

    // Along the axis in front of the array, 2 m to 60 m.
    auto axis = std::make_shared<FieldPoints>();
    for (int i = 0; i < 200; ++i)
        axis->Add(centre.x + 2.0 + 0.29 * i, centre.y, centre.z, i);
    // A vertical arc of 20 m radius from 60 degrees below to 60 degrees above the axis.
    auto arc = std::make_shared<FieldPoints>();
    for (int i = 0; i <= 120; ++i)
    {
        const double angle = (i - 60) * M_PI / 180.0;
        arc->Add(centre.x + 20.0 * std::cos(angle), centre.y, centre.z + 20.0 * std::sin(angle), i);
    }
    engine->setFieldPoints(1, axis);
    engine->setFieldPoints(2, arc);
    engine->calculate(true);

    const auto along = PublishedLevels(*engine, 1, -1, 0.0);
    ASSERT_EQ(along.size(), 200u);
    for (double level : along)
        ASSERT_TRUE(std::isfinite(level));
    EXPECT_GT(along.front(), along.back() + 20.0) << "30 times the distance";
    for (size_t i = 20; i < along.size(); i += 20)
        EXPECT_LT(along[i], along[i - 20]) << "at point " << i;

    for (int32_t bandwidth : {-2, -1, 1, 3})
    {
        const auto around = PublishedLevels(*engine, 2, bandwidth, 4000.0);
        ASSERT_EQ(around.size(), 121u);
        const auto peak = std::max_element(around.begin(), around.end()) - around.begin();
        EXPECT_NEAR(static_cast<double>(peak), 60.0, 5.0) << "bandwidth " << bandwidth;
        EXPECT_GT(around[60], around[0] + 3.0) << "bandwidth " << bandwidth;
        EXPECT_GT(around[60], around[120] + 3.0) << "bandwidth " << bandwidth;
    }
    double low = 0, high = 0;
    engine->getDataSet(2)->GetDataSet()->getSplRange(low, high);
    EXPECT_LT(low, high);
}

TEST(EngineScene, ClusterChangesRecalculateAndTheFilterPicksOneCluster)
{
    ASSERT_NE(ArrayModule(), nullptr);
    auto engine = MakeEngine();
    auto left = ArrayAt({0, -10, 0});
    auto right = ArrayAt({0, 10, 0});
    engine->addCluster(left);
    engine->addCluster(right);
    auto leftOnly = std::make_shared<FieldPoints>();
    leftOnly->Add(10, -10, 0.5, 0);
    leftOnly->SetSourceFilter(left->getId());
    auto both = std::make_shared<FieldPoints>();
    both->Add(10, -10, 0.5, 0);
    engine->setFieldPoints(1, leftOnly);
    engine->setFieldPoints(2, both);
    engine->calculate(true);
    const double filtered = PublishedLevels(*engine, 1, -1, 0).at(0);
    const double all = PublishedLevels(*engine, 2, -1, 0).at(0);
    EXPECT_GT(filtered, 0.0);
    EXPECT_NE(filtered, all);

    RecordingListener listener;
    engine->addCalcListener(&listener);
    engine->setCalculationEnabled(true);
    right->setMuted(true); // published by the cluster, collected by the engine
    ASSERT_TRUE(listener.waitFor("finished"));
    EXPECT_NEAR(PublishedLevels(*engine, 2, -1, 0).at(0), filtered, 1e-9) << "only the left array is heard";

    engine->setCalculationEnabled(false);
    engine->removeCalcListener(&listener);
    const double before = PublishedLevels(*engine, 2, -1, 0).at(0);
    engine->removeCluster(left);
    engine->removeCluster(right);
    engine->calculate(true);
    EXPECT_EQ(PublishedLevels(*engine, 2, -1, 0).at(0), before)
        << "no clusters: nothing calculated, results stay";
}
