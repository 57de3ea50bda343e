#include "core/math/Ray.h"

#include "core/math/Quaternion.h"

#include "MathTestHelpers.h"

#include <cmath>

using namespace zorvpro::math;
using zorvpro::math::test::ExpectNear;

TEST(Ray, ConstructionNormalisesTheDirection)
{
    const Ray ray({1, 2, 3}, {0, 0, 5});
    EXPECT_EQ(ray.origin, Vec3(1, 2, 3));
    ExpectNear(ray.direction, {0, 0, 1});
    EXPECT_EQ(Ray({0, 0, 0}, {1e-9, 0, 0}).direction, Vec3(0, 0, 0));
}

TEST(Ray, TransformMapsOriginAndRenormalisesDirection)
{
    const Ray ray({1, 0, 0}, {1, 0, 0});

    const Ray moved = ray.Transform(Mat4::Translation({0, 5, 0}));
    ExpectNear(moved.origin, {1, 5, 0});
    ExpectNear(moved.direction, {1, 0, 0});

    // Scaling stretches the direction; the mapped ray is unit again.
    const Mat4 scaleAndTurn = QuaternionToMatrix(QuaternionFromEuler(0, 0, M_PI / 2)) *
                              Mat4({3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1});
    const Ray turned = Ray::Transform(ray, scaleAndTurn);
    ExpectNear(turned.origin, {0, 3, 0});
    ExpectNear(turned.direction, {0, 1, 0});
}

TEST(Ray, DirectionMappedToZeroStaysZero)
{
    // Collapses everything onto the point (7, 8, 9).
    const Mat4 collapse({0, 0, 0, 7, 0, 0, 0, 8, 0, 0, 0, 9, 0, 0, 0, 1});
    const Ray mapped = Ray({1, 2, 3}, {0, 1, 0}).Transform(collapse);
    ExpectNear(mapped.origin, {7, 8, 9});
    EXPECT_EQ(mapped.direction, Vec3(0, 0, 0));
}
