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
    const Lanes s = index * (0.01 / CoherenceHalfWidthCycles);
    const Lanes s2 = s * s;
    const Lanes inner = 1.0 - 6.0 * s2 + 6.0 * s2 * s;
    const Lanes t = 1.0 - s;
    const Lanes outer = 2.0 * t * t * t;
    w = s <= 0.5 ? inner : outer;
    w = s <= 1.0 ? w : 0.0;
}

// The array form of coherenceWindowLanes, four at a time.
void coherenceWindowAt(const double* indices, double* out, std::size_t count);

} // namespace zorvpro::acoustics::fast
