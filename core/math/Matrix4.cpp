#include "core/math/Matrix4.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace zorvpro::math
{

Mat4 Mat4::Translation(const Vec3& t)
{
    Mat4 result;
    result.m[3] = t.x;
    result.m[7] = t.y;
    result.m[11] = t.z;
    return result;
}

Mat4 Mat4::RotationZ(double angle)
{
    Mat4 result;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    result.m[0] = c;
    result.m[1] = -s;
    result.m[4] = s;
    result.m[5] = c;
    return result;
}

Mat4& Mat4::Translate(const Vec3& t)
{
    Multiply(*this, Translation(t), *this);
    return *this;
}

Mat4& Mat4::RotateZ(double angle)
{
    Multiply(*this, RotationZ(angle), *this);
    return *this;
}

void Multiply(Mat4& result, const Mat4& a, const Mat4& b)
{
    // Built in a temporary so that result may alias an operand.
    Mat4 product;
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[4 * r + k] * b.m[4 * k + c];
            product.m[4 * r + c] = sum;
        }
    }
    result = product;
}

Mat4 operator*(const Mat4& a, const Mat4& b)
{
    Mat4 result;
    Multiply(result, a, b);
    return result;
}

Mat4& Invert(Mat4& matrix)
{
    auto& a = matrix.m;
    Mat4 inverse;
    auto& b = inverse.m;

    double pivotProduct = 1.0;
    for (int k = 0; k < 4; ++k)
    {
        // Partial pivoting: a later row must be strictly larger to win.
        int pivotRow = k;
        double largest = std::fabs(a[4 * k + k]);
        for (int r = k + 1; r < 4; ++r)
        {
            const double magnitude = std::fabs(a[4 * r + k]);
            if (magnitude > largest)
            {
                largest = magnitude;
                pivotRow = r;
            }
        }
        if (pivotRow != k)
        {
            for (int c = 0; c < 4; ++c)
            {
                std::swap(a[4 * pivotRow + c], a[4 * k + c]);
                std::swap(b[4 * pivotRow + c], b[4 * k + c]);
            }
        }

        const double pivot = a[4 * k + k];
        // Only an exactly zero product counts as singular; it also catches
        // pivots so tiny that their product underflows.
        pivotProduct *= pivot;
        if (pivotProduct == 0.0)
            throw std::domain_error("Inverting a singular matrix");

        for (int c = 0; c < 4; ++c)
        {
            a[4 * k + c] /= pivot;
            b[4 * k + c] /= pivot;
        }
        for (int j = 0; j < 4; ++j)
        {
            if (j == k)
                continue;
            const double factor = a[4 * j + k];
            for (int c = 0; c < 4; ++c)
            {
                a[4 * j + c] -= a[4 * k + c] * factor;
                b[4 * j + c] -= b[4 * k + c] * factor;
            }
        }
    }
    matrix = inverse;
    return matrix;
}

Mat4 Inverse(Mat4 matrix)
{
    Invert(matrix);
    return matrix;
}

Vec3 TransformPoint(const Mat4& matrix, const Vec3& p)
{
    const auto& m = matrix.m;
    const double w = m[12] * p.x + m[13] * p.y + m[14] * p.z + m[15];
    return {(m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3]) / w,
            (m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7]) / w,
            (m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]) / w};
}

} // namespace zorvpro::math
