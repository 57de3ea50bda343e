#pragma once

#include "acoustics/model/BandSelection.h"
#include "acoustics/model/DoubleBuffer.h"
#include "acoustics/model/LevelConversion.h"

namespace zorvpro::acoustics
{

// Per-band complex response on the shared one-third-octave table: magnitude
// and phase arrays in the stated kinds, plus the bands that take part. Both
// arrays hold exactly one value per band of the table, or both are empty.
class FrequencyMask
{
public:
    // Empty arrays, amplitude and delay kinds, all bands selected.
    FrequencyMask();
    FrequencyMask(DoubleBuffer&& magnitudes, DoubleBuffer&& phases, MagnitudeKind magnitudeKind,
                  PhaseKind phaseKind, BandSelection selection = BandSelection());
    // Every magnitude equals fill; zero delays.
    FrequencyMask(MagnitudeKind magnitudeKind, double fill);
    // Zero magnitudes and phases.
    FrequencyMask(MagnitudeKind magnitudeKind, PhaseKind phaseKind);
    FrequencyMask(MagnitudeKind magnitudeKind, PhaseKind phaseKind, double magnitudeFill, double phaseFill);
    FrequencyMask(const FrequencyMask& other) = default;
    FrequencyMask(FrequencyMask&& other) noexcept = default;
    FrequencyMask& operator=(const FrequencyMask& other) = default;
    FrequencyMask& operator=(FrequencyMask&& other) noexcept = default;
    virtual ~FrequencyMask() = default;

    void release();

    // Converts in place. Nothing happens when the arrays are missing, empty or
    // of different lengths; a kind changes only when its conversion worked.
    void setRepresentation(MagnitudeKind magnitudeKind, PhaseKind phaseKind);
    FrequencyMask convertedCopy(MagnitudeKind magnitudeKind) const;
    FrequencyMask convertedCopy(MagnitudeKind magnitudeKind, PhaseKind phaseKind) const;
    FrequencyMask convertedCopyPhase(PhaseKind phaseKind) const;

    // Sum of the magnitudes, as the given kind, over the selected bands.
    double sumSelectedBands(MagnitudeKind magnitudeKind, BandSelection selection) const;

    // Both arrays non-empty and of equal length.
    bool isUsable() const;

    BandSelection getBandSelection() const { return bandSelection; }
    void setBandSelection(BandSelection selection) { bandSelection = selection; }
    MagnitudeKind getMagnitudeKind() const { return magnitudeKind; }
    PhaseKind getPhaseKind() const { return phaseKind; }
    DoubleBuffer& magnitudes() { return magnitudeValues; }
    const DoubleBuffer& magnitudes() const { return magnitudeValues; }
    DoubleBuffer& phases() { return phaseValues; }
    const DoubleBuffer& phases() const { return phaseValues; }
    const DoubleBuffer& bandFrequencies() const { return *frequencies; }

private:
    BandSelection bandSelection;
    MagnitudeKind magnitudeKind = LevelAmplitude;
    PhaseKind phaseKind = PhaseDelay;
    DoubleBuffer magnitudeValues;
    DoubleBuffer phaseValues;
    const DoubleBuffer* frequencies;
};

} // namespace zorvpro::acoustics
