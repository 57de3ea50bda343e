#pragma once

#include <cfloat>
#include <cmath>
#include <cstddef>

namespace zorvpro::math
{

// Plain 3-vector; no virtual operations so arrays of it stay tightly packed.
template <typename T> struct Vector3T
{
    T x{};
    T y{};
    T z{};

    constexpr Vector3T() = default;
    constexpr Vector3T(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}

    constexpr T& operator[](std::size_t i) { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr const T& operator[](std::size_t i) const { return i == 0 ? x : (i == 1 ? y : z); }

    constexpr Vector3T operator+(const Vector3T& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vector3T operator-(const Vector3T& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vector3T operator-() const { return {-x, -y, -z}; }
    constexpr Vector3T operator*(T s) const { return {x * s, y * s, z * s}; }
    constexpr Vector3T operator/(T s) const { return {x / s, y / s, z / s}; }

    constexpr Vector3T& operator+=(const Vector3T& o)
    {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    constexpr Vector3T& operator-=(const Vector3T& o)
    {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    constexpr Vector3T& operator*=(T s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }

    // Exact comparison; use IsEqual (Compare.h) for the tolerant one.
    constexpr bool operator==(const Vector3T& o) const { return x == o.x && y == o.y && z == o.z; }
    constexpr bool operator!=(const Vector3T& o) const { return !(*this == o); }

    constexpr T Dot(const Vector3T& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr Vector3T Cross(const Vector3T& o) const
    {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    constexpr T LengthSquared() const { return Dot(*this); }
    // Every component below 25 * DBL_EPSILON in magnitude.
    constexpr bool IsZero() const
    {
        constexpr T bound = static_cast<T>(25 * DBL_EPSILON);
        return x > -bound && x < bound && y > -bound && y < bound && z > -bound && z < bound;
    }
    T Length() const { return std::sqrt(LengthSquared()); }
};

template <typename T> constexpr Vector3T<T> operator*(T s, const Vector3T<T>& v)
{
    return v * s;
}
template <typename T> constexpr T Dot(const Vector3T<T>& a, const Vector3T<T>& b)
{
    return a.Dot(b);
}
template <typename T> constexpr Vector3T<T> Cross(const Vector3T<T>& a, const Vector3T<T>& b)
{
    return a.Cross(b);
}
// The length, 0 when the squared length is below 25 * DBL_EPSILON (the
// shared zero tolerance), so that tiny vectors count as no distance.
template <typename T> T Length(const Vector3T<T>& v)
{
    const T squared = v.LengthSquared();
    return squared < static_cast<T>(25 * DBL_EPSILON) ? T() : std::sqrt(squared);
}

using Vec3 = Vector3T<double>;

// The vector scaled to unit length; the zero vector when its squared length
// is zero within the shared tolerance (so tiny vectors never blow up).
Vec3 Normalize(const Vec3& v);

} // namespace zorvpro::math
