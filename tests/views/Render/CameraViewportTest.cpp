#include "views/Render/CameraMath.h"
#include "views/Render/Viewport.h"

#include "tests/core/support/LogCapture.h"

#include <QSignalSpy>
#include <algorithm>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::view;
using math::Vec3;

namespace
{
void ExpectNear(const Vec3& actual, const Vec3& expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

bool IsFinite(const math::Mat4& m)
{
    return std::all_of(m.m.begin(), m.m.end(), [](double v) { return std::isfinite(v); });
}
} // namespace

TEST(CameraTest, QuaternionFromMatrixInvertsQuaternionToMatrixOnEveryBranch)
{
    // Rotations chosen so that each of the four branches of the extraction runs.
    const math::Quaternion rotations[] = {
        math::QuaternionFromEuler(0.1, 0.2, 0.3), math::QuaternionFromEuler(3.0, 0.1, 0.2),
        math::QuaternionFromEuler(0.1, 3.0, 0.2), math::QuaternionFromEuler(0.2, 0.1, 3.0),
        math::QuaternionFromEuler(2.9, 0.0, 1.6), math::QuaternionFromEuler(0.0, 2.9, 1.6),
    };
    for (const math::Quaternion& q : rotations)
    {
        const math::Mat4 m = math::QuaternionToMatrix(q);
        const math::Mat4 back = math::QuaternionToMatrix(QuaternionFromMatrix(m));
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(back.m[i], m.m[i], 1e-12) << i;
        // Rotating by the quaternion agrees with its matrix.
        ExpectNear(Rotate(q, {1, 2, 3}), math::TransformPoint(m, {1, 2, 3}), 1e-12);
    }
}

TEST(CameraTest, LookAtOrientsThePlanAndSideViewsAndSurvivesAParallelUp)
{
    Camera plan;
    plan.LookAt({2, 3, 10}, {2, 3, 0}, {0, 1, 0});
    ExpectNear(plan.GetPosition(), {2, 3, 10});
    ExpectNear(plan.Forward(), {0, 0, -1});
    ExpectNear(plan.Right(), {1, 0, 0});
    ExpectNear(plan.Up(), {0, 1, 0});
    ExpectNear(math::TransformPoint(plan.ViewMatrix(), {2, 3, 0}), {0, 0, -10});

    Camera side;
    side.LookAtFromDirection({0, -5, 0}, {1, 0, 0}, {0, 0, 1}, 20);
    ExpectNear(side.GetPosition(), {1, -20, 0});
    ExpectNear(side.Forward(), {0, 1, 0});
    ExpectNear(side.Up(), {0, 0, 1});

    // Up along the view direction: still a rotation, still looking at the target.
    Camera straightDown;
    straightDown.LookAt({0, 0, 10}, {0, 0, 0}, {0, 0, 1});
    EXPECT_TRUE(IsFinite(straightDown.ViewMatrix()));
    ExpectNear(straightDown.Forward(), {0, 0, -1});
    EXPECT_NEAR(straightDown.Up().Length(), 1.0, 1e-12);
    EXPECT_NEAR(straightDown.Up().Dot(straightDown.Forward()), 0.0, 1e-12);
}

TEST(ViewportTest, NewViewportPixelMappingAndZoom)
{
    Viewport viewport;
    EXPECT_EQ(viewport.pixelsPerMeter(), 50.0);
    EXPECT_TRUE(viewport.IsDirty());
    const math::BBox& box = viewport.GetBoundingBox();
    ExpectNear(box.min, {-1, -1, 5001 - 20000});
    ExpectNear(box.max, {1, 1, 5001});

    const math::Ray centre = viewport.ScreenToRay(50, 50);
    ExpectNear(centre.origin, {0, 0, 5001});
    ExpectNear(centre.direction, {0, 0, -1});
    // Pixel y grows downwards, world y upwards.
    ExpectNear(viewport.ScreenToRay(60, 40).origin, {0.2, 0.2, 5001});
    EXPECT_EQ(viewport.WorldToScreen({0, 0, 1}), QPoint(50, 50));
    EXPECT_EQ(viewport.WorldToScreen({0.01, 0, 1}), QPoint(50, 50)); // 50.5 truncated
    EXPECT_EQ(viewport.WorldToScreen({-0.5, -0.5, -30}), QPoint(25, 75));

    QSignalSpy zoomSpy(&viewport, &Viewport::pixelsPerMeterChanged);
    viewport.setPixelsPerMeter(0);
    viewport.setPixelsPerMeter(NAN);
    viewport.setPixelsPerMeter(INFINITY);
    EXPECT_EQ(zoomSpy.count(), 0);
    EXPECT_EQ(viewport.WorldToScreen({1e12, -1e12, 0}), QPoint(INT_MAX, INT_MAX));
    EXPECT_EQ(viewport.pixelsPerMeter(), 50.0);
    viewport.setPixelsPerMeter(-3);
    ASSERT_EQ(zoomSpy.count(), 1);
    EXPECT_EQ(zoomSpy.at(0).at(0).toDouble(), 0.001);
    viewport.setPixelsPerMeter(100);
    viewport.setPixelsPerMeter(100);
    EXPECT_EQ(zoomSpy.count(), 3);
    EXPECT_NEAR(viewport.GetBoundingBox().max.x, 0.5, 1e-12);
    // The projection maps the visible half width to clip space 1.
    EXPECT_NEAR(viewport.GetProjection()(0, 0), 2.0 / 1.0, 1e-12);
}

TEST(ViewportTest, AnchorHoldsAcrossResizesUntilPannedAndPanMovesTheCamera)
{
    Viewport viewport;
    viewport.GetCamera().LookAt({5, 5, 10}, {5, 5, 0}, {0, 1, 0});
    viewport.Resize(200, 100);
    viewport.SetViewAnchor({0, 0, 0}, {0.15, 0.5, 0.2});
    QPoint origin = viewport.WorldToScreen({0, 0, 0});
    EXPECT_NEAR(origin.x(), 30, 1);
    EXPECT_NEAR(origin.y(), 50, 1);

    viewport.Resize(400, 300);
    origin = viewport.WorldToScreen({0, 0, 0});
    EXPECT_NEAR(origin.x(), 60, 1);
    EXPECT_NEAR(origin.y(), 150, 1);

    QSignalSpy boxSpy(&viewport, &Viewport::boundingBoxChanged);
    viewport.Pan({1, 0, 0});
    EXPECT_EQ(boxSpy.count(), 1);
    EXPECT_NEAR(viewport.WorldToScreen({0, 0, 0}).x(), 10, 1);
    viewport.Pan({0, 0, 0});
    EXPECT_EQ(boxSpy.count(), 1);
    // The pan dropped the anchor: a resize keeps the camera where it is.
    viewport.Resize(200, 100);
    EXPECT_NEAR(viewport.WorldToScreen({0, 0, 0}).x(), -90, 1);

    // A side view pans by fractions of its half width and half height.
    Viewport side;
    side.GetCamera().LookAtFromDirection({0, -1, 0}, {0, 0, 0}, {0, 0, 1}, 10);
    side.Resize(200, 100);
    side.PanByFraction(0.5, -1.0);
    ExpectNear(side.GetCamera().GetPosition(), {1, -10, -1}, 1e-9);
}

TEST(CameraMathTest, OrthoAndUnalignedBoundingBox)
{
    EXPECT_EQ(Ortho(-1, 1, 2, 2, 0.001, 100), math::Mat4::Identity());
    EXPECT_EQ(Ortho(0, 0, -1, 1, 0.001, 100), math::Mat4::Identity());
    const math::Mat4 ortho = Ortho(-2, 2, -1, 1, 0.001, 10000);
    ExpectNear(math::TransformPoint(ortho, {2, 1, -10000}), {1, 1, 1}, 1e-12);

    const math::BBox box({0, 0, 0}, {2, 1, 1});
    const auto plain = Compute2DUnalignedBoundingBox(math::Mat4(), box, 0.1);
    const Vec3 expected[] = {{-0.1, -0.1, 0}, {2.1, -0.1, 0}, {2.1, 1.1, 0}, {-0.1, 1.1, 0}};
    for (int i = 0; i < 4; ++i)
        ExpectNear(plain[i], expected[i], 1e-12);

    // Rotated and moved: the rectangle turns with the box's longest edge.
    math::Mat4 transform = math::Mat4::RotationZ(0.5);
    transform.Translate({3, 4, 7});
    const auto turned = Compute2DUnalignedBoundingBox(transform, box, 0.1);
    for (int i = 0; i < 4; ++i)
        ExpectNear(turned[i], math::TransformPoint(transform, expected[i]) - Vec3(0, 0, 7), 1e-12);

    test::LogCapture log;
    const auto flat = Compute2DUnalignedBoundingBox(math::Mat4(), math::BBox({1, 1, 0}, {1, 1, 3}), 0.1);
    for (const Vec3& corner : flat)
        EXPECT_EQ(corner, Vec3());
    const auto texts = log.Texts();
    EXPECT_NE(
        std::find(texts.begin(), texts.end(), "All segments zero length in Compute2DUnalignedBoundingBox"),
        texts.end());
}
