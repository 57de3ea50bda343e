#include "acoustics/model/Placement.h"

#include "core/math/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zorvpro::acoustics;
using zorvpro::math::Mat4;
using zorvpro::math::Vec3;

namespace
{
constexpr double Pi = 3.141592653589793;

class RecordingPlacement : public Placement
{
public:
    int hookCalls = 0;
    int transformCalls = 0;
    bool answer = false;
    Vec3 hookPosition;
    Orientation hookOrientation;

    void setTransform(const Mat4& transform) override
    {
        ++transformCalls;
        Placement::setTransform(transform);
    }

protected:
    bool onPlacementChange(const Vec3& position, const Orientation& orientation) override
    {
        ++hookCalls;
        hookPosition = position;
        hookOrientation = orientation;
        return answer;
    }
};

void expectNear(const Vec3& a, const Vec3& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
    EXPECT_NEAR(a.z, b.z, 1e-12);
}
} // namespace

TEST(Orientation, Clamp)
{
    Orientation inside{1.0, -1.0, 3.0};
    EXPECT_TRUE(inside.Clamp(true));
    EXPECT_EQ(inside.yaw, 3.0);

    Orientation outside{4.0, 2.0, -4.0};
    EXPECT_FALSE(outside.Clamp(false));
    EXPECT_EQ(outside.roll, 4.0);
    EXPECT_FALSE(outside.Clamp(true));
    EXPECT_EQ(outside.roll, Pi);
    EXPECT_EQ(outside.pitch, Pi / 2.0);
    EXPECT_EQ(outside.yaw, -Pi);
    EXPECT_TRUE(outside.Clamp(true));

    Orientation notANumber{std::nan(""), 0.0, 0.0};
    EXPECT_FALSE(notANumber.Clamp(true));
    EXPECT_EQ(notANumber.roll, 0.0);
}

TEST(Placement, SetPositionBuildsTransform)
{
    RecordingPlacement placement;
    EXPECT_EQ(placement.getTransform(), Mat4::Identity());
    EXPECT_TRUE(placement.setPosition(Vec3(0, 0, 0)));
    EXPECT_TRUE(placement.setPosition(Vec3(1e-16, 0, 0))); // equal within tolerance
    EXPECT_EQ(placement.hookCalls, 0);
    EXPECT_EQ(placement.transformCalls, 0);

    EXPECT_FALSE(placement.setPosition(Vec3(1, 2, 3)));
    EXPECT_EQ(placement.hookCalls, 1);
    EXPECT_EQ(placement.hookPosition, Vec3(1, 2, 3));
    EXPECT_EQ(placement.transformCalls, 1);
    EXPECT_EQ(placement.getPosition(), Vec3(1, 2, 3));
    expectNear(zorvpro::math::TransformPoint(placement.getTransform(), Vec3()), Vec3(1, 2, 3));
    expectNear(zorvpro::math::TransformPoint(placement.getInverseTransform(), Vec3(1, 2, 3)), Vec3());
}

TEST(Placement, SetOrientationRotatesAboutThePosition)
{
    RecordingPlacement placement;
    placement.answer = true;
    placement.setPosition(Vec3(5, 0, 0));
    EXPECT_TRUE(placement.setOrientation(Orientation{0.0, 0.0, Pi / 2.0}));
    EXPECT_EQ(placement.hookPosition, Vec3(5, 0, 0));
    EXPECT_EQ(placement.hookOrientation.yaw, Pi / 2.0);
    EXPECT_EQ(placement.getOrientation().yaw, Pi / 2.0);
    // Yaw a quarter turn about z takes +x to +y, then the position is added.
    expectNear(zorvpro::math::TransformPoint(placement.getTransform(), Vec3(1, 0, 0)), Vec3(5, 1, 0));
    expectNear(zorvpro::math::TransformPoint(placement.getInverseTransform(), Vec3(5, 1, 0)), Vec3(1, 0, 0));
    const int calls = placement.hookCalls;
    EXPECT_TRUE(placement.setOrientation(Orientation{0.0, 0.0, Pi / 2.0}));
    EXPECT_EQ(placement.hookCalls, calls);
}

TEST(Placement, SingularTransformIsNotTaken)
{
    Placement placement;
    placement.setPosition(Vec3(1, 0, 0));
    const Mat4 before = placement.getTransform();
    Mat4 flat;
    flat(2, 2) = 0.0;
    placement.setTransform(flat);
    EXPECT_EQ(placement.getTransform(), before);
    expectNear(zorvpro::math::TransformPoint(placement.getInverseTransform(), Vec3(1, 0, 0)), Vec3());
}
