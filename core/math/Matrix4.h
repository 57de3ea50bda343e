#pragma once

#include "core/math/Vector3.h"

#include <array>
#include <cstddef>

namespace zorvpro::math
{

// 4x4 matrix of doubles, row-major: element (r, c) at index 4r + c. Points are
// column vectors (x, y, z, 1), so the translation sits in elements 3, 7, 11.
// Default-constructed as the identity.
struct Mat4
{
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    Mat4() = default;
    explicit Mat4(const std::array<double, 16>& values) : m(values) {}

    static Mat4 Identity() { return Mat4(); }
    static Mat4 Translation(const Vec3& t);
    // Rotation about Z by an angle in radians: rows (cos, -sin, 0, 0),
    // (sin, cos, 0, 0), (0, 0, 1, 0), (0, 0, 0, 1).
    static Mat4 RotationZ(double angle);

    // Replace this matrix M by Translation(t) * M (the move applies last).
    Mat4& Translate(const Vec3& t);
    // Replace this matrix M by RotationZ(angle) * M.
    Mat4& RotateZ(double angle);

    double& operator[](std::size_t i) { return m[i]; }
    double operator[](std::size_t i) const { return m[i]; }
    double& operator()(std::size_t row, std::size_t col) { return m[4 * row + col]; }
    double operator()(std::size_t row, std::size_t col) const { return m[4 * row + col]; }

    // Exact element-wise comparison.
    bool operator==(const Mat4& o) const { return m == o.m; }
    bool operator!=(const Mat4& o) const { return m != o.m; }
};

// result = a * b. The result may be one of the operands.
void Multiply(Mat4& result, const Mat4& a, const Mat4& b);
Mat4 operator*(const Mat4& a, const Mat4& b);

// Replaces the matrix by its inverse (Gauss-Jordan with partial pivoting).
// Throws std::domain_error "Inverting a singular matrix" when a pivot product
// becomes exactly zero; the matrix is then left partly transformed.
Mat4& Invert(Mat4& matrix);

// The inverse of a copy; throws like Invert.
Mat4 Inverse(Mat4 matrix);

// Applies the matrix to (x, y, z, 1) and divides by the resulting w.
Vec3 TransformPoint(const Mat4& matrix, const Vec3& point);

} // namespace zorvpro::math
