#pragma once

#include "core/math/Matrix4.h"
#include "core/math/Vector3.h"

#include <gtest/gtest.h>

namespace zorvpro::math::test
{

inline void ExpectNear(const Vec3& actual, const Vec3& expected, double tolerance = 1e-12)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectNear(const Mat4& actual, const Mat4& expected, double tolerance = 1e-12)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

} // namespace zorvpro::math::test
