#include "core/math/Compare.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace zorvpro::math;

TEST(AlmostEqual, AbsoluteFloorTreatsTinyValuesAsZero)
{
    EXPECT_DOUBLE_EQ(kZeroTolerance, 5.551115123125783e-15);
    EXPECT_TRUE(AlmostEqual(5.5e-15, 0.0));
    EXPECT_TRUE(AlmostEqual(-5.5e-15, 5.5e-15));
    EXPECT_FALSE(AlmostEqual(5.6e-15, 0.0));
    EXPECT_FALSE(AlmostEqual(kZeroTolerance, 0.0));
    EXPECT_TRUE(IsZero(-5.5e-15));
    EXPECT_FALSE(IsZero(kZeroTolerance));
}

TEST(AlmostEqual, RelativeBoundScalesWithMagnitude)
{
    EXPECT_TRUE(AlmostEqual(1.0, 1.0 + 20 * DBL_EPSILON));
    EXPECT_TRUE(AlmostEqual(1.0, 1.0 + 25 * DBL_EPSILON));
    EXPECT_FALSE(AlmostEqual(1.0, 1.0 + 30 * DBL_EPSILON));
    EXPECT_TRUE(AlmostEqual(1.0, 1.0 + 30 * DBL_EPSILON, 50));
    EXPECT_TRUE(AlmostEqual(1e10, 1e10 * (1 + 20 * DBL_EPSILON)));
    EXPECT_FALSE(AlmostEqual(1e10, 1e10 + 1e-3));
    EXPECT_FALSE(AlmostEqual(1.0, -1.0));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(AlmostEqual(nan, nan));
    EXPECT_FALSE(AlmostEqual(nan, 0.0));
    EXPECT_TRUE(AlmostEqual(inf, inf));
    EXPECT_FALSE(AlmostEqual(inf, -inf));
    EXPECT_FALSE(AlmostEqual(inf, 1.0));
    EXPECT_FALSE(AlmostEqual(-1e300, -inf));
}

TEST(IsEqual, ComparesEveryCoordinate)
{
    EXPECT_TRUE(IsEqual({1, 2, 3}, {1, 2, 3 + 10 * DBL_EPSILON}));
    EXPECT_TRUE(IsEqual({0, 1e-15, 0}, {0, -1e-15, 0}));
    EXPECT_FALSE(IsEqual({1, 2, 3}, {1.001, 2, 3}));
    EXPECT_FALSE(IsEqual({1, 2, 3}, {1, 2.001, 3}));
    EXPECT_FALSE(IsEqual({1, 2, 3}, {1, 2, 3.001}));
}

TEST(InterpolateClamped, ClampsOutsideAndInterpolatesInside)
{
    EXPECT_EQ(InterpolateClamped(1, 10, 3, 20, 0), 10.0);
    EXPECT_EQ(InterpolateClamped(1, 10, 3, 20, 5), 20.0);
    EXPECT_DOUBLE_EQ(InterpolateClamped(1, 10, 3, 20, 1), 10.0);
    EXPECT_DOUBLE_EQ(InterpolateClamped(1, 10, 3, 20, 3), 20.0);
    EXPECT_DOUBLE_EQ(InterpolateClamped(1, 10, 3, 20, 2.5), 17.5);
    EXPECT_DOUBLE_EQ(InterpolateClamped(-2, 4, 2, -4, 1), -2.0);
}

TEST(InterpolateClamped, CoincidingEndsGiveTheMean)
{
    EXPECT_DOUBLE_EQ(InterpolateClamped(2, 10, 2, 20, 2), 15.0);
    // Nearly equal ends: the mean, not a huge quotient.
    const double x1 = 2 + 4 * DBL_EPSILON;
    EXPECT_DOUBLE_EQ(InterpolateClamped(2, 10, x1, 20, 2 + 2 * DBL_EPSILON), 15.0);
    EXPECT_EQ(InterpolateClamped(2, 10, 2, 20, 1), 10.0);
    EXPECT_EQ(InterpolateClamped(2, 10, 2, 20, 3), 20.0);
}
