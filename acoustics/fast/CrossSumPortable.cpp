#include "acoustics/fast/CoherenceWindowLanes.h"
#include "acoustics/fast/CrossSumKernels.h"

#include <cstring>

#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace zorvpro::acoustics::fast
{

// Built for the baseline instruction set, with generic vectors of four.
__attribute__((ZORV_UNFUSED)) void crossSumPortable(const CrossSumInput& in, CrossSumResult& out)
{
    constexpr double Shifter = 6755399441055744.0; // 1.5 * 2^52
    const Lanes frequency = {in.frequency, in.frequency, in.frequency, in.frequency};
    Lanes sum = {0.0, 0.0, 0.0, 0.0};
    LaneMask hits = {0, 0, 0, 0};
    for (uint64_t d = 1; d <= in.longest; ++d)
    {
        for (uint64_t i = 0; i + d < in.n; i += 4)
        {
            const uint64_t j = i + d;
            Lanes delayI, delayJ, inPhaseI, inPhaseJ, quadratureI, quadratureJ;
            std::memcpy(&delayI, in.delay + i, sizeof(delayI));
            std::memcpy(&delayJ, in.delay + j, sizeof(delayJ));
            std::memcpy(&inPhaseI, in.inPhase + i, sizeof(inPhaseI));
            std::memcpy(&inPhaseJ, in.inPhase + j, sizeof(inPhaseJ));
            std::memcpy(&quadratureI, in.quadrature + i, sizeof(quadratureI));
            std::memcpy(&quadratureJ, in.quadrature + j, sizeof(quadratureJ));

            // Nearest integer to 100 |x|: adding 1.5 * 2^52 rounds ties to
            // even, so a tie rounded down is taken up.
            const Lanes x = (delayI - delayJ) * frequency;
            const Lanes v = 100.0 * (x < 0.0 ? -x : x);
            const Lanes rounded = (v + Shifter) - Shifter;
            const Lanes index = v - rounded == 0.5 ? rounded + 1.0 : rounded;
            Lanes halfWindow;
            halfCoherenceWindowLanes(index, halfWindow);

            Lanes term = halfWindow * (inPhaseI * inPhaseJ + quadratureI * quadratureJ);
            if (in.masked)
            {
                LaneMask selectionI, selectionJ;
                std::memcpy(&selectionI, in.selection + i, sizeof(selectionI));
                std::memcpy(&selectionJ, in.selection + j, sizeof(selectionJ));
                const LaneMask valid = ((selectionI & selectionJ) != 0) & (halfWindow != 0.0);
                term = valid ? term : 0.0;
                hits -= valid; // true lanes are -1
            }
            sum += term;
        }
    }
    out.halfSum = sum[0] + sum[1] + sum[2] + sum[3];
    out.hits = static_cast<uint64_t>(hits[0] + hits[1] + hits[2] + hits[3]);
}

} // namespace zorvpro::acoustics::fast
