#pragma once

#include <cstdint>

namespace zorvpro::acoustics
{

// Speed of sound in m/s for a temperature in degrees Celsius and a relative
// humidity in percent.
double computeSpeedOfSound(double temperature, double humidity);
// Saturation vapour pressure of water in Pa, interpolated (and extrapolated)
// linearly from a table of 5 .. 40 degrees Celsius.
double saturationVapourPressure(double temperature);
// Pure-tone air absorption (ISO 9613-1 at reference pressure) in dB per metre,
// negative: a gain per metre. False when an array is missing or count is 0.
bool airAbsorptionCoefficient(const double* frequencies, double* values, uint64_t count, double temperature,
                              double humidity);

} // namespace zorvpro::acoustics
