#include "acoustics/model/ArrivalsSum.h"

#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/FrequencyBands.h"

namespace zorvpro::acoustics
{

namespace
{

DoubleBuffer amplitudes(const FrequencyMask& response)
{
    if (response.getMagnitudeKind() == LevelAmplitude)
        return response.magnitudes();
    return response.convertedCopy(LevelAmplitude).magnitudes();
}

} // namespace

void ArrivalsSumCrossPower::sum(FrequencyMask& out, const std::vector<Arrival>& arrivals)
{
    out = FrequencyMask(LevelPower, PhaseDelay);
    if (arrivals.empty() || !arrivals.front().getResponse().isUsable())
        return;
    const uint64_t bands = arrivals.front().getResponse().magnitudes().count();
    if (bands != out.magnitudes().count())
        return;

    for (size_t i = 0; i < arrivals.size(); ++i)
    {
        const Arrival& a = arrivals[i];
        out.magnitudes().add(a.getResponse().convertedCopy(LevelPower).magnitudes());

        for (size_t j = i + 1; j < arrivals.size(); ++j)
        {
            const Arrival& b = arrivals[j];
            if (b.getResponse().magnitudes().count() != bands ||
                !b.getResponse().getBandSelection().overlaps(a.getResponse().getBandSelection()))
                continue;

            DoubleBuffer phaseDifference = a.getExcessPhase();
            phaseDifference.subtract(b.getExcessPhase());

            // Delay difference in cycles of each band's frequency.
            DoubleBuffer cycles = a.getTotalDelay();
            cycles.subtract(b.getTotalDelay());
            cycles.multiply(a.getResponse().bandFrequencies());

            DoubleBuffer cross = CepstralBasis::crossTerm(cycles, phaseDifference, ThirdOctaveBands);
            cross.multiply(amplitudes(a.getResponse()));
            cross.multiply(amplitudes(b.getResponse()));
            for (double& v : cross)
                v *= 2.0;
            out.magnitudes().add(cross);
        }
    }
}

} // namespace zorvpro::acoustics
