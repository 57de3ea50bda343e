#include "core/math/Intersections.h"

#include "MathTestHelpers.h"

#include <cmath>
#include <limits>

using namespace zorvpro::math;
using zorvpro::math::test::ExpectNear;

namespace
{

const Vec3 A(0, 0, 0);
const Vec3 B(1, 0, 0);
const Vec3 C(0, 1, 0);
const Vec3 Down(0, 0, -1);
const Vec3 Sentinel(7, 7, 7);

// Shoots straight down onto the unit triangle from height 1 above (x, y).
bool HitFromAbove(double x, double y, Vec3* point = nullptr, double* distance = nullptr)
{
    return RayIntersectsTriangle({x, y, 1}, Down, A, B, C, point, distance);
}

} // namespace

TEST(RayIntersectsTriangle, HitsInsideAndOnEdgesAndCorners)
{
    Vec3 point;
    double distance = 0;
    ASSERT_TRUE(HitFromAbove(0.25, 0.25, &point, &distance));
    EXPECT_DOUBLE_EQ(distance, 1.0);
    ExpectNear(point, {0.25, 0.25, 0});

    EXPECT_TRUE(HitFromAbove(0, 0));     // corner a
    EXPECT_TRUE(HitFromAbove(1, 0));     // corner b
    EXPECT_TRUE(HitFromAbove(0, 1));     // corner c
    EXPECT_TRUE(HitFromAbove(0.5, 0));   // edge a-b
    EXPECT_TRUE(HitFromAbove(0, 0.5));   // edge a-c
    EXPECT_TRUE(HitFromAbove(0.5, 0.5)); // edge b-c, u + v = 1

    // The back face counts too (negative determinant).
    ASSERT_TRUE(RayIntersectsTriangle({0.25, 0.25, -2}, {0, 0, 1}, A, B, C, &point, &distance));
    EXPECT_DOUBLE_EQ(distance, 2.0);
    ExpectNear(point, {0.25, 0.25, 0});

    // Null outputs are allowed on a hit.
    EXPECT_TRUE(RayIntersectsTriangle({0.2, 0.2, 3}, {0, 0, -2}, A, B, C, nullptr, nullptr));
}

TEST(RayIntersectsTriangle, OutsideMissesLeaveTheOutputsAlone)
{
    for (const auto& xy : {Vec3(-0.1, 0.5, 0), Vec3(1.1, 0, 0), Vec3(0.5, -0.1, 0), Vec3(0.6, 0.6, 0)})
    {
        Vec3 point = Sentinel;
        double distance = 42;
        EXPECT_FALSE(HitFromAbove(xy.x, xy.y, &point, &distance)) << xy.x << ", " << xy.y;
        EXPECT_EQ(point, Sentinel);
        EXPECT_EQ(distance, 42);
    }

    // Parallel to the plane, and a degenerate triangle.
    Vec3 point = Sentinel;
    double distance = 42;
    EXPECT_FALSE(RayIntersectsTriangle({0.2, 0.2, 0}, {1, 0, 0}, A, B, C, &point, &distance));
    EXPECT_FALSE(RayIntersectsTriangle({0.2, 0.2, 1}, Down, A, B, {2, 0, 0}, &point, &distance));
    EXPECT_FALSE(RayIntersectsTriangle({0.2, 0.2, 1}, {0, 0, 0}, A, B, C, &point, &distance));
    EXPECT_EQ(point, Sentinel);
    EXPECT_EQ(distance, 42);
}

TEST(RayIntersectsTriangle, NonFiniteCoordinatesNeverHit)
{
    // Barycentric coordinates or distances that come out as NaN lie in no
    // range, so such rays miss instead of reporting a NaN hit.
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Vec3& origin :
         {Vec3(0.2, 0.2, inf), Vec3(nan, 0.2, 1), Vec3(0.2, nan, 1), Vec3(0.2, 0.2, nan)})
    {
        Vec3 point = Sentinel;
        double distance = 42;
        EXPECT_FALSE(RayIntersectsTriangle(origin, Down, A, B, C, &point, &distance))
            << origin.x << ", " << origin.y << ", " << origin.z;
        EXPECT_FALSE(std::isnan(distance));
    }
    EXPECT_FALSE(RayIntersectsTriangle({0.2, 0.2, 1}, Down, A, B, {0, nan, 0}, nullptr, nullptr));
}

TEST(RayIntersectsTriangle, TooCloseOrBehindZeroesTheOutputs)
{
    Vec3 point = Sentinel;
    double distance = 42;
    // Triangle behind the origin.
    EXPECT_FALSE(RayIntersectsTriangle({0.2, 0.2, -1}, Down, A, B, C, &point, &distance));
    EXPECT_EQ(point, Vec3(0, 0, 0));
    EXPECT_EQ(distance, 0.0);

    // Closer than 1e-6 along the ray.
    point = Sentinel;
    distance = 42;
    EXPECT_FALSE(RayIntersectsTriangle({0.2, 0.2, 5e-7}, Down, A, B, C, &point, &distance));
    EXPECT_EQ(point, Vec3(0, 0, 0));
    EXPECT_EQ(distance, 0.0);

    EXPECT_TRUE(RayIntersectsTriangle({0.2, 0.2, 2e-6}, Down, A, B, C, &point, &distance));
    EXPECT_NEAR(distance, 2e-6, 1e-18);

    // Only the given output is touched.
    distance = 42;
    EXPECT_FALSE(RayIntersectsTriangle({0.2, 0.2, -1}, Down, A, B, C, nullptr, &distance));
    EXPECT_EQ(distance, 0.0);
}

TEST(SegmentSegmentDistance, SkewCrossingAndParallelSegments)
{
    Vec3 onP;
    Vec3 onQ;
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({-1, 0, 0}, {1, 0, 0}, {0, -1, 2}, {0, 1, 2}, &onP, &onQ), 2.0);
    ExpectNear(onP, {0, 0, 0});
    ExpectNear(onQ, {0, 0, 2});

    EXPECT_EQ(SegmentSegmentDistance({-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}), 0.0);

    // The closest points are the ends p1 and q0.
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 5, 0}, &onP, &onQ),
                     std::sqrt(2.0));
    ExpectNear(onP, {1, 0, 0});
    ExpectNear(onQ, {2, 1, 0});

    // Parallel, overlapping and apart.
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {3, 1, 0}, &onP, &onQ), 1.0);
    EXPECT_NEAR((onP - onQ).Length(), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({0, 0, 0}, {1, 0, 0}, {3, 1, 0}, {5, 1, 0}, &onP, &onQ),
                     std::sqrt(5.0));
    ExpectNear(onP, {1, 0, 0});
    ExpectNear(onQ, {3, 1, 0});
    // Anti-parallel.
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({0, 0, 0}, {1, 0, 0}, {5, 1, 0}, {3, 1, 0}), std::sqrt(5.0));
}

TEST(SegmentSegmentDistance, DegenerateSegmentsAreTreatedAsPoints)
{
    Vec3 onQ = Sentinel;
    // A point against an edge, as the beam constraints ask: only the second output.
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({1, 2, 0}, {1, 2, 0}, {0, 0, 0}, {4, 0, 0}, nullptr, &onQ), 2.0);
    ExpectNear(onQ, {1, 0, 0});
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({6, 0, 0}, {6, 0, 0}, {0, 0, 0}, {4, 0, 0}, nullptr, &onQ), 2.0);
    ExpectNear(onQ, {4, 0, 0});
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({-3, 4, 0}, {-3, 4, 0}, {0, 0, 0}, {4, 0, 0}, nullptr, &onQ),
                     5.0);
    ExpectNear(onQ, {0, 0, 0});

    // An edge against a point, and two points.
    Vec3 onP;
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({0, 0, 0}, {0, 4, 0}, {3, 1, 0}, {3, 1, 0}, &onP, &onQ), 3.0);
    ExpectNear(onP, {0, 1, 0});
    ExpectNear(onQ, {3, 1, 0});
    EXPECT_DOUBLE_EQ(SegmentSegmentDistance({1, 1, 1}, {1, 1, 1}, {1, 1, 3}, {1, 1, 3}, &onP, &onQ), 2.0);
    ExpectNear(onP, {1, 1, 1});
    ExpectNear(onQ, {1, 1, 3});
}

TEST(SegmentSegmentDistance, DistancesBelowTheToleranceAreZero)
{
    // Squared distance 1e-16 counts as touching; 1e-12 does not.
    EXPECT_EQ(SegmentSegmentDistance({0, 0, 0}, {1, 0, 0}, {0.5, -1, 1e-8}, {0.5, 1, 1e-8}), 0.0);
    EXPECT_NEAR(SegmentSegmentDistance({0, 0, 0}, {1, 0, 0}, {0.5, -1, 1e-6}, {0.5, 1, 1e-6}), 1e-6, 1e-18);
}
