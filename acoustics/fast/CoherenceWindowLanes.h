#pragma once

#include "acoustics/fast/VectorCosine.h"

#include <cstddef>

namespace zorvpro::acoustics::fast
{

// Half-width in cycles of the Parzen window that the coherence-window table
// samples every 0.01 cycle.
constexpr double CoherenceHalfWidthCycles = 5.508932669994415;

// The coherence window at whole table indices (index k is k / 100 cycles),
// computed instead of looked up: the same Parzen window at the table's own
// sample points, so equal to its entries up to rounding, and exactly zero
// where they are (from index 551 on).
inline __attribute__((always_inline)) void coherenceWindowLanes(const Lanes& index, Lanes& w)
{
    // P = 2 (1 - s)^3 - 8 (1/2 - s)^3, each cube taken only where its base
    // is positive: 1 - 6 s^2 + 6 s^3 up to s = 1/2, 2 (1 - s)^3 up to 1,
    // then 0 (NaN lanes too, as a comparison with NaN is false).
    const Lanes s = index * (0.01 / CoherenceHalfWidthCycles);
    Lanes t = 1.0 - s;
    t = t > 0.0 ? t : 0.0;
    Lanes u = 0.5 - s;
    u = u > 0.0 ? u : 0.0;
    w = 2.0 * (t * t * t) - 8.0 * (u * u * u);
}

// The array form of coherenceWindowLanes, four at a time.
void coherenceWindowAt(const double* indices, double* out, std::size_t count);

} // namespace zorvpro::acoustics::fast
