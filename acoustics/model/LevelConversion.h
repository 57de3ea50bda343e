#pragma once

#include <cstdint>

namespace zorvpro::acoustics
{

// Level-unit codes.
enum MagnitudeKind : int32_t
{
    LevelAmplitude = 0,
    LevelPower = 1,
    LevelDecibels = 2,
};

// Phase-unit codes.
enum PhaseKind : int32_t
{
    PhaseDelay = 0,
    PhaseRadians = 1,
};

// Time and other scales that differ by factors of 1000.
enum UnitScale : int32_t
{
    ScaleSeconds = 0,
    ScaleMilliseconds = 1,
    ScaleMicroseconds = 2,
};

// Converts count values in place between the level kinds. A value of 0 or
// below counts as the reference before a logarithm, so it reads as 0 dB; a
// reference of 0 counts as 1 there. False when values are missing, count is 0
// or the pair of kinds is unknown; true without change for equal kinds.
bool convertLevel(int32_t from, double* values, int32_t to, uint64_t count, double reference);
// The same for one value; the value comes back unchanged when the conversion
// does not apply.
double convertLevel(int32_t from, double value, int32_t to, double reference);

double convertUnitScale(int32_t from, double value, int32_t to);

// In place over n values with the band frequencies; unit 1 means delays in
// milliseconds, anything else seconds. False (nothing changed) when an array
// is missing or n is 0.
bool delayToPhase(double* values, const double* frequencies, uint64_t n, int32_t unit);
// A phase of 0 or a frequency of 0 gives a delay of 0.
bool phaseToDelay(double* values, const double* frequencies, uint64_t n, int32_t unit);

} // namespace zorvpro::acoustics
