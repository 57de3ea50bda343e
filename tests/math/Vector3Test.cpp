#include "core/math/Vector3.h"

#include "MathTestHelpers.h"

using namespace zorvpro::math;
using zorvpro::math::test::ExpectNear;

TEST(Vector3, NormalizeTreatsTinyVectorsAsZero)
{
    ExpectNear(Normalize({3, 0, 4}), {0.6, 0, 0.8});
    // Squared length 1e-16 is below the tolerance, 1e-14 is not.
    EXPECT_EQ(Normalize({0, 0, 1e-8}), Vec3(0, 0, 0));
    ExpectNear(Normalize({0, 0, 1e-7}), {0, 0, 1});
    EXPECT_EQ(Normalize({0, 0, 0}), Vec3(0, 0, 0));
}

TEST(Vector3, LengthOfTinyVectorsIsZero)
{
    EXPECT_EQ(Length(Vec3(3, 0, 4)), 5.0);
    // Squared length 1e-16 is below the tolerance, 1e-14 is not.
    EXPECT_EQ(Length(Vec3(0, 1e-8, 0)), 0.0);
    EXPECT_DOUBLE_EQ(Length(Vec3(0, 1e-7, 0)), 1e-7);
}

TEST(Vector3, IsZeroNeedsEveryComponentBelowTheTolerance)
{
    EXPECT_TRUE(Vec3(0, 0, 0).IsZero());
    EXPECT_TRUE(Vec3(5e-15, -5e-15, 0).IsZero());
    EXPECT_FALSE(Vec3(0, 0, 6e-15).IsZero());
    EXPECT_FALSE(Vec3(-1e-3, 0, 0).IsZero());
}
