#include "acoustics/beam/BeamConstraintsSpiral.h"
#include "acoustics/beam/BeamSteerFactory.h"
#include "acoustics/beam/BeamSteerSpiralImpl.h"
#include "acoustics/data/LoudspeakerDataSet.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/model/Environment.h"
#include "acoustics/model/FrequencyBands.h"
#include "tools/datagen/Models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{

const double kModuleHeight = datagen::kArrayModuleHeight;
const size_t kDriversPerModule = static_cast<size_t>(datagen::kArrayDriverCount);

class CodeRecorder : public PropChangeListener
{
public:
    void propChanged(uint32_t code) override { codes.push_back(code); }
    std::vector<uint32_t> codes;
};

// Loads a generated data set once per archive content.
std::shared_ptr<LoudspeakerImpl> LoadModel(const datagen::DataSet& set)
{
    const juce::File folder = juce::File::createTempFile("beamsets");
    folder.createDirectory();
    EXPECT_TRUE(datagen::WriteDataSet(folder, set));
    auto model = loadLoudspeakerDataSet(folder.getChildFile(set.fileName).getFullPathName().toStdString());
    folder.deleteRecursively();
    return model;
}

const std::shared_ptr<LoudspeakerImpl>& ArrayModel()
{
    static const std::shared_ptr<LoudspeakerImpl> model = LoadModel(datagen::MakeArrayDataSet());
    return model;
}

// Placed copies of a model, stacked downwards from z = 0 as a cluster joins them.
std::vector<std::shared_ptr<LoudspeakerImpl>> Stack(const std::shared_ptr<LoudspeakerImpl>& model,
                                                    size_t count)
{
    std::vector<std::shared_ptr<LoudspeakerImpl>> modules;
    for (size_t i = 0; i < count; ++i)
    {
        auto module = std::make_shared<LoudspeakerImpl>(*model);
        module->setIndex(static_cast<uint32_t>(i));
        module->setPosition(math::Vec3(0.0, 0.0, -static_cast<double>(i) * kModuleHeight));
        modules.push_back(module);
    }
    return modules;
}

struct Beam
{
    Beam(uint32_t algorithm, size_t moduleCount, const std::shared_ptr<LoudspeakerImpl>& model = ArrayModel())
        : impl(BeamSteerFactory::instance().createBeamSteer(algorithm)), beam(impl.get()),
          constraints(impl->getConstraints()), modules(Stack(model, moduleCount))
    {
        for (auto& module : modules)
            impl->addModule(module.get());
        impl->addListener(&recorder);
    }
    ~Beam() { impl->removeListener(&recorder); }
    size_t published() const { return recorder.codes.size(); }

    // World heights of the drivers, in table order.
    std::vector<double> DriverHeights() const
    {
        std::vector<double> heights;
        for (const auto& module : modules)
            for (const auto& transducer : module->getTransducers())
                heights.push_back(module->getPosition().z + transducer->getPosition().z);
        return heights;
    }

    std::shared_ptr<BeamSteerImpl> impl;
    BeamSteer* beam; // algorithm operations go through the interface
    std::shared_ptr<BeamConstraints> constraints;
    std::vector<std::shared_ptr<LoudspeakerImpl>> modules;
    CodeRecorder recorder;
};

void SetSteeringAndSpread(BeamConstraints& c, double steeringDeg, double spreadDeg)
{
    Angle steering = Angle::FromDegrees(steeringDeg);
    Angle spread = Angle::FromDegrees(spreadDeg);
    c.setSpreadingAngle(spread);
    c.setSteeringAngle(steering);
}

double SumOfSquares(const std::vector<DriverRow>& table)
{
    double sum = 0.0;
    for (const DriverRow& row : table)
        sum += row.weight * row.weight;
    return sum;
}

// An EQ table that answers every request with the same row.
class FixedEq final : public IEQData
{
public:
    explicit FixedEq(EqCurveValues v) : values(v) {}
    EqCurveValues lookup(const IEQRequestData&) const override { return values; }

private:
    EqCurveValues values;
};

} // namespace

TEST(BeamSteerTest, FactoryMakesEachAlgorithmWithMatchingConstraints)
{
    auto& factory = BeamSteerFactory::instance();
    EXPECT_EQ(factory.createBeamSteer(0), nullptr);
    EXPECT_EQ(factory.createBeamSteer(4), nullptr);
    for (uint32_t algorithm : {1u, 2u, 3u})
    {
        std::shared_ptr<BeamSteer> beam = factory.createBeamSteer(algorithm);
        ASSERT_TRUE(beam);
        EXPECT_EQ(beam->getAlgorithm(), algorithm);
        ASSERT_TRUE(beam->getConstraints());
        EXPECT_EQ(beam->getModuleCount(), 0u);
        EXPECT_EQ(beam->getDriverCount(), 0u);
        EXPECT_EQ(beam->getBeamGain(), 0.0);
        EXPECT_EQ(beam->getMinBeamGain(), -10.0);
        EXPECT_EQ(beam->getMaxBeamGain(), 10.0);
    }
    EXPECT_TRUE(
        std::dynamic_pointer_cast<BeamConstraintsSpiral>(factory.createBeamSteer(3)->getConstraints()));
    EXPECT_FALSE(factory.createBeamSteer(2)->getConstraints()->supportsSpreading());
}

TEST(BeamSteerTest, WithoutModulesSolveChangesAndPublishesNothing)
{
    Beam b(1, 0);
    b.beam->solve();
    EXPECT_TRUE(b.beam->getDriverTable().empty());
    Angle steering = Angle::FromDegrees(5);
    b.constraints->setSteeringAngle(steering);
    EXPECT_TRUE(b.beam->getDriverTable().empty());
    EXPECT_EQ(b.published(), 0u);
}

TEST(BeamSteerTest, ModulesFillTheDriverTable)
{
    ASSERT_TRUE(ArrayModel());
    for (size_t count : {1u, 2u, 3u})
    {
        Beam b(1, count);
        EXPECT_EQ(b.beam->getModuleCount(), count);
        EXPECT_EQ(b.constraints->getModuleCount(), count);
        EXPECT_EQ(b.beam->getDriverCount(), count * kDriversPerModule);
        const auto table = b.beam->getDriverTable();
        ASSERT_EQ(table.size(), count * kDriversPerModule);
        for (size_t i = 0; i < table.size(); ++i)
        {
            EXPECT_EQ(table[i].moduleKey, static_cast<int64_t>(i / kDriversPerModule));
            EXPECT_EQ(table[i].transducerIndex, static_cast<int64_t>(i % kDriversPerModule));
        }
        // Positions end up centre-referenced in the world's vertical order.
        const auto heights = b.DriverHeights();
        const double centre = (*std::min_element(heights.begin(), heights.end()) +
                               *std::max_element(heights.begin(), heights.end())) /
                              2;
        for (size_t i = 0; i < table.size(); ++i)
            EXPECT_NEAR(table[i].position, heights[i] - centre, 1e-9);
    }
}

TEST(BeamSteerTest, SymmetricAtZeroSteeringAndSpreadHasNoDelays)
{
    Beam b(1, 2);
    SetSteeringAndSpread(*b.constraints, 0, 0);
    const auto table = b.beam->getDriverTable();
    ASSERT_EQ(table.size(), 2 * kDriversPerModule);
    for (const DriverRow& row : table)
    {
        EXPECT_EQ(row.steeringDelay, 0.0);
        EXPECT_EQ(row.curvatureDelay, 0.0);
        EXPECT_EQ(row.totalDelay, 0.0);
        EXPECT_EQ(row.weight, 0.0); // unshaded: full level for every driver
    }
}

TEST(BeamSteerTest, ShadingTapersToMinusNineDecibels)
{
    Beam b(1, 1);
    SetSteeringAndSpread(*b.constraints, 0, 0);
    b.constraints->setShadingOn(true);
    const auto table = b.beam->getDriverTable();
    ASSERT_EQ(table.size(), kDriversPerModule);
    EXPECT_NEAR(SumOfSquares(table), static_cast<double>(table.size()), 1e-9);

    // Raised cosine over the centre-referenced positions: 1 at the centre
    // and -9 dB at the farthest driver, then scaled by one common factor.
    double farthest = 0.0;
    for (const DriverRow& row : table)
        farthest = std::max(farthest, std::fabs(row.position));
    const double floor = std::pow(10.0, -9.0 / 20.0);
    const double e = std::acos(1 - 2 * floor) / M_PI - 1;
    const auto taper = [&](double p) { return 0.5 + 0.5 * std::cos(M_PI * e * p / farthest); };
    const double scale = table.front().weight / taper(table.front().position);
    for (const DriverRow& row : table)
        EXPECT_NEAR(row.weight, scale * taper(row.position), 1e-12);
    EXPECT_NEAR(20 * std::log10(table.front().weight / scale), -9.0, 1e-9);
    EXPECT_NEAR(table.front().weight, table.back().weight, 1e-12);
}

TEST(BeamSteerTest, SteeringDelaysFollowSineOfAngleOverSpeedOfSound)
{
    const double inverseSpeed = Environment::instance().getInverseSpeedOfSound();
    for (uint32_t algorithm : {1u, 2u})
    {
        for (double degrees : {12.0, -7.5})
        {
            Beam b(algorithm, 3);
            SetSteeringAndSpread(*b.constraints, degrees, 0);
            ASSERT_NEAR(b.constraints->getSteeringAngle().degrees(), degrees, 1e-9);
            const auto table = b.beam->getDriverTable();
            const auto heights = b.DriverHeights();
            ASSERT_EQ(table.size(), heights.size());
            const double sine = std::sin(b.constraints->getSteeringAngle().radians());
            const double reference = sine > 0 ? *std::min_element(heights.begin(), heights.end())
                                              : *std::max_element(heights.begin(), heights.end());
            double smallest = 1.0;
            for (size_t i = 0; i < table.size(); ++i)
            {
                EXPECT_NEAR(table[i].steeringDelay, sine * (heights[i] - reference) * inverseSpeed, 1e-12);
                EXPECT_NEAR(table[i].totalDelay, table[i].steeringDelay, 1e-15);
                EXPECT_EQ(table[i].curvatureDelay, 0.0);
                smallest = std::min(smallest, table[i].steeringDelay);
            }
            EXPECT_EQ(smallest, 0.0);
        }
    }
}

TEST(BeamSteerTest, SpreadAddsCurvatureDelaysSymmetricAboutTheCentre)
{
    Beam b(1, 2);
    SetSteeringAndSpread(*b.constraints, 0, 20);
    const auto table = b.beam->getDriverTable();
    const size_t n = table.size();
    double largest = 0.0;
    for (size_t i = 0; i < n; ++i)
    {
        // Module 0 is above module 1, so row i mirrors a row of the other module.
        largest = std::max(largest, table[i].curvatureDelay);
        EXPECT_GE(table[i].totalDelay, 0.0);
    }
    EXPECT_GT(largest, 0.0);
    // The outermost drivers (top of module 0 = row 0, bottom of module 1 = last row) lead the most.
    EXPECT_EQ(table[0].curvatureDelay, largest);
    EXPECT_NEAR(table[n - 1].curvatureDelay, largest, 1e-15);
}

TEST(BeamSteerTest, SteeringEditsAreClampedAndPublishedOncePerChange)
{
    Beam b(1, 2);
    size_t before = b.published();
    Angle steering = Angle::FromDegrees(30);
    EXPECT_FALSE(b.constraints->setSteeringAngle(steering));
    EXPECT_EQ(b.published(), before + 1);
    EXPECT_NEAR(b.constraints->getSteeringAngle().degrees(), 20.0, 1e-12);
    b.constraints->setSteeringAngle(steering); // unchanged
    EXPECT_EQ(b.published(), before + 1);

    // The asymmetric steering moves the top point as well: still one solve.
    Beam asym(2, 2);
    before = asym.published();
    steering = Angle::FromDegrees(-10);
    asym.constraints->setSteeringAngle(steering);
    EXPECT_EQ(asym.published(), before + 1);
    EXPECT_EQ(asym.recorder.codes.back(), 11u);
}

TEST(BeamSteerTest, SpreadLimitDropsWhenModulesAreRemoved)
{
    Beam b(1, 2);
    Angle spread = Angle::FromDegrees(40);
    EXPECT_TRUE(b.constraints->setSpreadingAngle(spread));
    b.impl->clearModules();
    EXPECT_TRUE(b.beam->getDriverTable().empty()); // no rows of departed modules
    b.impl->addModule(b.modules.front().get());
    b.beam->solve(); // the owning cluster solves after refilling the list
    EXPECT_EQ(b.beam->getModuleCount(), 1u);
    EXPECT_NEAR(b.constraints->getSpreadingAngle().degrees(), 30.0, 1e-12);
    EXPECT_EQ(b.beam->getDriverTable().size(), kDriversPerModule);
}

TEST(BeamSteerTest, BeamGainIsClampedAndResolvesOnlyOnChange)
{
    Beam b(2, 1);
    const size_t before = b.published();
    b.beam->setBeamGain(12.0);
    EXPECT_EQ(b.beam->getBeamGain(), 10.0);
    EXPECT_EQ(b.published(), before + 1);
    b.beam->setBeamGain(10.0);
    EXPECT_EQ(b.published(), before + 1);
    b.beam->setBeamGain(-25.0);
    EXPECT_EQ(b.beam->getBeamGain(), -10.0);
    EXPECT_EQ(b.published(), before + 2);
}

TEST(BeamSteerTest, SymmetricBeamTakesItsEqFromTheDataSet)
{
    Beam b(1, 2);
    SetSteeringAndSpread(*b.constraints, 0, 15);
    b.constraints->setShadingOn(true);
    auto table = b.modules.front()->getEQData(1);
    ASSERT_TRUE(table);
    const EqCurveValues expected = table->lookup(EQRequestDataSpread(true, 15.0, 2));
    ASSERT_NE(expected.BoostOrCut, 0.0);
    EXPECT_NEAR(b.beam->getArrayEQGain(), expected.BoostOrCut, 1e-9);
    EXPECT_NEAR(b.beam->getArrayEQFrequency(), expected.LowCutFreq, 1e-9);
    EXPECT_NEAR(b.beam->getArrayEQTilt(), expected.Tilt, 1e-9);
    EXPECT_TRUE(b.impl->isArrayEQActive());
    const DoubleBuffer response = b.impl->getArrayEQResponse();
    ASSERT_EQ(response.count(), 28u);
    // The shelf moves from about 0 dB at low frequencies towards the table gain.
    EXPECT_NE(response[27], 1.0);
    EXPECT_LT(std::fabs(20 * std::log10(response[0])), std::fabs(20 * std::log10(response[27])));
}

TEST(BeamSteerTest, MissingEqTableMeansEqOff)
{
    Beam b(1, 1);
    SetSteeringAndSpread(*b.constraints, 0, 15);
    ASSERT_TRUE(b.impl->isArrayEQActive());
    for (const EQDataMap& map : {EQDataMap{}, EQDataMap{{1, nullptr}}})
    {
        b.modules.front()->setEQData(map);
        Angle spread = Angle::FromDegrees(20);
        b.constraints->setSpreadingAngle(spread);
        EXPECT_FALSE(b.impl->isArrayEQActive());
        EXPECT_EQ(b.beam->getArrayEQGain(), 0.0);
        EXPECT_EQ(b.beam->getArrayEQFrequency(), 0.0);
        const DoubleBuffer response = b.impl->getArrayEQResponse();
        ASSERT_EQ(response.count(), 28u);
        for (double v : response)
            EXPECT_EQ(v, 1.0);
        spread = Angle::FromDegrees(15);
        b.constraints->setSpreadingAngle(spread);
    }
}

TEST(BeamSteerTest, EqResponseIsFlatWithZeroGainAndKeptOnBadTilt)
{
    Beam b(1, 1);
    b.modules.front()->setEQData({{1, std::make_shared<FixedEq>(EqCurveValues{400.0, 2.0, 0.0})}});
    SetSteeringAndSpread(*b.constraints, 0, 12);
    for (double v : b.impl->getArrayEQResponse())
        EXPECT_EQ(v, 1.0);

    b.modules.front()->setEQData({{1, std::make_shared<FixedEq>(EqCurveValues{400.0, 2.0, -4.0})}});
    SetSteeringAndSpread(*b.constraints, 0, 14);
    const DoubleBuffer shaped = b.impl->getArrayEQResponse();
    EXPECT_NEAR(shaped[27], std::pow(10.0, 4.0 / 20.0), 0.05);

    // A tilt beyond 10 is refused: the previous response stays.
    b.modules.front()->setEQData({{1, std::make_shared<FixedEq>(EqCurveValues{400.0, 11.0, -4.0})}});
    SetSteeringAndSpread(*b.constraints, 0, 16);
    EXPECT_EQ(b.beam->getArrayEQTilt(), 11.0);
    EXPECT_FALSE(b.impl->updateEqResponse());
    EXPECT_EQ(b.impl->getArrayEQResponse(), shaped);
}

TEST(BeamSteerTest, AsymmetricBeamHasNoEq)
{
    Beam b(2, 2);
    Angle steering = Angle::FromDegrees(8);
    b.constraints->setSteeringAngle(steering);
    EXPECT_EQ(b.beam->getArrayEQGain(), 0.0);
    EXPECT_EQ(b.beam->getArrayEQFrequency(), 0.0);
    EXPECT_EQ(b.beam->getArrayEQTilt(), 0.0);
    for (double v : b.impl->getArrayEQResponse())
        EXPECT_EQ(v, 1.0);
    // Shading on by default, tapering from the first driver.
    const auto table = b.beam->getDriverTable();
    EXPECT_NEAR(SumOfSquares(table), static_cast<double>(table.size()), 1e-9);
}

TEST(BeamSteerTest, SpiralSolveAimsAndTakesItsEq)
{
    Beam b(3, 2);
    auto* spiral = dynamic_cast<BeamSteerSpiralImpl*>(b.beam);
    ASSERT_NE(spiral, nullptr);
    Angle top = Angle::FromDegrees(5);
    double topDistance = 20.0;
    b.constraints->setTopPoint(top, topDistance);
    Angle bottom = Angle::FromDegrees(-15);
    double bottomDistance = 8.0;
    b.constraints->setBottomPoint(bottom, bottomDistance);

    const auto table = b.beam->getDriverTable();
    ASSERT_EQ(table.size(), 2 * kDriversPerModule);
    EXPECT_EQ(table.front().curvatureDelay, 0.0);
    double smallest = 1.0;
    for (const DriverRow& row : table)
    {
        EXPECT_EQ(row.weight, 1.0); // spiral beams are not shaded
        EXPECT_EQ(row.steeringDelay, 0.0);
        smallest = std::min(smallest, row.totalDelay);
    }
    EXPECT_EQ(smallest, 0.0);
    EXPECT_GT(spiral->getOpenAngle(), 0.0);
    EXPECT_NEAR(spiral->getTopAimPoint().x,
                20.0 * std::cos(spiral->getOpenAngle() + bottom.radians() - Angle::kRadiansPerDegree), 1e-9);

    auto eq = b.modules.front()->getEQData(3);
    ASSERT_TRUE(eq);
    const EqCurveValues expected = eq->lookup(EQRequestDataSpiral(
        2, spiral->getIncidentAngle() * Angle::kDegreesPerRadian,
        spiral->getOpenAngle() * Angle::kDegreesPerRadian, b.constraints->getTopDistance()));
    EXPECT_EQ(b.beam->getArrayEQGain(), expected.BoostOrCut);
    EXPECT_EQ(b.beam->getArrayEQFrequency(), expected.LowCutFreq);
}

TEST(BeamSteerTest, SpiralSolveOnTooFewDriversLeavesDelaysAtZero)
{
    datagen::ModelFile file = datagen::ArrayModelFile();
    file.transducers.resize(11);
    const auto small = LoadModel(datagen::Assemble("TQR40V.vxq", datagen::ArrayDescriptor(), file));
    ASSERT_TRUE(small);
    Beam b(3, 1, small);
    Angle bottom = Angle::FromDegrees(-10);
    b.constraints->setBottomAngle(bottom);
    const auto table = b.beam->getDriverTable();
    ASSERT_EQ(table.size(), 11u);
    for (const DriverRow& row : table)
    {
        EXPECT_EQ(row.curvatureDelay, 0.0);
        EXPECT_EQ(row.totalDelay, 0.0);
        EXPECT_EQ(row.weight, 1.0);
    }
}

TEST(BeamSteerTest, ConcurrentEditsAndSolvesDoNotDeadlock)
{
    // One thread edits the constraints (constraints, then beam), the other
    // solves and changes the gain (which must take the locks in the same order).
    Beam b(1, 2);
    std::atomic<bool> done{false};
    std::thread solver(
        [&]
        {
            for (int i = 0; i < 200; ++i)
            {
                b.beam->solve();
                b.beam->setBeamGain((i % 2) ? 3.0 : -3.0);
                b.beam->setModuleCount(2);
            }
            done = true;
        });
    for (int i = 0; i < 200; ++i)
    {
        Angle steering = Angle::FromDegrees((i % 2) ? 5.0 : -5.0);
        b.constraints->setSteeringAngle(steering);
    }
    solver.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(b.beam->getDriverTable().size(), 2 * kDriversPerModule);
}
