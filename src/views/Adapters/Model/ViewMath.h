#pragma once

#include "core/math/BBox.h"
#include "core/math/Vector3.h"

namespace zorvpro
{
// Near-equality of the editing code: equal when both are below 25 machine epsilons in
// magnitude, or when they differ by at most 25 epsilons of the larger one.
bool NearlyEqual(double a, double b);
bool NearlyZero(const math::Vec3& v);
// Corners equal per axis by NearlyEqual.
bool IsPointBox(const math::BBox& box);

// Zoom level 1..100 to pixels per metre, logarithmic from 0.2 to 500; a level outside the range
// (or not a number) gives 50.
double ZoomLevelToScale(double level);
// The inverse, clamped to 1..100.
double ScaleToZoomLevel(double scale);

// One process-wide box of the venue in metres.
constexpr double kVenueLimit = 1000.0;
} // namespace zorvpro
