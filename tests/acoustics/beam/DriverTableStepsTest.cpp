#include "acoustics/beam/DriverTableSteps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zorvpro::acoustics;

namespace
{

const double kInverseSpeed = 1.0 / 343.0;

// n drivers spaced by pitch, the first at base.
DriverTable Column(size_t n, double pitch, double base = 0.0)
{
    DriverTable table(n);
    for (size_t i = 0; i < n; ++i)
        table[i].position = base + static_cast<double>(i) * pitch;
    return table;
}

double SumOfSquaredWeights(const DriverTable& table)
{
    double sum = 0.0;
    for (const DriverRow& row : table)
        sum += row.weight * row.weight;
    return sum;
}

} // namespace

TEST(DriverTableStepsTest, ReReferenceToFirstCentreAndLast)
{
    DriverTable table = Column(5, 0.1, 2.0);
    reReference(table, ReferenceMode::FirstDriver);
    EXPECT_DOUBLE_EQ(table.front().position, 0.0);
    EXPECT_DOUBLE_EQ(table.back().position, 0.4);
    reReference(table, ReferenceMode::Centre);
    EXPECT_DOUBLE_EQ(table.front().position, -0.2);
    EXPECT_NEAR(table[2].position, 0.0, 1e-15);
    reReference(table, ReferenceMode::LastDriver);
    EXPECT_DOUBLE_EQ(table.back().position, 0.0);
    EXPECT_DOUBLE_EQ(table.front().position, -0.4);
    const auto [lo, hi] = getPositionRange(table);
    EXPECT_DOUBLE_EQ(lo, -0.4);
    EXPECT_DOUBLE_EQ(hi, 0.0);
}

TEST(DriverTableStepsTest, SteeringDelaysFollowSineOfAngleTimesPosition)
{
    for (double degrees : {12.0, -15.0})
    {
        DriverTable table = Column(16, 0.0615);
        const Angle steering = Angle::FromDegrees(degrees);
        computeSteeringDelays(table, steering, -0.3, kInverseSpeed);
        double smallest = 1.0;
        for (const DriverRow& row : table)
            smallest = std::min(smallest, row.steeringDelay);
        EXPECT_EQ(smallest, 0.0);
        const double slope = std::sin(steering.radians()) * kInverseSpeed;
        for (size_t i = 1; i < table.size(); ++i)
            EXPECT_NEAR(table[i].steeringDelay - table[i - 1].steeringDelay, slope * 0.0615, 1e-15);
        // Upward steering delays the top, downward the bottom.
        if (degrees > 0)
            EXPECT_EQ(table.front().steeringDelay, 0.0);
        else
            EXPECT_EQ(table.back().steeringDelay, 0.0);
    }
}

TEST(DriverTableStepsTest, TotalDelaysAddAndStartAtZero)
{
    DriverTable table = Column(3, 0.1);
    table[0].steeringDelay = 3e-4;
    table[1].steeringDelay = 2e-4;
    table[2].steeringDelay = 1e-4;
    table[0].curvatureDelay = 0.0;
    table[1].curvatureDelay = 0.5e-4;
    table[2].curvatureDelay = 3e-4;
    computeTotalDelays(table);
    EXPECT_NEAR(table[0].totalDelay, 0.5e-4, 1e-18);
    EXPECT_NEAR(table[1].totalDelay, 0.0, 1e-18);
    EXPECT_NEAR(table[2].totalDelay, 1.5e-4, 1e-18);
    clearDelays(table);
    for (const DriverRow& row : table)
        EXPECT_EQ(row.steeringDelay + row.curvatureDelay + row.totalDelay, 0.0);
}

TEST(DriverTableStepsTest, ShadingIsRaisedCosineDownToMinusNineDecibels)
{
    DriverTable table = Column(17, 0.05);
    reReference(table, ReferenceMode::Centre);
    computeShading(table, true);
    const double floor = std::pow(10.0, -9.0 / 20.0);
    EXPECT_NEAR(table[8].weight, 1.0, 1e-15);
    EXPECT_NEAR(table.front().weight, floor, 1e-12);
    EXPECT_NEAR(table.back().weight, floor, 1e-12);
    for (size_t i = 0; i < 8; ++i)
    {
        EXPECT_NEAR(table[i].weight, table[16 - i].weight, 1e-12); // symmetric about the centre
        EXPECT_LT(table[i].weight, table[i + 1].weight);           // rising towards the centre
    }
    // Taper from the first driver when referenced there.
    DriverTable fromBottom = Column(8, 0.1);
    computeShading(fromBottom, true);
    EXPECT_NEAR(fromBottom.front().weight, 1.0, 1e-15);
    EXPECT_NEAR(fromBottom.back().weight, floor, 1e-12);

    normaliseWeights(table);
    EXPECT_NEAR(SumOfSquaredWeights(table), 17.0, 1e-12);
    EXPECT_NEAR(table[8].weight / table[0].weight, 1.0 / floor, 1e-12);
}

TEST(DriverTableStepsTest, ShadingOffZeroesWeightsAndNormalisingKeepsThemZero)
{
    DriverTable table = Column(6, 0.1);
    computeShading(table, false);
    normaliseWeights(table);
    for (const DriverRow& row : table)
        EXPECT_EQ(row.weight, 0.0);

    DriverTable single = Column(1, 0.1);
    computeShading(single, true); // one driver at 0: full weight, no division
    normaliseWeights(single);
    EXPECT_DOUBLE_EQ(single[0].weight, 1.0);
}

TEST(DriverTableStepsTest, EffectiveSpreadByShadingAndModules)
{
    const Angle spread = Angle::FromDegrees(1.5);
    EXPECT_NEAR(effectiveSpreadAngle(spread, false, 1).degrees(), 1.0079 * 1.5 - 0.0017661 * 2.25 + 5.4609,
                1e-12);
    EXPECT_NEAR(effectiveSpreadAngle(Angle::FromDegrees(20), true, 3).degrees(),
                -0.0067785 * 400 + 1.3496 * 20 + 0.93714, 1e-12);
    EXPECT_NEAR(effectiveSpreadAngle(Angle::FromDegrees(20), true, 2).degrees(),
                0.0076287 * 400 + 0.95441 * 20 + 3.2146, 1e-12);
    EXPECT_EQ(effectiveSpreadAngle(Angle::FromDegrees(20), false, 0).radians(), 0.0);
    EXPECT_EQ(effectiveSpreadAngle(Angle::FromDegrees(20), true, 4).radians(), 0.0);
}

TEST(DriverTableStepsTest, CurvatureDelaysBendOntoAnArc)
{
    DriverTable table = Column(16, 0.0615);
    reReference(table, ReferenceMode::Centre);
    computeCurvatureDelays(table, Angle::FromDegrees(1.0), Angle::FromDegrees(6.0), kInverseSpeed);
    for (const DriverRow& row : table)
        EXPECT_EQ(row.curvatureDelay, 0.0);

    const Angle effective = Angle::FromDegrees(25.0);
    computeCurvatureDelays(table, Angle::FromDegrees(20.0), effective, kInverseSpeed);
    const double length = 15 * 0.0615;
    const double radius = length / (2 * std::sin(effective.radians() / 2));
    // The outermost drivers sit on the arc's ends: farthest ahead of the centre.
    double smallest = 1.0;
    for (const DriverRow& row : table)
        smallest = std::min(smallest, row.curvatureDelay);
    EXPECT_EQ(smallest, 0.0);
    const auto sagitta = [&](double x) { return radius - std::sqrt(radius * radius - x * x); };
    EXPECT_NEAR(table.front().curvatureDelay, (sagitta(length / 2) - sagitta(0.0615 / 2)) * kInverseSpeed,
                1e-15);
    EXPECT_NEAR(table.front().curvatureDelay, table.back().curvatureDelay, 1e-15);
    // Symmetric rows get equal delays and the centre rows the smallest.
    for (size_t i = 0; i < 8; ++i)
        EXPECT_NEAR(table[i].curvatureDelay, table[15 - i].curvatureDelay, 1e-15);
    EXPECT_EQ(std::min(table[7].curvatureDelay, table[8].curvatureDelay), 0.0);
}

TEST(DriverTableStepsTest, AimGeometryFromConstraintPoints)
{
    SpiralPoints p;
    p.topAngle = Angle::FromDegrees(5).radians();
    p.bottomAngle = Angle::FromDegrees(-10).radians();
    p.topDistance = 20.0;
    p.bottomDistance = 8.0;
    p.arrayLength = 1.968;
    p.topX = std::cos(p.topAngle) * 20.0;
    p.topZ = p.arrayLength + std::sin(p.topAngle) * 20.0;
    p.bottomX = std::cos(p.bottomAngle) * 8.0;
    p.bottomZ = std::sin(p.bottomAngle) * 8.0;

    SpiralAim aim;
    computeAimGeometry(p, aim);
    const double alpha = std::atan((p.topZ - p.bottomZ) / (p.topX - p.bottomX));
    const double margin = (alpha - p.topAngle) * Angle::kDegreesPerRadian <= 10 ? 2.5 : 2.0;
    const double a = p.topAngle + Angle::FromDegrees(margin).radians();
    const double b = p.bottomAngle - Angle::FromDegrees(1).radians();
    EXPECT_NEAR(aim.openAngle, a - b, 1e-15);
    EXPECT_NEAR(aim.topX, 20 * std::cos(a), 1e-12);
    EXPECT_NEAR(aim.topZ, 20 * std::sin(a) + 0.984, 1e-12);
    EXPECT_NEAR(aim.bottomZ, 8 * std::sin(b) - 0.984, 1e-12);
    EXPECT_NEAR(aim.incidentAngle, std::atan((aim.topZ - aim.bottomZ) / (aim.topX - aim.bottomX)) - a, 1e-12);

    // Points straight above each other give no aim: nothing changes.
    SpiralAim untouched = aim;
    p.bottomX = p.topX;
    computeAimGeometry(p, untouched);
    EXPECT_EQ(untouched.openAngle, aim.openAngle);
    EXPECT_EQ(untouched.topX, aim.topX);
}

TEST(DriverTableStepsTest, SpiralDelaysNeedMoreThanElevenDrivers)
{
    SpiralAim aim;
    aim.topX = 20.0;
    aim.topZ = 3.0;
    aim.bottomX = 5.0;
    aim.bottomZ = -2.0;

    DriverTable few = Column(11, 0.0615);
    reReference(few, ReferenceMode::Centre);
    computeSpiralDelays(few, aim, kInverseSpeed);
    for (const DriverRow& row : few)
        EXPECT_EQ(row.curvatureDelay, 0.0);

    DriverTable table = Column(12, 0.0615);
    reReference(table, ReferenceMode::Centre);
    computeSpiralDelays(table, aim, kInverseSpeed);
    EXPECT_EQ(table[0].curvatureDelay, 0.0);
    // Each pair's step is the path difference towards its own aim point.
    const double stepZ = (aim.topZ - aim.bottomZ) / 10.0;
    const double stepX = (aim.topX - aim.bottomX) / 10.0;
    for (size_t i = 0; i + 1 < table.size(); ++i)
    {
        const double aimZ = aim.topZ - i * stepZ;
        const double aimX = aim.topX - i * stepX;
        const double mid = (table[i].position + table[i + 1].position) / 2;
        const double elevation = std::atan((aimZ - mid) / aimX);
        const double step = table[i + 1].curvatureDelay - table[i].curvatureDelay;
        EXPECT_NEAR(step, std::sin(elevation) * 0.0615 * kInverseSpeed, 1e-15) << i;
    }
}
