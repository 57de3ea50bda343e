#include "acoustics/model/FrequencyMask.h"

#include "acoustics/model/FrequencyBands.h"

namespace zorvpro::acoustics
{

FrequencyMask::FrequencyMask() : frequencies(&frequencyTable(ThirdOctaveBands)) {}

FrequencyMask::FrequencyMask(DoubleBuffer&& magnitudes_, DoubleBuffer&& phases_, MagnitudeKind magnitudeKind_,
                             PhaseKind phaseKind_, BandSelection selection)
    : bandSelection(selection), magnitudeKind(magnitudeKind_), phaseKind(phaseKind_),
      magnitudeValues(std::move(magnitudes_)), phaseValues(std::move(phases_)),
      frequencies(&frequencyTable(ThirdOctaveBands))
{
    const uint64_t bands = frequencies->count();
    if (magnitudeValues.count() != bands || phaseValues.count() != bands)
        release();
}

FrequencyMask::FrequencyMask(MagnitudeKind magnitudeKind_, double fill)
    : FrequencyMask(magnitudeKind_, PhaseDelay, fill, 0.0)
{
}

FrequencyMask::FrequencyMask(MagnitudeKind magnitudeKind_, PhaseKind phaseKind_)
    : FrequencyMask(magnitudeKind_, phaseKind_, 0.0, 0.0)
{
}

FrequencyMask::FrequencyMask(MagnitudeKind magnitudeKind_, PhaseKind phaseKind_, double magnitudeFill,
                             double phaseFill)
    : magnitudeKind(magnitudeKind_), phaseKind(phaseKind_), frequencies(&frequencyTable(ThirdOctaveBands))
{
    magnitudeValues.allocate(frequencies->count(), magnitudeFill);
    phaseValues.allocate(frequencies->count(), phaseFill);
}

void FrequencyMask::release()
{
    magnitudeValues.release();
    phaseValues.release();
}

bool FrequencyMask::isUsable() const
{
    return !magnitudeValues.empty() && !phaseValues.empty() && magnitudeValues.count() == phaseValues.count();
}

void FrequencyMask::setRepresentation(MagnitudeKind wantedMagnitude, PhaseKind wantedPhase)
{
    if (!isUsable())
        return;
    const uint64_t n = magnitudeValues.count();
    if (wantedMagnitude != magnitudeKind &&
        convertLevel(magnitudeKind, magnitudeValues.data(), wantedMagnitude, n, 1.0))
        magnitudeKind = wantedMagnitude;

    if (wantedPhase == phaseKind || frequencies->count() != n)
        return;
    bool converted = false;
    if (phaseKind == PhaseDelay && wantedPhase == PhaseRadians)
        converted = delayToPhase(phaseValues.data(), frequencies->data(), n, ScaleSeconds);
    else if (phaseKind == PhaseRadians && wantedPhase == PhaseDelay)
        converted = phaseToDelay(phaseValues.data(), frequencies->data(), n, ScaleSeconds);
    if (converted)
        phaseKind = wantedPhase;
}

FrequencyMask FrequencyMask::convertedCopy(MagnitudeKind wantedMagnitude) const
{
    return convertedCopy(wantedMagnitude, phaseKind);
}

FrequencyMask FrequencyMask::convertedCopy(MagnitudeKind wantedMagnitude, PhaseKind wantedPhase) const
{
    FrequencyMask copy(*this);
    copy.setRepresentation(wantedMagnitude, wantedPhase);
    return copy;
}

FrequencyMask FrequencyMask::convertedCopyPhase(PhaseKind wantedPhase) const
{
    return convertedCopy(magnitudeKind, wantedPhase);
}

double FrequencyMask::sumSelectedBands(MagnitudeKind wantedMagnitude, BandSelection selection) const
{
    if (!isUsable() || selection.none())
        return 0.0;
    const FrequencyMask converted =
        wantedMagnitude == magnitudeKind ? FrequencyMask() : convertedCopy(wantedMagnitude);
    const DoubleBuffer& values =
        wantedMagnitude == magnitudeKind ? magnitudeValues : converted.magnitudeValues;
    double sum = 0.0;
    for (uint32_t i = 0; i < values.count() && i < 32; ++i)
        if (selection.test(i))
            sum += values[i];
    return sum;
}

} // namespace zorvpro::acoustics
