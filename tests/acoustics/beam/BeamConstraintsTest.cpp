#include "acoustics/beam/BeamConstraintsFactory.h"
#include "acoustics/beam/BeamConstraintsSpiral.h"
#include "acoustics/beam/SteeringLimits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{

const double kDeg = Angle::kRadiansPerDegree;

class CodeRecorder : public PropChangeListener
{
public:
    void propChanged(uint32_t code) override { codes.push_back(code); }
    std::vector<uint32_t> codes;
};

struct Fixture
{
    explicit Fixture(uint32_t algorithm)
        : impl(BeamConstraintsFactory::instance().createBeamConstraints(algorithm)), c(impl.get())
    {
        impl->addListener(&recorder);
    }
    ~Fixture() { impl->removeListener(&recorder); }
    size_t published() const { return recorder.codes.size(); }

    std::shared_ptr<BeamConstraintsImpl> impl;
    BeamConstraints* c; // every call goes through the interface
    CodeRecorder recorder;
};

} // namespace

TEST(BeamConstraintsTest, FactoryMakesEachAlgorithmWithItsCapabilities)
{
    auto& factory = BeamConstraintsFactory::instance();
    auto sym = factory.createBeamConstraints(1);
    auto asym = factory.createBeamConstraints(2);
    auto spiral = factory.createBeamConstraints(3);
    ASSERT_TRUE(sym && asym && spiral);
    EXPECT_EQ(factory.createBeamConstraints(0), nullptr);
    EXPECT_EQ(factory.createBeamConstraints(4), nullptr);

    EXPECT_TRUE(sym->supportsSteering() && sym->supportsSpreading() && sym->supportsShading());
    EXPECT_TRUE(asym->supportsSteering() && !asym->supportsSpreading() && asym->supportsShading());
    EXPECT_FALSE(spiral->supportsSteering() || spiral->supportsSpreading() || spiral->supportsShading());
    EXPECT_FALSE(sym->isShadingOn());
    EXPECT_TRUE(asym->isShadingOn());
    EXPECT_NE(std::dynamic_pointer_cast<BeamConstraintsSpiral>(spiral), nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<BeamConstraintsSpiral>(sym), nullptr);
}

TEST(BeamConstraintsTest, NewSymmetricBeamMatchesItsDefaultPoints)
{
    Fixture f(1);
    EXPECT_EQ(f.c->getModuleCount(), 0u);
    EXPECT_DOUBLE_EQ(f.c->getArrayLength(), 0.0);
    EXPECT_DOUBLE_EQ(f.c->getTopDistance(), 15.0);
    EXPECT_DOUBLE_EQ(f.c->getBottomDistance(), 15.0);
    EXPECT_DOUBLE_EQ(f.c->getSpreadingAngle().radians(), 0.03278824597460577);
    EXPECT_DOUBLE_EQ(f.c->getSteeringAngle().radians(), 0.03278824597460577 / 2.0);
    EXPECT_DOUBLE_EQ(f.c->getMaxSpreadingAngle().degrees(), 30.0);
    EXPECT_EQ(f.published(), 0u);
}

TEST(BeamConstraintsTest, SharedLimits)
{
    EXPECT_DOUBLE_EQ(MaxSteeringAngle().radians(), 0.3490658503988659);
    EXPECT_DOUBLE_EQ(MinSteeringAngle().radians(), -0.3490658503988659);
    EXPECT_EQ(MinSpreadingAngle().radians(), 0.0);
    EXPECT_EQ(&MaxSteeringAngle(), &MaxSteeringAngle());

    Fixture f(1);
    EXPECT_TRUE(f.c->isSteeringAngleValid(MaxSteeringAngle()));
    EXPECT_TRUE(f.c->isSteeringAngleValid(MinSteeringAngle()));
    EXPECT_FALSE(f.c->isSteeringAngleValid(Angle(0.35)));
    EXPECT_TRUE(f.c->isSpreadingAngleValid(Angle(0.0)));
    EXPECT_FALSE(f.c->isSpreadingAngleValid(Angle(-1e-9)));
    EXPECT_FALSE(f.c->isSpreadingAngleValid(Angle::FromDegrees(31)));
}

TEST(BeamConstraintsTest, ModuleCountIsLimitedAndPublishedOncePerChange)
{
    Fixture f(1);
    EXPECT_FALSE(f.c->setModuleCount(0));
    EXPECT_EQ(f.c->getModuleCount(), 1u);
    EXPECT_EQ(f.published(), 1u);
    EXPECT_FALSE(f.c->setModuleCount(7));
    EXPECT_EQ(f.c->getModuleCount(), 3u);
    EXPECT_EQ(f.published(), 2u);
    EXPECT_TRUE(f.c->setModuleCount(3));
    EXPECT_EQ(f.published(), 2u);
    EXPECT_TRUE(f.c->setModuleCount(2));
    EXPECT_DOUBLE_EQ(f.c->getArrayLength(), 2 * static_cast<double>(0.984f));
    EXPECT_EQ(f.recorder.codes, (std::vector<uint32_t>{11, 11, 11}));
}

TEST(BeamConstraintsTest, SteeringIsClampedToTwentyDegrees)
{
    Fixture f(1);
    f.c->setModuleCount(2);
    const size_t before = f.published();

    Angle angle = Angle::FromDegrees(25);
    EXPECT_FALSE(f.c->setSteeringAngle(angle));
    EXPECT_DOUBLE_EQ(angle.radians(), MaxSteeringAngle().radians());
    EXPECT_DOUBLE_EQ(f.c->getSteeringAngle().radians(), MaxSteeringAngle().radians());
    EXPECT_EQ(f.published(), before + 1);

    angle = Angle::FromDegrees(-25);
    Angle top, bottom;
    EXPECT_FALSE(f.c->setSteeringAngle(angle, top, bottom));
    EXPECT_DOUBLE_EQ(f.c->getSteeringAngle().radians(), MinSteeringAngle().radians());
    EXPECT_EQ(top, f.c->getTopAngle());
    EXPECT_EQ(bottom, f.c->getBottomAngle());
    EXPECT_EQ(f.published(), before + 2);

    // Within the tolerance of the stored value: nothing stored, nothing published.
    Angle nearly(MinSteeringAngle().radians() * (1 - 4e-15));
    EXPECT_TRUE(f.c->setSteeringAngle(nearly));
    EXPECT_EQ(f.c->getSteeringAngle().radians(), MinSteeringAngle().radians());
    EXPECT_EQ(f.published(), before + 2);
}

TEST(BeamConstraintsTest, SpreadLimitFollowsModuleCount)
{
    Fixture f(1);
    f.c->setModuleCount(1);
    Angle spread = Angle::FromDegrees(35);
    EXPECT_FALSE(f.c->setSpreadingAngle(spread));
    EXPECT_NEAR(spread.degrees(), 30.0, 1e-12);
    EXPECT_NEAR(f.c->getSpreadingAngle().degrees(), 30.0, 1e-12);

    // A larger array allows more but keeps what was set.
    f.c->setModuleCount(2);
    EXPECT_NEAR(f.c->getSpreadingAngle().degrees(), 30.0, 1e-12);
    spread = Angle::FromDegrees(40);
    EXPECT_TRUE(f.c->setSpreadingAngle(spread));
    EXPECT_NEAR(f.c->getSpreadingAngle().degrees(), 40.0, 1e-12);

    // Removing a module lowers the stored spread, published once.
    const size_t before = f.published();
    f.c->setModuleCount(1);
    EXPECT_NEAR(f.c->getSpreadingAngle().degrees(), 30.0, 1e-12);
    EXPECT_EQ(f.published(), before + 1);
    // The points follow the lowered spread.
    EXPECT_NEAR(f.c->getBottomAngle().radians(),
                f.c->getSteeringAngle().radians() - f.c->getSpreadingAngle().radians() / 2, 1e-12);

    spread = Angle(-0.1);
    EXPECT_FALSE(f.c->setSpreadingAngle(spread));
    EXPECT_EQ(f.c->getSpreadingAngle().radians(), 0.0);
}

TEST(BeamConstraintsTest, UnsupportedAnglesAreForcedToZero)
{
    for (uint32_t algorithm : {2u, 3u})
    {
        Fixture f(algorithm);
        f.c->setModuleCount(2);
        Angle spread = Angle::FromDegrees(10);
        EXPECT_FALSE(f.c->setSpreadingAngle(spread)) << algorithm;
        EXPECT_EQ(spread.radians(), 0.0);
        EXPECT_EQ(f.c->getSpreadingAngle().radians(), 0.0);
    }
    Fixture spiral(3);
    spiral.c->setModuleCount(2);
    const size_t before = spiral.published();
    Angle steering = Angle::FromDegrees(5);
    EXPECT_FALSE(spiral.c->setSteeringAngle(steering));
    EXPECT_EQ(steering.radians(), 0.0);
    EXPECT_EQ(spiral.c->getSteeringAngle().radians(), 0.0);
    EXPECT_EQ(spiral.published(), before);
}

TEST(BeamConstraintsTest, DistancesAreRaisedToTheMinimumReach)
{
    Fixture f(1);
    f.c->setModuleCount(1);
    EXPECT_FALSE(f.c->setTopDistance(1.0));
    EXPECT_DOUBLE_EQ(f.c->getTopDistance(), 1.4);
    EXPECT_TRUE(f.c->setBottomDistance(20.0));
    EXPECT_DOUBLE_EQ(f.c->getBottomDistance(), 20.0);

    f.c->setPoints(Angle(1.0471975511965976), 5.0, Angle(0.0), 5.0);
    EXPECT_EQ(f.c->getMinTopDistance(), 2.7999999999999994);
    EXPECT_FALSE(f.c->setTopDistance(1.0));
    EXPECT_EQ(f.c->getTopDistance(), 2.7999999999999994);
}

TEST(BeamConstraintsTest, SymmetricPointsAndSteeringAreInverse)
{
    Fixture f(1);
    f.c->setModuleCount(3);
    Angle steering = Angle::FromDegrees(8);
    Angle spread = Angle::FromDegrees(24);
    f.c->setSteeringAngle(steering);
    f.c->setSpreadingAngle(spread);
    EXPECT_NEAR(f.c->getBottomAngle().degrees(), 8.0 - 12.0, 1e-12);
    EXPECT_GT(f.c->getTopAngle().degrees(), 8.0);

    Angle previewSteer, previewSpread;
    f.c->previewSteering(f.c->getTopAngle(), f.c->getTopDistance(), f.c->getBottomAngle(), previewSteer,
                         previewSpread);
    EXPECT_NEAR(previewSteer.degrees(), 8.0, 1e-9);
    EXPECT_NEAR(previewSpread.degrees(), 24.0, 1e-9);

    // Editing a point moves steering and spread, published once.
    const size_t before = f.published();
    Angle top = Angle::FromDegrees(10);
    double distance = 25.0;
    Angle outSteer, outSpread;
    EXPECT_TRUE(f.c->setTopPoint(top, distance, outSteer, outSpread));
    EXPECT_EQ(f.published(), before + 1);
    EXPECT_DOUBLE_EQ(f.c->getTopDistance(), 25.0);
    EXPECT_EQ(outSteer, f.c->getSteeringAngle());
    EXPECT_EQ(outSpread, f.c->getSpreadingAngle());
    EXPECT_LT(f.c->getSpreadingAngle().degrees(), 24.0);

    // A top point above the reachable range is limited.
    top = Angle::FromDegrees(60);
    EXPECT_FALSE(f.c->setTopAngle(top));
    EXPECT_DOUBLE_EQ(top.radians(), f.c->getTopAngle().radians());
    EXPECT_LE(top.radians(),
              MaxSteeringAngle().radians() + f.c->getMaxSpreadingAngle().radians() / 2 + 1e-15);
}

TEST(BeamConstraintsTest, ShadingSwitchPublishesOnlyOnChange)
{
    Fixture f(1);
    f.c->setModuleCount(1);
    const size_t before = f.published();
    f.c->setShadingOn(true);
    f.c->setShadingOn(true);
    EXPECT_TRUE(f.c->isShadingOn());
    EXPECT_EQ(f.published(), before + 1);
    f.c->setShadingOn(false);
    EXPECT_EQ(f.published(), before + 2);
}

TEST(BeamConstraintsTest, AsymmetricSteeringMovesTopPointAndPublishesOnce)
{
    Fixture f(2);
    f.c->setModuleCount(2);
    const size_t before = f.published();
    Angle steering = Angle::FromDegrees(-10);
    EXPECT_TRUE(f.c->setSteeringAngle(steering));
    EXPECT_EQ(f.published(), before + 1);
    EXPECT_NEAR(f.c->getSteeringAngle().degrees(), -10.0, 1e-9);
    EXPECT_EQ(f.c->getSpreadingAngle().radians(), 0.0);
    // The top point is aimed from the shaded two-module acoustic centre (0.85 m).
    const double t = f.c->getTopAngle().radians();
    const double d = f.c->getTopDistance();
    EXPECT_NEAR(std::atan((0.85 + std::sin(t) * d) / (std::cos(t) * d)), -10 * kDeg, 1e-12);

    // Moving the top below the bottom pulls the bottom down with it.
    Angle bottom = Angle::FromDegrees(-12);
    f.c->setBottomAngle(bottom);
    Angle top = Angle::FromDegrees(-14);
    f.c->setTopAngle(top);
    EXPECT_EQ(f.c->getBottomAngle(), f.c->getTopAngle());
    EXPECT_NEAR(f.c->getTopAngle().degrees(), -14.0, 1e-12);
    // The bottom point may not rise above the top one.
    bottom = Angle::FromDegrees(0);
    EXPECT_FALSE(f.c->setBottomAngle(bottom));
    EXPECT_EQ(bottom, f.c->getTopAngle());
}

TEST(BeamConstraintsTest, SpiralTopAngleIsLimitedByModuleCount)
{
    Fixture f(3);
    f.c->setModuleCount(1);
    Angle top = Angle::FromDegrees(18);
    EXPECT_FALSE(f.c->setTopAngle(top));
    EXPECT_NEAR(f.c->getTopAngle().degrees(), 15.0, 1e-12);
    f.c->setModuleCount(2);
    top = Angle::FromDegrees(18);
    EXPECT_TRUE(f.c->setTopAngle(top));
    EXPECT_NEAR(f.c->getTopAngle().degrees(), 18.0, 1e-12);
}

TEST(BeamConstraintsTest, SpiralGuideRegionAndSnapping)
{
    Fixture f(3);
    auto spiral = std::dynamic_pointer_cast<BeamConstraintsSpiral>(f.impl);
    ASSERT_TRUE(spiral);
    f.c->setModuleCount(1); // top point stays (0 degrees, 15 m)

    const double length = static_cast<double>(0.984f);
    const math::Vec3 g1 = spiral->getGuidePoint1();
    const math::Vec3 g2 = spiral->getGuidePoint2();
    const math::Vec3 g3 = spiral->getGuidePoint3();
    EXPECT_EQ(spiral->getGuidePoint0(), math::Vec3());
    EXPECT_DOUBLE_EQ(g1.x, 15.0);
    EXPECT_DOUBLE_EQ(g1.y, length);
    EXPECT_NEAR(g2.y, -std::tan(20 * kDeg) * 15.0, 1e-12);
    EXPECT_DOUBLE_EQ(g3.x, 0.35 * 15.0);
    EXPECT_DOUBLE_EQ(g3.y, -0.21 * 15.0);
    EXPECT_DOUBLE_EQ(spiral->getGuidePoint4().y, 1.4 * length / 15.0);
    EXPECT_DOUBLE_EQ(spiral->getGuidePoint5().y, 1.4 * (-0.21 / 0.35));

    EXPECT_TRUE(spiral->isInsideRegion({10.0, -1.0, 0.0}));
    EXPECT_TRUE(spiral->isInsideRegion({15.0, 0.0, 0.0})); // on the vertical edge
    EXPECT_FALSE(spiral->isInsideRegion({20.0, 0.0, 0.0}));
    EXPECT_FALSE(spiral->isInsideRegion({1.0, 0.0, 0.0}));
    EXPECT_TRUE(spiral->isBottomPointAllowed(Angle(0.0), 15.0));

    // (-60 degrees, 15 m) lies below the region; its nearest outline point is
    // on the edge from guide point 2 to guide point 3.
    const double a = -60 * kDeg;
    const math::Vec3 p{std::cos(a) * 15.0, std::sin(a) * 15.0, 0.0};
    const math::Vec3 edge = g3 - g2;
    const double along = (p - g2).Dot(edge) / edge.LengthSquared();
    ASSERT_GT(along, 0.0);
    ASSERT_LT(along, 1.0);
    const math::Vec3 nearest = g2 + edge * along;
    const double expected = std::asin(nearest.y / std::hypot(nearest.x, nearest.y));

    Angle bottom(a);
    EXPECT_FALSE(f.c->setBottomAngle(bottom));
    EXPECT_NEAR(bottom.radians(), expected, 1e-9);
    // Only the snapped angle is taken; the stored distance then puts the point
    // outside again, so the stored point is snapped once more onto the outline.
    const Angle storedAngle = f.c->getBottomAngle();
    const double storedDistance = f.c->getBottomDistance();
    EXPECT_GT(storedAngle.radians(), expected);
    EXPECT_LT(storedDistance, 15.0);
    Angle again = storedAngle;
    double againDistance = storedDistance;
    spiral->snapToRegion(again, againDistance);
    EXPECT_NEAR(again.radians(), storedAngle.radians(), 1e-9);
    EXPECT_NEAR(againDistance, storedDistance, 1e-9);

    // The point setter snaps both values back into the caller's references.
    Angle pointAngle(a);
    double distance = 15.0;
    EXPECT_FALSE(f.c->setBottomPoint(pointAngle, distance));
    EXPECT_GT(pointAngle.radians(), a);
    EXPECT_LT(distance, 15.0);
    EXPECT_NEAR(f.c->getBottomAngle().radians(), pointAngle.radians(), 1e-9);
    EXPECT_NEAR(f.c->getBottomDistance(), distance, 1e-9);
}

TEST(BeamConstraintsTest, SpiralKeepsTheBottomPointInsideTheRegion)
{
    Fixture f(3);
    auto spiral = std::dynamic_pointer_cast<BeamConstraintsSpiral>(f.impl);
    f.c->setModuleCount(3);
    Angle top = Angle::FromDegrees(-20);
    f.c->setTopAngle(top);
    // Moving the top point re-snaps the stored bottom point.
    EXPECT_TRUE(spiral->isBottomPointAllowed(f.c->getBottomAngle(), f.c->getBottomDistance()));

    const size_t before = f.published();
    Angle bottom = Angle::FromDegrees(-70);
    double distance = 2.0;
    EXPECT_FALSE(f.c->setBottomPoint(bottom, distance));
    EXPECT_EQ(f.published(), before + 1);
    EXPECT_GT(bottom.degrees(), -50.0);
    EXPECT_NEAR(f.c->getBottomAngle().radians(), bottom.radians(), 1e-9);
    EXPECT_NEAR(f.c->getBottomDistance(), distance, 1e-9);
    EXPECT_FALSE(spiral->isBottomPointAllowed(Angle::FromDegrees(-70), 2.0));
    // The snapped point lies on the outline: snapping it again does not move it.
    Angle again = bottom;
    double againDistance = distance;
    spiral->snapToRegion(again, againDistance);
    EXPECT_NEAR(again.radians(), bottom.radians(), 1e-9);
    EXPECT_NEAR(againDistance, distance, 1e-9);
    EXPECT_EQ(f.c->getSteeringAngle().radians(), 0.0);
    EXPECT_EQ(f.c->getSpreadingAngle().radians(), 0.0);
}

TEST(BeamConstraintsTest, SetPointsTakesValuesUncheckedAndPublishesOnce)
{
    Fixture f(1);
    f.c->setModuleCount(1);
    const size_t before = f.published();
    f.c->setPoints(Angle::FromDegrees(40), 1.0, Angle::FromDegrees(-40), 0.5);
    EXPECT_EQ(f.published(), before + 1);
    EXPECT_NEAR(f.c->getTopAngle().degrees(), 40.0, 1e-12);
    EXPECT_DOUBLE_EQ(f.c->getTopDistance(), 1.0);
    EXPECT_DOUBLE_EQ(f.c->getBottomDistance(), 0.5);
    const math::Vec3 topPoint = f.c->getTopPoint();
    EXPECT_NEAR(topPoint.x, std::cos(40 * kDeg), 1e-12);
    EXPECT_NEAR(topPoint.z, static_cast<double>(0.984f) + std::sin(40 * kDeg), 1e-12);
    EXPECT_NEAR(f.c->getBottomPoint().z, 0.5 * std::sin(-40 * kDeg), 1e-12);

    // A zero distance has no direction: steering and spread become 0, never NaN.
    f.c->setPoints(Angle(0.1), 0.0, Angle(0.0), 5.0);
    EXPECT_EQ(f.c->getSteeringAngle().radians(), 0.0);
    EXPECT_EQ(f.c->getSpreadingAngle().radians(), 0.0);
    Angle steering = Angle::FromDegrees(5);
    f.c->setSteeringAngle(steering);
    EXPECT_FALSE(std::isnan(f.c->getTopAngle().radians()));
}

TEST(BeamConstraintsTest, TopPointCloserThanTheArrayCentreNeverBecomesNaN)
{
    // setPoints takes any distance; a top point nearer than the height that
    // the top angle is aimed from cannot be reached from the array, and the
    // next steering edit must keep a usable top angle instead of storing NaN.
    for (uint32_t algorithm : {1u, 2u})
    {
        Fixture f(algorithm);
        f.c->setModuleCount(2); // symmetric: 0.492 m, asymmetric shaded: 0.85 m
        f.c->setPoints(Angle(0.0), 0.3, Angle(0.0), 15.0);
        const Angle topBefore = f.c->getTopAngle();
        Angle steering = Angle::FromDegrees(5);
        f.c->setSteeringAngle(steering);
        EXPECT_FALSE(std::isnan(f.c->getTopAngle().radians())) << "algorithm " << algorithm;
        EXPECT_EQ(f.c->getTopAngle(), topBefore) << "algorithm " << algorithm;
        EXPECT_FALSE(std::isnan(f.c->getSteeringAngle().radians())) << "algorithm " << algorithm;
        EXPECT_FALSE(std::isnan(f.c->getSpreadingAngle().radians())) << "algorithm " << algorithm;
        EXPECT_FALSE(std::isnan(f.c->getMaxTopAngle().radians())) << "algorithm " << algorithm;
        EXPECT_FALSE(std::isnan(f.c->getMinTopAngle().radians())) << "algorithm " << algorithm;
    }
}

TEST(BeamConstraintsTest, NonFiniteValuesAreRefusedAndChangeNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (uint32_t algorithm : {1u, 2u, 3u})
    {
        Fixture f(algorithm);
        f.c->setModuleCount(2);
        const size_t before = f.published();
        const Angle steering = f.c->getSteeringAngle();
        const Angle spreading = f.c->getSpreadingAngle();
        const Angle top = f.c->getTopAngle();
        const Angle bottom = f.c->getBottomAngle();
        const double topDistance = f.c->getTopDistance();
        const double bottomDistance = f.c->getBottomDistance();

        Angle a(nan);
        EXPECT_FALSE(f.c->setSteeringAngle(a));
        EXPECT_EQ(a, steering);
        a = Angle(nan);
        EXPECT_FALSE(f.c->setSpreadingAngle(a));
        EXPECT_EQ(a, spreading);
        a = Angle(nan);
        EXPECT_FALSE(f.c->setTopAngle(a));
        EXPECT_EQ(a, top);
        a = Angle(nan);
        EXPECT_FALSE(f.c->setBottomAngle(a));
        EXPECT_EQ(a, bottom);
        for (double d : {nan, inf})
        {
            EXPECT_FALSE(f.c->setTopDistance(d));
            EXPECT_FALSE(f.c->setBottomDistance(d));
        }
        a = Angle(nan);
        double d = nan;
        EXPECT_FALSE(f.c->setBottomPoint(a, d));
        a = Angle(nan);
        d = inf;
        EXPECT_FALSE(f.c->setTopPoint(a, d));
        f.c->setPoints(Angle(nan), 10.0, Angle(0.0), 10.0);
        f.c->setPoints(Angle(0.0), inf, Angle(0.0), 10.0);

        EXPECT_EQ(f.published(), before) << "algorithm " << algorithm;
        EXPECT_EQ(f.c->getSteeringAngle(), steering) << "algorithm " << algorithm;
        EXPECT_EQ(f.c->getSpreadingAngle(), spreading) << "algorithm " << algorithm;
        EXPECT_EQ(f.c->getTopAngle(), top) << "algorithm " << algorithm;
        EXPECT_EQ(f.c->getBottomAngle(), bottom) << "algorithm " << algorithm;
        EXPECT_EQ(f.c->getTopDistance(), topDistance) << "algorithm " << algorithm;
        EXPECT_EQ(f.c->getBottomDistance(), bottomDistance) << "algorithm " << algorithm;
    }
}
