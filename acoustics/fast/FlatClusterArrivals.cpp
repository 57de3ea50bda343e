#include "acoustics/fast/FlatClusterArrivals.h"

#include "acoustics/fast/VectorLevels.h"
#include "acoustics/model/BandPhaseTables.h"
#include "acoustics/model/FrequencyBands.h"
#include "core/math/Compare.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zorvpro::acoustics
{

namespace
{

constexpr uint64_t N = CalculationBandCount;
constexpr double DoubleEpsilon = 2.220446049250313e-16;
// Spreading is that of 1 cm at the least, as in the cluster.
constexpr double MinDistance = 0.01;

bool containsZero(const double* values, uint64_t n)
{
    return std::find(values, values + n, 0.0) != values + n;
}

// 0.001 x (basis . levels) for all 28 rows, four rows at a time; each row's
// sum runs over the columns in order, as a plain dot product would (fused
// into multiply-adds where the processor has them). All seven groups of rows
// advance together, column by column, so that their sums do not wait on
// each other.
inline __attribute__((always_inline)) void basisTimesLevels(const double* byColumn, const double* levels,
                                                            double* out)
{
    constexpr uint64_t Groups = N / 4;
    fast::Lanes sums[Groups];
    for (uint64_t g = 0; g < Groups; ++g)
        sums[g] = fast::Lanes{0.0, 0.0, 0.0, 0.0};
    for (uint64_t j = 0; j < N; ++j)
    {
        const double level = levels[j];
#pragma GCC unroll 8
        for (uint64_t g = 0; g < Groups; ++g)
        {
            fast::Lanes column;
            std::memcpy(&column, byColumn + j * N + 4 * g, sizeof(column));
            sums[g] = sums[g] + column * level;
        }
    }
    for (uint64_t g = 0; g < Groups; ++g)
    {
        const fast::Lanes scaled = 0.001 * sums[g];
        std::memcpy(out + 4 * g, &scaled, sizeof(scaled));
    }
}
static_assert(N % 4 == 0, "rows are taken four at a time");

// Amplitude to decibels re 1.0 after adding the smallest relative step, a
// value of 0 or below reading as 0 dB: the level conversion's own rule.
inline __attribute__((always_inline)) void levelsOf(const double* magnitudes, double* levels)
{
    for (uint64_t k = 0; k < N; k += 4)
    {
        fast::Lanes amplitude;
        std::memcpy(&amplitude, magnitudes + k, sizeof(amplitude));
        amplitude += DoubleEpsilon;
        fast::Lanes level;
        fast::log10Lanes(amplitude, level);
        level = amplitude <= 0.0 ? 0.0 : 20.0 * level;
        std::memcpy(levels + k, &level, sizeof(level));
    }
}

// The air-absorption loss over a distance, as factors of amplitude:
// 10^(a d / 20) per band.
inline __attribute__((always_inline)) void absorptionOver(const double* absorption, double distance,
                                                          double* factors)
{
    for (uint64_t k = 0; k < N; k += 4)
    {
        fast::Lanes exponent;
        std::memcpy(&exponent, absorption + k, sizeof(exponent));
        exponent = exponent * distance / 20.0;
        fast::Lanes factor;
        fast::exp10Lanes(exponent, factor);
        std::memcpy(factors + k, &factor, sizeof(factor));
    }
}

ZORV_WIDE_VECTORS void levelsWide(const double* magnitudes, double* levels)
{
    levelsOf(magnitudes, levels);
}

void levelsPlain(const double* magnitudes, double* levels)
{
    levelsOf(magnitudes, levels);
}

ZORV_WIDE_VECTORS void absorptionWide(const double* absorption, double distance, double* factors)
{
    absorptionOver(absorption, distance, factors);
}

void absorptionPlain(const double* absorption, double distance, double* factors)
{
    absorptionOver(absorption, distance, factors);
}

ZORV_WIDE_VECTORS void basisTimesLevelsWide(const double* byColumn, const double* levels, double* out)
{
    basisTimesLevels(byColumn, levels, out);
}

void basisTimesLevelsPlain(const double* byColumn, const double* levels, double* out)
{
    basisTimesLevels(byColumn, levels, out);
}

} // namespace

FlatClusterArrivals::FlatClusterArrivals()
{
    const DoubleBuffer& matrix = cepstralBasisMatrix(ThirdOctaveBands);
    basisUsable = matrix.count() == N * N;
    if (!basisUsable)
        return;
    basisByColumn.resize(N * N);
    for (uint64_t i = 0; i < N; ++i)
        for (uint64_t j = 0; j < N; ++j)
            basisByColumn[j * N + i] = matrix[i * N + j];
}

uint64_t FlatClusterArrivals::capacity(const FlatClusterModel& model)
{
    uint64_t total = 0;
    for (const FlatDriver& driver : model.drivers)
        total += model.steered ? driver.beams.size() : 1;
    return total;
}

void FlatClusterArrivals::prepare(FlatClusterModel& model)
{
    for (FlatDriver& driver : model.drivers)
        for (FlatDriver::Beam& beam : driver.beams)
        {
            beam.magnitudeZero = beam.hasFilter && containsZero(beam.filter.magnitudes().data(), N);
            beam.delayZero = beam.hasFilter && containsZero(beam.filter.phases().data(), N);
            beam.zerosKnown = true;
        }
}

void FlatClusterArrivals::finishArrival(const Bands& magnitudes, const Bands& phases, BandSelection selection,
                                        FastArrivalsSum& summer)
{
    // Minimum-phase delay of the magnitudes, in seconds.
    const bool wide = fast::wideVectorsAvailable();
    if (wide)
        levelsWide(magnitudes.data(), levels.data());
    else
        levelsPlain(magnitudes.data(), levels.data());
    if (basisUsable)
    {
        if (wide)
            basisTimesLevelsWide(basisByColumn.data(), levels.data(), minimumPhase.data());
        else
            basisTimesLevelsPlain(basisByColumn.data(), levels.data(), minimumPhase.data());
        for (uint64_t k = 0; k < N; ++k)
            totalDelay[k] = phases[k] + minimumPhase[k];
    }
    else
        totalDelay = phases;

    const DoubleBuffer& t1 = bandWidthPhaseTable(ThirdOctaveBands);
    const DoubleBuffer& t2 = bandEdgePhaseTable(ThirdOctaveBands);
    if (t1.count() == N && t2.count() == N)
    {
        double s = 0.0;
        for (uint64_t k = 0; k < N; ++k)
        {
            excessPhase[k] = 1000.0 * (totalDelay[k] * t2[k] + s);
            s += totalDelay[k] * t1[k];
        }
    }
    else
        excessPhase.fill(0.0);
    summer.addArrival(magnitudes.data(), totalDelay.data(), excessPhase.data(), selection);
}

uint64_t FlatClusterArrivals::add(const FlatClusterModel& model, const math::Vec3& p, FastArrivalsSum& summer)
{
    uint64_t added = 0;
    for (const FlatDriver& driver : model.drivers)
    {
        if (!driver.polar)
            continue;
        const math::Vec3 q = math::TransformPoint(driver.toLocal, p);
        MagnitudeKind magnitudeKind = LevelAmplitude;
        PhaseKind phaseKind = PhaseDelay;
        if (!driver.polar->lookupInto(q, response.data(), responsePhases.data(), magnitudeKind, phaseKind))
            continue;
        if (magnitudeKind != LevelAmplitude || phaseKind != PhaseDelay)
        {
            // Not what polar data hold; convert as the cluster would.
            DoubleBuffer m(N), ph(N);
            std::copy(response.begin(), response.end(), m.begin());
            std::copy(responsePhases.begin(), responsePhases.end(), ph.begin());
            FrequencyMask converted(std::move(m), std::move(ph), magnitudeKind, phaseKind);
            converted.setRepresentation(LevelAmplitude, PhaseDelay);
            if (!converted.isUsable() || converted.getMagnitudeKind() != LevelAmplitude ||
                converted.getPhaseKind() != PhaseDelay)
                continue;
            std::copy(converted.magnitudes().begin(), converted.magnitudes().end(), response.begin());
            std::copy(converted.phases().begin(), converted.phases().end(), responsePhases.begin());
        }

        double* magnitudes = response.data();
        double* phases = responsePhases.data();
        const double r = q.LengthSquared() < math::kZeroTolerance ? 0.0 : q.Length();
        const double propagation = r * model.secondsPerMetre;
        for (uint64_t k = 0; k < N; ++k)
            phases[k] += propagation;
        const double spreading = std::max(MinDistance, r);
        const double inverse = 1.0 / spreading;
        for (uint64_t k = 0; k < N; ++k)
            magnitudes[k] *= inverse;
        if (!model.absorption.empty() && model.absorption.count() == N)
        {
            if (fast::wideVectorsAvailable())
                absorptionWide(model.absorption.data(), spreading, absorption.data());
            else
                absorptionPlain(model.absorption.data(), spreading, absorption.data());
            for (uint64_t k = 0; k < N; ++k)
                magnitudes[k] *= absorption[k];
        }
        if (driver.gain != 1.0 && driver.gain != 0.0)
            for (uint64_t k = 0; k < N; ++k)
                magnitudes[k] *= driver.gain;
        if (model.delaySeconds > 0.0)
            for (uint64_t k = 0; k < N; ++k)
                phases[k] += model.delaySeconds;

        const BandSelection selection; // a looked-up response takes part in every band
        if (!model.steered)
        {
            std::copy(magnitudes, magnitudes + N, beamMagnitudes.begin());
            std::copy(phases, phases + N, beamPhases.begin());
            finishArrival(beamMagnitudes, beamPhases, selection, summer);
            ++added;
            continue;
        }
        // Whether the driver's response holds an exact zero: looked at only
        // for a filter that holds one too, and then once.
        int magnitudesHoldZero = -1;
        int phasesHoldZero = -1;
        for (const FlatDriver::Beam& beam : driver.beams)
        {
            std::copy(magnitudes, magnitudes + N, beamMagnitudes.begin());
            std::copy(phases, phases + N, beamPhases.begin());
            if (beam.hasFilter)
            {
                // Combining amplitudes and delays: a side whose values hold an
                // exact zero on both sides is left out.
                const double* fm = beam.filter.magnitudes().data();
                const double* fp = beam.filter.phases().data();
                const bool filterMagnitudeZero = beam.zerosKnown ? beam.magnitudeZero : containsZero(fm, N);
                const bool filterDelayZero = beam.zerosKnown ? beam.delayZero : containsZero(fp, N);
                if (filterMagnitudeZero && magnitudesHoldZero < 0)
                    magnitudesHoldZero = containsZero(magnitudes, N) ? 1 : 0;
                if (!(filterMagnitudeZero && magnitudesHoldZero == 1))
                    for (uint64_t k = 0; k < N; ++k)
                        beamMagnitudes[k] *= fm[k];
                if (filterDelayZero && phasesHoldZero < 0)
                    phasesHoldZero = containsZero(phases, N) ? 1 : 0;
                if (!(filterDelayZero && phasesHoldZero == 1))
                    for (uint64_t k = 0; k < N; ++k)
                        beamPhases[k] += fp[k];
            }
            if (beam.mask.count() == N)
                for (uint64_t k = 0; k < N; ++k)
                    beamMagnitudes[k] *= beam.mask[k];
            finishArrival(beamMagnitudes, beamPhases, selection, summer);
            ++added;
        }
    }
    return added;
}

} // namespace zorvpro::acoustics
