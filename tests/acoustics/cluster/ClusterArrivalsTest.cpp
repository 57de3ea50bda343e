#include "ClusterTestSupport.h"

#include "acoustics/beam/BeamSteerFactory.h"
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/cluster/ModuleTransducers.h"
#include "acoustics/model/Environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace zorvpro::acoustics
{
namespace
{

using testing::CodeRecorder;
using testing::kFlatSourceLevel;
using testing::makeArrayModule;
using testing::makeFlatPointSource;

constexpr double kReferencePressure = 2e-5;

std::shared_ptr<LoudspeakerClusterImpl> makeCluster()
{
    return std::dynamic_pointer_cast<LoudspeakerClusterImpl>(createLoudspeakerCluster());
}

// The acoustic centre of the module's first driver in venue coordinates.
math::Vec3 firstDriverCentre(const LoudspeakerCluster& cluster, const Loudspeaker& module)
{
    const std::shared_ptr<Transducer> driver = gatherTransducers(module).front();
    return math::TransformPoint(cluster.getTransform() * module.getTransform() * driver->getTransform(),
                                math::Vec3());
}

double splOf(double amplitude)
{
    return 20.0 * std::log10(amplitude / kReferencePressure);
}

class AirAbsorptionOff : public ::testing::Test
{
protected:
    void SetUp() override { Environment::instance().setAirAbsorptionEnabled(false); }
    void TearDown() override { Environment::instance().setAirAbsorptionEnabled(false); }
};

using ClusterArrivals = AirAbsorptionOff;

TEST_F(ClusterArrivals, OnAxisAtTenMetresIsTheReferenceLevelLessTwentyDecibels)
{
    auto cluster = makeCluster();
    auto source = makeFlatPointSource();
    ASSERT_EQ(cluster->addModule(source), 1);
    cluster->setTransform(math::Mat4::Translation(math::Vec3(2, -1, 3)));
    const math::Vec3 centre = firstDriverCentre(*cluster, *source);

    const std::vector<Arrival> arrivals = cluster->computeArrivalsAtPoint(centre + math::Vec3(10, 0, 0));
    ASSERT_EQ(arrivals.size(), 1u);
    const FrequencyMask& response = arrivals[0].getResponse();
    ASSERT_EQ(response.magnitudes().count(), 28u);
    const double travel = 10.0 * Environment::instance().getInverseSpeedOfSound();
    for (uint64_t b = 0; b < 28; ++b)
    {
        EXPECT_NEAR(splOf(response.magnitudes()[b]), kFlatSourceLevel - 20.0, 1e-9) << "band " << b;
        EXPECT_NEAR(response.phases()[b], travel, 1e-15) << "band " << b;
    }
    EXPECT_TRUE(math::IsEqual(arrivals[0].getLocalPoint(), math::Vec3(10, 0, 0)));

    // Cluster gain scales, cluster delay adds.
    cluster->setGain(-6.0);
    cluster->setDelay(5.0);
    const std::vector<Arrival> quieter = cluster->computeArrivalsAtPoint(centre + math::Vec3(10, 0, 0));
    ASSERT_EQ(quieter.size(), 1u);
    for (uint64_t b = 0; b < 28; ++b)
    {
        EXPECT_NEAR(splOf(quieter[0].getResponse().magnitudes()[b]), kFlatSourceLevel - 26.0, 1e-9);
        EXPECT_NEAR(quieter[0].getResponse().phases()[b], travel + 0.005, 1e-15);
    }
}

TEST_F(ClusterArrivals, LevelFactorZeroLeavesTheResponseUnscaled)
{
    // A product of cluster gain and level factor of 0 is not applied at all,
    // so neither is the cluster gain.
    auto cluster = makeCluster();
    auto source = makeFlatPointSource(true);
    ASSERT_EQ(cluster->addModule(source), 1);
    cluster->setGain(-12.0);
    const math::Vec3 centre = firstDriverCentre(*cluster, *source);
    const std::vector<Arrival> arrivals = cluster->computeArrivalsAtPoint(centre + math::Vec3(0, 0, 10));
    ASSERT_EQ(arrivals.size(), 1u);
    for (uint64_t b = 0; b < 28; ++b)
        EXPECT_NEAR(splOf(arrivals[0].getResponse().magnitudes()[b]), kFlatSourceLevel - 20.0, 1e-9);
}

TEST_F(ClusterArrivals, SpreadingStopsAtOneCentimetre)
{
    auto cluster = makeCluster();
    auto source = makeFlatPointSource();
    ASSERT_EQ(cluster->addModule(source), 1);
    const math::Vec3 centre = firstDriverCentre(*cluster, *source);

    // r = 0: no travel time, 1 / 0.01 spreading.
    std::vector<Arrival> atCentre = cluster->computeArrivalsAtPoint(centre);
    ASSERT_EQ(atCentre.size(), 1u);
    for (uint64_t b = 0; b < 28; ++b)
    {
        EXPECT_NEAR(splOf(atCentre[0].getResponse().magnitudes()[b]), kFlatSourceLevel + 40.0, 1e-9);
        EXPECT_EQ(atCentre[0].getResponse().phases()[b], 0.0);
    }

    // r = 0.005 m: the travel time of 5 mm, the spreading and the air loss of 1 cm.
    Environment::instance().setAirAbsorptionEnabled(true);
    const DoubleBuffer absorption = Environment::instance().airAbsorptionTable(3);
    ASSERT_EQ(absorption.count(), 28u);
    std::vector<Arrival> close = cluster->computeArrivalsAtPoint(centre + math::Vec3(0.005, 0, 0));
    ASSERT_EQ(close.size(), 1u);
    const double travel = 0.005 * Environment::instance().getInverseSpeedOfSound();
    for (uint64_t b = 0; b < 28; ++b)
    {
        EXPECT_NEAR(splOf(close[0].getResponse().magnitudes()[b]),
                    kFlatSourceLevel + 40.0 + absorption[b] * 0.01, 1e-9)
            << "band " << b;
        EXPECT_NEAR(close[0].getResponse().phases()[b], travel, 1e-15);
    }
    EXPECT_LT(absorption[27], absorption[0]);
}

TEST_F(ClusterArrivals, MutingSilencesClusterOrModule)
{
    auto cluster = makeCluster();
    auto first = makeArrayModule();
    auto second = makeArrayModule();
    ASSERT_EQ(cluster->addModule(first), 1);
    ASSERT_EQ(cluster->addModule(second), 1);
    const std::vector<math::Vec3> points{{5, 0, 0}, {8, 2, -1}, {12, -3, 1}};

    LoudspeakerClusterImpl::ArrivalLists lists = cluster->computeArrivals(points);
    ASSERT_EQ(lists.size(), 3u);
    for (const auto& list : lists)
        EXPECT_EQ(list.size(), 32u);

    ASSERT_EQ(cluster->addBeamSteer(BeamSteerFactory::instance().createBeamSteer(1)), 1);
    const double maxGain = cluster->getMaxGain();
    second->setMuted(true);
    lists = cluster->computeArrivals(points);
    for (const auto& list : lists)
        EXPECT_EQ(list.size(), 16u);
    // A muted module still limits the gain.
    EXPECT_DOUBLE_EQ(cluster->getMaxGain(), maxGain);

    cluster->setMuted(true);
    lists = cluster->computeArrivals(points);
    ASSERT_EQ(lists.size(), 3u);
    for (const auto& list : lists)
        EXPECT_TRUE(list.empty());
}

TEST_F(ClusterArrivals, EachBeamAddsItsFilterAndTheLevelFactor)
{
    auto cluster = makeCluster();
    auto module = makeArrayModule();
    ASSERT_EQ(cluster->addModule(module), 1);
    auto beam0 = BeamSteerFactory::instance().createBeamSteer(1);
    auto beam1 = BeamSteerFactory::instance().createBeamSteer(1);
    ASSERT_EQ(cluster->addBeamSteer(beam0), 1);
    ASSERT_EQ(cluster->addBeamSteer(beam1), 1);

    // No headroom left: the two equal beams sum on each driver to twice the
    // amplitude of one, at the array EQ's peak; the factor brings that sum
    // down to the limit.
    const double gain = cluster->setGain(100.0);
    EXPECT_NEAR(cluster->getGainHeadroom(), 0.0, 1e-12);
    const DoubleBuffer eq = beam0->getArrayEQResponse();
    ASSERT_EQ(eq.count(), 28u);
    ASSERT_TRUE(beam0->isArrayEQActive());
    const double sumPeakDb = 20.0 * std::log10(2.0 * *std::max_element(eq.begin(), eq.end()));
    ASSERT_GT(sumPeakDb, 0.0);
    const double factor = std::pow(10.0, -sumPeakDb / 20.0);
    const FrequencyMask mask = cluster->getResponseMask();
    for (double value : mask.magnitudes())
        EXPECT_NEAR(value, factor, 1e-12);

    const math::Vec3 point(6, 1, -2);
    const std::vector<Arrival> steered = cluster->computeArrivalsAtPoint(point);
    ASSERT_EQ(steered.size(), 32u);
    const std::vector<DriverRow> rows0 = beam0->getDriverTable();
    const std::vector<DriverRow> rows1 = beam1->getDriverTable();

    // One beam: the factor is 1 whatever the headroom.
    cluster->removeBeamSteer(beam1);
    const FrequencyMask single = cluster->getResponseMask();
    for (double value : single.magnitudes())
        EXPECT_EQ(value, 1.0);

    cluster->removeAllBeamSteers();
    EXPECT_NEAR(cluster->getGain(), gain, 1e-12);
    const std::vector<Arrival> plain = cluster->computeArrivalsAtPoint(point);
    ASSERT_EQ(plain.size(), 16u);

    const std::vector<std::shared_ptr<Transducer>> drivers = gatherTransducers(*module);
    ASSERT_EQ(drivers.size(), 16u);
    auto delayOf = [](const std::vector<DriverRow>& rows, uint32_t index)
    {
        for (const DriverRow& row : rows)
            if (row.transducerIndex == index && row.moduleKey == 0)
                return row.totalDelay;
        ADD_FAILURE() << "no row for driver " << index;
        return 0.0;
    };
    bool someDelay = false;
    for (size_t t = 0; t < drivers.size(); ++t)
    {
        const FrequencyMask& base = plain[t].getResponse();
        const std::vector<DriverRow>* tables[2] = {&rows0, &rows1};
        for (size_t b = 0; b < 2; ++b)
        {
            const FrequencyMask& beamed = steered[2 * t + b].getResponse();
            const double delay = delayOf(*tables[b], drivers[t]->getIndex());
            someDelay = someDelay || delay > 0.0;
            for (uint64_t band = 0; band < 28; ++band)
            {
                const double expected = base.magnitudes()[band] * eq[band] * factor;
                EXPECT_NEAR(beamed.magnitudes()[band], expected, 1e-12 * expected);
                EXPECT_NEAR(beamed.phases()[band], base.phases()[band] + delay, 1e-15);
            }
        }
    }
    // The default beam spreads a little, so the drivers are delayed.
    EXPECT_TRUE(someDelay);
}

TEST_F(ClusterArrivals, BeamGainLowersTheMaximumGainAndReclampsTheClusterGain)
{
    auto cluster = makeCluster();
    ASSERT_EQ(cluster->addModule(makeArrayModule()), 1);
    // Without beams the limit is far above the clamp.
    EXPECT_DOUBLE_EQ(cluster->getMaxGain(), 50.0);

    auto beam = BeamSteerFactory::instance().createBeamSteer(1);
    ASSERT_EQ(cluster->addBeamSteer(beam), 1);
    // The smallest usable driver limit (15.85) over the loudest beam filter,
    // which is the array EQ's peak for an unshaded beam at 0 dB.
    const double limitDb = 10.0 * std::log10(static_cast<double>(15.85f));
    const DoubleBuffer eq = beam->getArrayEQResponse();
    ASSERT_EQ(eq.count(), 28u);
    const double eqPeakDb = 20.0 * std::log10(*std::max_element(eq.begin(), eq.end()));
    ASSERT_GT(eqPeakDb, 0.0);
    EXPECT_NEAR(cluster->getMaxGain(), limitDb - eqPeakDb, 1e-9);
    EXPECT_NEAR(cluster->setGain(100.0), limitDb - eqPeakDb, 1e-9);

    CodeRecorder codes;
    cluster->addListener(&codes);
    beam->setBeamGain(10.0);
    EXPECT_NEAR(cluster->getMaxGain(), limitDb - eqPeakDb - 10.0, 1e-9);
    EXPECT_NEAR(cluster->getGain(), limitDb - eqPeakDb - 10.0, 1e-9);
    EXPECT_EQ(codes.count(ClusterGainChanged), 1u);
    EXPECT_GE(codes.count(BeamChanged), 1u);

    // Lowering the beam gain raises the limit but leaves the cluster gain.
    codes.clear();
    beam->setBeamGain(0.0);
    EXPECT_NEAR(cluster->getMaxGain(), limitDb - eqPeakDb, 1e-9);
    EXPECT_NEAR(cluster->getGain(), limitDb - eqPeakDb - 10.0, 1e-9);
    EXPECT_EQ(codes.count(ClusterGainChanged), 0u);
    cluster->removeListener(&codes);
}

TEST_F(ClusterArrivals, LevelFactorWeighsHeadroomAgainstBeamCountAndPeak)
{
    auto cluster = makeCluster();
    ASSERT_EQ(cluster->addModule(makeArrayModule()), 1);
    auto beam0 = BeamSteerFactory::instance().createBeamSteer(1);
    auto beam1 = BeamSteerFactory::instance().createBeamSteer(1);
    ASSERT_EQ(cluster->addBeamSteer(beam0), 1);
    ASSERT_EQ(cluster->addBeamSteer(beam1), 1);
    const double maxGain = cluster->getMaxGain();

    // Two equal beams sum coherently on each driver to twice one filter, at
    // the array EQ's peak.
    const DoubleBuffer eq = beam0->getArrayEQResponse();
    ASSERT_EQ(eq.count(), 28u);
    const double peakDb = 20.0 * std::log10(2.0 * *std::max_element(eq.begin(), eq.end()));
    const double beamCountDb = 20.0 * std::log10(2.0);
    ASSERT_GT(peakDb, beamCountDb + 0.5);

    // Headroom below 20 log10(2): the sum is brought down to the headroom.
    const double headroom = beamCountDb - 1.0;
    cluster->setGain(maxGain - headroom);
    ASSERT_NEAR(cluster->getGainHeadroom(), headroom, 1e-9);
    const double factor = std::pow(10.0, -(peakDb - headroom) / 20.0);
    const FrequencyMask limited = cluster->getResponseMask();
    ASSERT_EQ(limited.magnitudes().count(), 28u);
    for (double value : limited.magnitudes())
        EXPECT_NEAR(value, factor, 1e-12);

    // Headroom of at least 20 log10(2) leaves the beams alone, even while it
    // is still below the peak of their sum.
    const double wider = (beamCountDb + peakDb) / 2.0;
    cluster->setGain(maxGain - wider);
    ASSERT_NEAR(cluster->getGainHeadroom(), wider, 1e-9);
    const FrequencyMask free = cluster->getResponseMask();
    ASSERT_EQ(free.magnitudes().count(), 28u);
    for (double value : free.magnitudes())
        EXPECT_EQ(value, 1.0);
}

TEST_F(ClusterArrivals, ComputedOnSeveralThreadsWhileEdited)
{
    auto cluster = makeCluster();
    ASSERT_EQ(cluster->addModule(makeArrayModule()), 1);
    ASSERT_EQ(cluster->addModule(makeArrayModule()), 1);
    auto beam0 = BeamSteerFactory::instance().createBeamSteer(1);
    auto beam1 = BeamSteerFactory::instance().createBeamSteer(2);
    ASSERT_EQ(cluster->addBeamSteer(beam0), 1);
    ASSERT_EQ(cluster->addBeamSteer(beam1), 1);
    const std::vector<math::Vec3> points{{4, 0, 0}, {9, 3, -2}};

    std::atomic<bool> editing{true};
    std::atomic<int> badLists{0};
    std::atomic<int> rounds{0};
    auto compute = [&]
    {
        while (editing.load() || rounds.load() < 6)
        {
            for (const auto& list : cluster->computeArrivals(points))
            {
                // Whole modules at a time: 0, 1 or 2 of them, 16 drivers x 2 beams.
                if (list.size() % 32 != 0)
                    ++badLists;
                for (const Arrival& arrival : list)
                    for (double value : arrival.getResponse().magnitudes())
                        if (!std::isfinite(value) || value < 0.0)
                            ++badLists;
            }
            ++rounds;
        }
    };
    std::vector<std::thread> workers;
    for (int i = 0; i < 3; ++i)
        workers.emplace_back(compute);

    for (int i = 0; i < 12; ++i)
    {
        cluster->setGain(i % 2 == 0 ? 100.0 : -10.0);
        Angle steering = Angle::FromDegrees(i % 2 == 0 ? 10.0 : -5.0);
        beam0->getConstraints()->setSteeringAngle(steering);
        cluster->toggleMuted();
        beam1->setBeamGain(i % 3);
    }
    editing = false;
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(badLists.load(), 0);
    EXPECT_GE(rounds.load(), 6);
}

} // namespace
} // namespace zorvpro::acoustics
