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
// Half the window: 1/2 - 3 s^2 + 3 s^3 up to s = 1/2, (1 - s)^3 up to s = 1,
// then 0 (NaN lanes too, as a comparison with NaN is false). Half, because
// callers fold the factor 2 into their own.
template <class V>
inline __attribute__((always_inline)) void halfCoherenceWindowLanes(const V& index, V& half)
{
    const V s = index * (0.01 / CoherenceHalfWidthCycles);
    const V t = 1.0 - s;
    const V s2 = s * s;
    const V inner = s2 * (3.0 * s - 3.0) + 0.5;
    const V outer = t * t * t;
    half = s < 0.5 ? inner : outer;
    half = t > 0.0 ? half : 0.0;
}

inline __attribute__((always_inline)) void coherenceWindowLanes(const Lanes& index, Lanes& w)
{
    halfCoherenceWindowLanes(index, w);
    w = 2.0 * w;
}

// The array form of coherenceWindowLanes, four at a time.
void coherenceWindowAt(const double* indices, double* out, std::size_t count);

} // namespace zorvpro::acoustics::fast
