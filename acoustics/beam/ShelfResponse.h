#pragma once

#include <cstddef>

namespace zorvpro::acoustics
{

// Magnitude of the array-EQ shelf (a second-order section with real poles and
// zeros) at each frequency, scaled so that the value at half the sample rate
// is 10^(-gain/20) when applyGain is set (1 otherwise). False, writing
// nothing, for missing arrays, no frequencies or a tilt outside [0, 10].
bool computeShelfResponse(const double* frequencies, double* out, size_t count, double gainDb,
                          double cornerHz, double tilt, bool applyGain, double sampleRate);

} // namespace zorvpro::acoustics
