#include "core/math/Matrix4.h"

#include "MathTestHelpers.h"

#include <cmath>
#include <stdexcept>
#include <string>

using namespace zorvpro::math;
using zorvpro::math::test::ExpectNear;

namespace
{

// The exception text callers and logs rely on.
std::string InversionError(Mat4 m)
{
    try
    {
        Invert(m);
    }
    catch (const std::domain_error& e)
    {
        return e.what();
    }
    return "no exception";
}

Mat4 Diagonal(double a, double b, double c, double d)
{
    return Mat4({a, 0, 0, 0, 0, b, 0, 0, 0, 0, c, 0, 0, 0, 0, d});
}

} // namespace

TEST(Matrix4, DefaultIsIdentityAndTranslationSitsInLastColumn)
{
    const Mat4 identity;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(identity(r, c), r == c ? 1.0 : 0.0);

    const Mat4 t = Mat4::Translation({1, 2, 3});
    EXPECT_EQ(t[3], 1.0);
    EXPECT_EQ(t[7], 2.0);
    EXPECT_EQ(t[11], 3.0);
    ExpectNear(TransformPoint(t, {10, 20, 30}), {11, 22, 33});
}

TEST(Matrix4, RotationAboutZAndTheInPlaceMovesApplyAfterTheMatrix)
{
    const double quarter = std::acos(0.0);
    const Mat4 r = Mat4::RotationZ(quarter);
    ExpectNear(TransformPoint(r, {1, 0, 5}), {0, 1, 5});
    EXPECT_DOUBLE_EQ(Mat4::RotationZ(0.3)(0, 1), -std::sin(0.3));
    EXPECT_EQ(Mat4::RotationZ(0.3)(3, 3), 1.0);

    // Translate: T * M, so the rotation acts first.
    Mat4 turnedThenMoved = r;
    EXPECT_EQ(&turnedThenMoved.Translate({1, 2, 3}), &turnedThenMoved);
    ExpectNear(TransformPoint(turnedThenMoved, {1, 0, 0}), {1, 3, 3});

    // RotateZ: R * M, so the move acts first.
    Mat4 movedThenTurned = Mat4::Translation({1, 0, 0});
    movedThenTurned.RotateZ(quarter);
    ExpectNear(TransformPoint(movedThenTurned, {0, 0, 0}), {0, 1, 0});
}

TEST(Matrix4, MultiplyIsRowTimesColumnAndMayAliasItsOperands)
{
    const Mat4 a({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    const Mat4 b({2, 0, 0, 1, 0, 3, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1});
    const Mat4 expected({5, 6, 3, 5, 17, 18, 7, 13, 29, 30, 11, 21, 41, 42, 15, 29});
    Mat4 result;
    Multiply(result, a, b);
    EXPECT_EQ(result, expected);
    EXPECT_EQ(a * b, expected);

    Mat4 aliased = a;
    Multiply(aliased, aliased, b);
    EXPECT_EQ(aliased, expected);
    aliased = b;
    Multiply(aliased, a, aliased);
    EXPECT_EQ(aliased, expected);
}

TEST(Matrix4, TransformPointDividesByW)
{
    Mat4 m = Mat4::Translation({2, 4, 6});
    m[15] = 2.0;
    ExpectNear(TransformPoint(m, {0, 0, 0}), {1, 2, 3});
    m[12] = 1.0; // w = x + 2
    ExpectNear(TransformPoint(m, {2, 0, 0}), {1, 1, 1.5});
}

TEST(Matrix4, InvertsIdentityAndTranslation)
{
    Mat4 identity;
    EXPECT_EQ(&Invert(identity), &identity);
    EXPECT_EQ(identity, Mat4());

    const Mat4 translation = Mat4::Translation({1, 2, 3});
    const Mat4 inverse = Inverse(translation);
    ExpectNear(inverse, Mat4::Translation({-1, -2, -3}));
    // Inverse works on a copy.
    EXPECT_EQ(translation, Mat4::Translation({1, 2, 3}));
}

TEST(Matrix4, InverseTimesMatrixIsIdentity)
{
    const Mat4 m({2, 1, 0, 3, -1, 4, 2, -2, 0.5, 0, 3, 1, 0, 0, 0, 1});
    ExpectNear(m * Inverse(m), Mat4());
    ExpectNear(Inverse(m) * m, Mat4());

    // A zero first column above a one in the last row needs row exchanges.
    const Mat4 permuted({0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0});
    const Mat4 inverse = Inverse(permuted);
    ExpectNear(inverse, Mat4({0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}));
    ExpectNear(permuted * inverse, Mat4());
}

TEST(Matrix4, SingularMatricesThrowWithTheFixedText)
{
    const Mat4 zeroRow({1, 2, 3, 4, 0, 0, 0, 0, 5, 6, 7, 8, 0, 0, 0, 1});
    EXPECT_EQ(InversionError(zeroRow), "Inverting a singular matrix");
    EXPECT_THROW(Inverse(zeroRow), std::domain_error);

    const Mat4 dependentRows({1, 2, 3, 0, 2, 4, 6, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    EXPECT_EQ(InversionError(dependentRows), "Inverting a singular matrix");

    EXPECT_EQ(InversionError(Diagonal(0, 0, 0, 0)), "Inverting a singular matrix");
}

TEST(Matrix4, OnlyAnExactlyZeroPivotProductIsSingular)
{
    // Two pivots of 1e-200 multiply to an underflowed zero.
    EXPECT_EQ(InversionError(Diagonal(1e-200, 1e-200, 1, 1)), "Inverting a singular matrix");

    // Nearly singular matrices are still inverted: no tolerance applies.
    const Mat4 tiny = Inverse(Diagonal(1e-150, 1e-150, 1, 1));
    EXPECT_DOUBLE_EQ(tiny[0], 1e150);
    EXPECT_DOUBLE_EQ(tiny[5], 1e150);
    EXPECT_DOUBLE_EQ(tiny[10], 1.0);
    EXPECT_DOUBLE_EQ(Inverse(Diagonal(1e-20, 1, 1, 1))[0], 1e20);
}
