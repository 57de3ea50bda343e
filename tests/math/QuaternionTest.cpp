#include "core/math/Quaternion.h"

#include "MathTestHelpers.h"

#include <cmath>

using namespace zorvpro::math;
using zorvpro::math::test::ExpectNear;

namespace
{

Mat4 RotX(double a)
{
    return Mat4({1, 0, 0, 0, 0, std::cos(a), -std::sin(a), 0, 0, std::sin(a), std::cos(a), 0, 0, 0, 0, 1});
}
Mat4 RotY(double a)
{
    return Mat4({std::cos(a), 0, std::sin(a), 0, 0, 1, 0, 0, -std::sin(a), 0, std::cos(a), 0, 0, 0, 0, 1});
}
Mat4 RotZ(double a)
{
    return Mat4({std::cos(a), -std::sin(a), 0, 0, std::sin(a), std::cos(a), 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

} // namespace

TEST(Quaternion, FromEulerGivesUnitQuaternions)
{
    const Quaternion zero = QuaternionFromEuler(0, 0, 0);
    EXPECT_EQ(zero.w, 1.0);
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_EQ(zero.z, 0.0);

    const Quaternion q = QuaternionFromEuler(0.3, -1.1, 2.5);
    EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0, 1e-15);

    const Quaternion yaw = QuaternionFromEuler(0, 0, M_PI / 2);
    EXPECT_NEAR(yaw.w, std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(yaw.z, std::sqrt(0.5), 1e-15);
}

TEST(Quaternion, SingleAxisAnglesRotateAboutTheirAxes)
{
    const double a = 0.7;
    ExpectNear(QuaternionToMatrix(QuaternionFromEuler(a, 0, 0)), RotX(a));
    ExpectNear(QuaternionToMatrix(QuaternionFromEuler(0, a, 0)), RotY(a));
    ExpectNear(QuaternionToMatrix(QuaternionFromEuler(0, 0, a)), RotZ(a));

    // Yaw of 90 degrees turns x into y.
    ExpectNear(TransformPoint(QuaternionToMatrix(QuaternionFromEuler(0, 0, M_PI / 2)), {1, 0, 0}), {0, 1, 0});
}

TEST(Quaternion, EulerRoundTripMatchesYawPitchRollProduct)
{
    for (const auto& angles : {Vec3(0.3, -1.1, 2.5), Vec3(-3.0, 1.5, -0.2), Vec3(M_PI, 0.1, -M_PI)})
    {
        const Mat4 r = QuaternionToMatrix(QuaternionFromEuler(angles.x, angles.y, angles.z));
        ExpectNear(r, RotZ(angles.z) * RotY(angles.y) * RotX(angles.x));

        // A pure rotation: no translation, last row (0, 0, 0, 1), orthonormal.
        EXPECT_EQ(r[3], 0.0);
        EXPECT_EQ(r[7], 0.0);
        EXPECT_EQ(r[11], 0.0);
        EXPECT_EQ(r[12], 0.0);
        EXPECT_EQ(r[13], 0.0);
        EXPECT_EQ(r[14], 0.0);
        EXPECT_EQ(r[15], 1.0);
        Mat4 transposed;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                transposed(i, j) = r(j, i);
        ExpectNear(r * transposed, Mat4());
    }
}

TEST(Quaternion, ToMatrixNormalisesFirst)
{
    const Quaternion unit = QuaternionFromEuler(0.4, 0.2, -0.9);
    const Quaternion scaled{unit.w * 3, unit.x * 3, unit.y * 3, unit.z * 3};
    ExpectNear(QuaternionToMatrix(scaled), QuaternionToMatrix(unit));

    EXPECT_EQ(QuaternionToMatrix({2, 0, 0, 0}), Mat4());
    // No rotation at all rather than a matrix of NaNs.
    EXPECT_EQ(QuaternionToMatrix({0, 0, 0, 0}), Mat4());
}
