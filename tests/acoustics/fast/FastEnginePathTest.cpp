// The fast path over real clusters of the generated "TQR40V" array module,
// held against the straightforward one.

#include "../cluster/ClusterTestSupport.h"
#include "../engine/Wall.h"
#include "acoustics/beam/BeamConstraints.h"
#include "acoustics/beam/BeamSteerFactory.h"
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/engine/ClusterSourceImpl.h"
#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "acoustics/fast/ChunkArrivals.h"
#include "acoustics/fast/ClusterCapture.h"
#include "acoustics/model/Environment.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zorvpro;
using namespace zorvpro::acoustics;
using namespace std::chrono_literals;

namespace
{

constexpr uint64_t Bands = CalculationBandCount;

// Two modules at 4 m, two beams steered apart, shading on.
std::shared_ptr<LoudspeakerClusterImpl> steeredArray()
{
    auto cluster = std::dynamic_pointer_cast<LoudspeakerClusterImpl>(createLoudspeakerCluster());
    EXPECT_EQ(cluster->addModule(acoustics::testing::makeArrayModule()), 1);
    EXPECT_EQ(cluster->addModule(acoustics::testing::makeArrayModule()), 1);
    cluster->setPosition(math::Vec3(0.0, 0.0, 4.0));
    const double steering[] = {-5.0, 10.0};
    for (double degrees : steering)
    {
        auto beam = BeamSteerFactory::instance().createBeamSteer(1);
        EXPECT_EQ(cluster->addBeamSteer(beam), 1);
        auto constraints = beam->getConstraints();
        Angle angle = Angle::FromDegrees(degrees);
        constraints->setSteeringAngle(angle);
        constraints->setShadingOn(true);
    }
    return cluster;
}

std::vector<math::Vec3> floorPoints()
{
    std::vector<math::Vec3> points;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 5; ++j)
            points.emplace_back(1.0 + 7.3 * i, -12.0 + 6.1 * j, 0.0);
    points.emplace_back(0.0, 0.0, 4.0); // inside the array
    return points;
}

double incoherentPower(const std::vector<Arrival>& arrivals, uint64_t band)
{
    double sum = 0.0;
    for (const Arrival& a : arrivals)
        sum += a.getResponse().magnitudes()[band] * a.getResponse().magnitudes()[band];
    return sum;
}

class FastEnginePath : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wasAbsorbing = Environment::instance().isAirAbsorptionEnabled();
        Environment::instance().setAirAbsorptionEnabled(true);
    }
    void TearDown() override { Environment::instance().setAirAbsorptionEnabled(wasAbsorbing); }

    bool wasAbsorbing = false;
};

} // namespace

TEST_F(FastEnginePath, FlatArrivalsOfARealClusterAreItsOwn)
{
    auto cluster = steeredArray();
    const FlatClusterModel model = captureFlatClusterModel(*cluster);
    EXPECT_TRUE(model.steered);
    EXPECT_EQ(model.drivers.size(), 32u);
    EXPECT_EQ(model.absorption.count(), Bands);

    FastArrivalsSum summer;
    FlatClusterArrivals maker;
    for (const math::Vec3& p : floorPoints())
    {
        const std::vector<Arrival> records = cluster->computeArrivalsAtPoint(p);
        ASSERT_EQ(records.size(), 64u);
        FrequencyMask fromRecords, flat, reference;
        summer.sum(fromRecords, records);
        summer.startPoint(FlatClusterArrivals::capacity(model));
        EXPECT_EQ(maker.add(model, p, summer), records.size());
        summer.finishPoint(flat);
        // The same arrivals but for the last bits of their logarithms and
        // powers: the same sums to far below the tolerance.
        ArrivalsSumCrossPower().sum(reference, records);
        for (uint64_t k = 0; k < Bands; ++k)
        {
            EXPECT_NEAR(flat.magnitudes()[k], fromRecords.magnitudes()[k],
                        1e-12 * incoherentPower(records, k));
            EXPECT_NEAR(flat.magnitudes()[k], reference.magnitudes()[k], 1e-9 * incoherentPower(records, k));
        }
    }

    cluster->setMuted(true);
    EXPECT_TRUE(captureFlatClusterModel(*cluster).drivers.empty());
}

TEST_F(FastEnginePath, ChunksOfRealClustersMatchTheWholeSetPass)
{
    auto cluster = steeredArray();
    auto source = std::make_shared<ClusterSourceImpl>(cluster);
    std::vector<FieldPoint> positions;
    uint64_t tag = 500;
    for (const math::Vec3& p : floorPoints())
        positions.push_back({p.x, p.y, p.z, tag++});

    ChunkArrivals sources({source}, {}, positions, FieldPoints::AllSources, nullptr);
    EXPECT_TRUE(sources.isFlat());
    ArrivalsList whole(positions.size());
    for (size_t i = 0; i < positions.size(); ++i)
    {
        whole[i].tag = positions[i].tag;
        whole[i].arrivals = cluster->computeArrivalsAtPoint({positions[i].x, positions[i].y, positions[i].z});
    }
    std::atomic<bool> cancel{true};
    DataSetImpl cancelled;
    cancelled.resize(positions.size());
    sources.computeChunk(cancelled, 0, positions.size(), cancel);
    EXPECT_EQ(cancelled.resultAt(0).tag, 0u); // a cancelled chunk stores nothing

    cancel = false;
    DataSetImpl expected, actual;
    expected.computeRange(whole, 0, whole.size(), cancel, 64);
    actual.resize(positions.size());
    sources.computeChunk(actual, 0, 10, cancel);
    sources.computeChunk(actual, 10, positions.size(), cancel);

    ASSERT_EQ(actual.size(), whole.size());
    for (uint64_t i = 0; i < whole.size(); ++i)
    {
        const auto want = expected.resultAt(i);
        const auto got = actual.resultAt(i);
        EXPECT_EQ(got.tag, want.tag);
        EXPECT_EQ(got.spectrum.getMagnitudeKind(), LevelPower);
        for (uint64_t k = 0; k < Bands; ++k)
            EXPECT_NEAR(got.spectrum.magnitudes()[k], want.spectrum.magnitudes()[k],
                        1e-9 * incoherentPower(whole[i].arrivals, k));
    }
}

TEST_F(FastEnginePath, EnginePublishesWhatTheStraightforwardPathPublishes)
{
    // A steered array at the origin and a plain one at x = 30; a wall at x = 20 hides
    // each from the points on the other side. A second set hears the plain array only.
    auto steered = steeredArray();
    auto plain = std::dynamic_pointer_cast<LoudspeakerClusterImpl>(createLoudspeakerCluster());
    ASSERT_EQ(plain->addModule(acoustics::testing::makeArrayModule()), 1);
    plain->setPosition(math::Vec3(30.0, 10.0, 4.0));
    auto wall = std::make_shared<acoustics::testing::Wall>(20.0);

    auto points = std::make_shared<FieldPoints>();
    auto filtered = std::make_shared<FieldPoints>();
    uint64_t tag = 0;
    for (const math::Vec3& p : floorPoints())
    {
        points->Add(p.x, p.y, p.z, tag);
        filtered->Add(p.x, p.y, p.z, tag++);
    }
    filtered->SetSourceFilter(plain->getId());

    std::vector<std::shared_ptr<DataSetImpl>> published;
    for (const bool chunkArrivals : {false, true})
    {
        ZorvAcousticsImpl::Options options;
        options.threadCount = 3;
        options.settlingPause = 5ms;
        options.chunkArrivals = chunkArrivals;
        auto engine = ZorvAcousticsImpl::create(options);
        engine->addCluster(steered);
        engine->addCluster(plain);
        engine->addSurface(wall);
        engine->setFieldPoints(7, points);
        engine->setFieldPoints(8, filtered);
        engine->calculate(true);
        for (uint64_t id : {7, 8})
        {
            auto set = engine->getDataSet(id);
            ASSERT_TRUE(set);
            published.push_back(std::dynamic_pointer_cast<DataSetImpl>(set->GetDataSet()));
            ASSERT_TRUE(published.back());
            ASSERT_EQ(published.back()->size(), points->Count());
        }
        engine->removeCluster(steered);
        engine->removeCluster(plain);
    }

    bool hiddenSomewhere = false;
    for (uint64_t i = 0; i < points->Count(); ++i)
    {
        const FieldPoint p = points->At(i);
        std::vector<Arrival> all = steered->computeArrivalsAtPoint({p.x, p.y, p.z});
        for (Arrival& a : plain->computeArrivalsAtPoint({p.x, p.y, p.z}))
            all.push_back(std::move(a));
        for (int set = 0; set < 2; ++set)
        {
            const auto& reference = published[set]->resultAt(i);
            const auto& fast = published[2 + set]->resultAt(i);
            EXPECT_EQ(fast.tag, reference.tag);
            for (uint64_t k = 0; k < Bands; ++k)
                EXPECT_NEAR(fast.spectrum.magnitudes()[k], reference.spectrum.magnitudes()[k],
                            1e-9 * incoherentPower(all, k))
                    << "set " << set << " point " << i << " band " << k;
        }
        // Beyond the wall the steered array is not heard: both sets agree there.
        if (p.x > 20.0)
        {
            hiddenSomewhere = true;
            EXPECT_EQ(published[3]->resultAt(i).spectrum.magnitudes(),
                      published[2]->resultAt(i).spectrum.magnitudes());
        }
    }
    EXPECT_TRUE(hiddenSomewhere);
}
