#pragma once

#include "core/math/Vector3.h"

#include <cfloat>

namespace zorvpro::math
{

// Multiple of the double epsilon used for every "is it zero / did it change" decision.
constexpr int kToleranceUlps = 25;

// Absolute zero bound: 25 * DBL_EPSILON = 5.551115123125783e-15. Applies to
// plain values, squared lengths and determinants alike.
constexpr double kZeroTolerance = kToleranceUlps * DBL_EPSILON;

// True when |v| is below the zero bound.
inline bool IsZero(double v)
{
    return v > -kZeroTolerance && v < kZeroTolerance;
}

// Tolerant equality: both values below n * epsilon in magnitude, or their
// difference within n * epsilon relative to the larger magnitude. An
// infinity equals only itself; NaN equals nothing.
bool AlmostEqual(double a, double b, int n = kToleranceUlps);

// AlmostEqual (n = 25) per coordinate.
bool IsEqual(const Vec3& a, const Vec3& b);

// Linear interpolation between (x0, y0) and (x1, y1), held at y0 left of x0
// and at y1 right of x1. Coinciding x0 and x1 give the mean of y0 and y1
// instead of a division by (almost) zero.
double InterpolateClamped(double x0, double y0, double x1, double y1, double x);

} // namespace zorvpro::math
