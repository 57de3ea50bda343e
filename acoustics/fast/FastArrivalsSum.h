#pragma once

#include "acoustics/fast/CrossSumKernels.h"
#include "acoustics/model/ArrivalsSum.h"

#include <cstdint>
#include <vector>

namespace zorvpro::acoustics
{

// The same power sum as ArrivalsSumCrossPower, computed band by band on flat
// arrays: amplitudes, delays and phases are gathered once per point and the
// arrivals ordered by delay in each band, so that the pairs inside the
// coherence window form one run after each arrival; pair offsets beyond the
// longest run (window exactly 0, so their terms are exactly 0) are never
// visited. Each arrival's phase angle is turned into an amplitude-weighted
// cosine and sine once per band, so a pair costs a few products. The window
// is read at exactly the reference's index; the rest agrees to within
// rounding, far below 1e-9 of a band's incoherent power. Points whose
// arrivals hold anything unusual (other kinds, odd counts) are handed to the
// reference sum, and points with non-finite values are summed by the
// reference's plain loop.
//
// Holds working buffers, so one instance serves one thread; they grow to
// the largest point seen and are reused, so summing allocates nothing
// beyond the result mask.
class FastArrivalsSum : public ArrivalsSum
{
public:
    // With the fastest pair kernel this processor runs, or with the one given.
    FastArrivalsSum();
    explicit FastArrivalsSum(fast::CrossSumKernel kernel);

    void sum(FrequencyMask& out, const std::vector<Arrival>& arrivals) override;

    // The same for producers that make a point's arrivals as flat per-band
    // arrays, without Arrival records: announce how many may come, add each
    // (amplitudes, total delays in seconds and excess phases in radians, one
    // value per calculation band) in the order the reference would see them,
    // then take the power spectrum. More arrivals than announced are taken
    // too, at the cost of a re-layout.
    void startPoint(uint64_t capacity);
    void addArrival(const double* amplitudes, const double* totalDelays, const double* excessPhases,
                    BandSelection bands);
    void finishPoint(FrequencyMask& out);
    // The same into the calculation bands' powers; nothing for null.
    void finishPoint(double* power);

    // Pair-band cross terms evaluated since construction or the last reset:
    // only those whose coherence window is not zero.
    uint64_t evaluatedTerms() const { return terms; }
    void resetEvaluatedTerms() { terms = 0; }

private:
    // Fills the flat arrays from the usable arrivals; false when the point
    // must go to the reference sum.
    bool gather(const std::vector<Arrival>& arrivals);
    // Re-lays the flat arrays out for more arrivals, keeping those added.
    void widen(uint64_t capacity);
    // The reference's arithmetic in its own order, for points with
    // non-finite values.
    void sumInOrder(double* power) const;
    // Orders the arrivals of band k by delay, starting from the previous
    // band's order (nearly sorted already), and lays that band out sorted.
    void sortBand(uint64_t band);

    ArrivalsSumCrossPower reference;
    fast::CrossSumKernel kernel;
    uint64_t terms = 0;
    uint64_t count = 0; // usable arrivals of the current point
    uint64_t stride = 0;
    bool finite = true;

    // Band-major: value [band * stride + arrival].
    std::vector<double> amplitude;
    std::vector<double> delay;
    std::vector<double> phase;
    std::vector<int64_t> selection;

    // One band, in delay order, padded for whole vectors.
    std::vector<uint32_t> order;
    std::vector<double> sortedAmplitude;
    std::vector<double> sortedDelay;
    std::vector<double> sortedPhase;
    std::vector<int64_t> sortedSelection;
    std::vector<double> sortedInPhase;
    std::vector<double> sortedQuadrature;
    std::vector<double> angle;

    // The first window index from which the coherence window is zero for good.
    int64_t windowEnd = 0;
    bool windowSolid = false; // no zero before windowEnd
};

} // namespace zorvpro::acoustics
