// SPL values travel to the fragment shader as 32-bit fixed-point fractions spread over the bytes
// of a texel; the shader turns them back into a position along the 1024-texel colour map.
#pragma once

#include <QColor>
#include <QImage>
#include <functional>

namespace zorvpro::view
{
constexpr int kColorMapWidth = 1024;

// Position along the colour map (texel centres 1 to 1022) for a value in [min, max], clamped.
double SplMapPosition(double value, double min, double max);

// The texel of a value: red holds the most significant byte, alpha the least.
QColor PackSplTexel(double value, double min, double max);

// What the fragment shader computes from the texel's four channels (each read as byte / 255).
double UnpackSplTexel(QRgb rgba);

// The 1024 x 1 ramp: pixel x (1 to 1022) is the colour of min + x / 1022 of the range; the end
// pixels repeat their neighbours. Empty when the range is empty or there is no colour function.
QImage BuildColorMapImage(double min, double max, const std::function<QColor(double)>& color);
} // namespace zorvpro::view
