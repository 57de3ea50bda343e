#pragma once

#include "acoustics/model/DoubleBuffer.h"

#include <cstdint>

namespace zorvpro::acoustics
{

// Fixed tables of the one-third-octave band set (code 3), built once and
// read-only afterwards. Any other code gets a shared empty table.

// Lower edges of the 28 contiguous band intervals and, last, the top edge (Hz).
const DoubleBuffer& bandIntervalEdges(int32_t code);
// T1: -2 pi x band width / 1000, radians per millisecond of delay.
const DoubleBuffer& bandWidthPhaseTable(int32_t code);
// T2: 2 pi x lower band edge / 1000, radians per millisecond of delay.
const DoubleBuffer& bandEdgePhaseTable(int32_t code);
// Parzen window of half-width 5.508932669994415 cycles sampled every 0.01
// cycle, 601 values.
const DoubleBuffer& coherenceWindowTable(int32_t code);
// 28 x 28 row-major minimum-phase delay weights, ms per dB.
const DoubleBuffer& cepstralBasisMatrix(int32_t code);

} // namespace zorvpro::acoustics
