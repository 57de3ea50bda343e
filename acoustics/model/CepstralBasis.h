#pragma once

#include "acoustics/model/DoubleBuffer.h"
#include "acoustics/model/FrequencyMask.h"

#include <cstdint>

namespace zorvpro::acoustics
{

// Spectral operations on per-band responses of one band set (code 3).
class CepstralBasis
{
public:
    enum Operation : int
    {
        Combine = 0,  // multiply magnitudes (add in dB), add delays
        Separate = 1, // divide magnitudes (subtract in dB), subtract delays
    };

    // Minimum-phase delay in seconds per band from the mask's magnitudes.
    // Empty when the mask's arrays are missing or unequal. Takes the mask.
    static DoubleBuffer minimumPhaseDelay(FrequencyMask mask);
    // Excess phase in radians per band of per-band delays in seconds: the
    // phase left after removing the pure delay, zero for equal delays.
    static DoubleBuffer excessPhase(const DoubleBuffer& delays, int32_t code);
    // W(x_k) cos(2 pi x_k - dphi_k); zeros when the lengths disagree.
    static DoubleBuffer crossTerm(const DoubleBuffer& x, const DoubleBuffer& phaseDifferences, int32_t code);
    // The coherence window at x cycles, read from its table (nearest sample).
    static double coherenceWindow(double x, int32_t code);
    // Combines operand into target in place. Throws std::invalid_argument when
    // phases held as radians would have to be combined.
    static FrequencyMask& math(FrequencyMask& target, int operation, const FrequencyMask& operand);
};

} // namespace zorvpro::acoustics
