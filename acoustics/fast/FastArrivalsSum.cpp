#include "acoustics/fast/FastArrivalsSum.h"

#include "acoustics/fast/CrossSumKernels.h"
#include "acoustics/fast/VectorCosine.h"
#include "acoustics/model/BandPhaseTables.h"
#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/FrequencyBands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zorvpro::acoustics
{

namespace
{

constexpr double TwoPi = 6.283185307179586;
// Scalar window indices are clamped here; the window is 0 long before, as
// the table's own range check makes it beyond its end.
constexpr double WindowClamp = 1000.0;
// The table copy, padded with zeros to cover every clamped index.
constexpr int64_t WindowTableSize = 1024;
constexpr uint64_t LaneCount = fast::KernelPadding;
constexpr double PaddingDelay = 1e300;

// The window index of x cycles exactly as the table lookup forms it: the
// nearest integer to 100 |x|, halves away from zero.
inline int64_t windowIndex(double x)
{
    const double v = 100.0 * std::fabs(x);
    if (!(v < WindowClamp))
        return static_cast<int64_t>(WindowClamp);
    // std::round without the call: nearest (ties to even) by adding 1.5 * 2^52,
    // then a tie rounded down is taken up. Exact for 0 <= v < 2^51.
    constexpr double Shifter = 6755399441055744.0;
    double rounded = (v + Shifter) - Shifter;
    if (v - rounded == 0.5)
        rounded += 1.0;
    return static_cast<int64_t>(rounded);
}

// The longest run of later arrivals inside the window, over all i, and the
// number of pairs inside it. Sorted delays make the window index grow with
// j, so each i's run is a prefix of the arrivals after it, and the run ends
// never move back as i grows.
uint64_t longestRun(const double* delays, uint64_t n, double frequency, int64_t windowEnd, uint64_t& pairs)
{
    uint64_t longest = 0;
    uint64_t end = 0;
    for (uint64_t i = 0; i + 1 < n; ++i)
    {
        if (end < i + 1)
            end = i + 1;
        while (end < n && windowIndex((delays[i] - delays[end]) * frequency) < windowEnd)
            ++end;
        longest = std::max(longest, end - i - 1);
        pairs += end - i - 1;
    }
    return longest;
}

// A band's incoherent power (the sum of its squared amplitudes) and its
// earliest and latest delays, four arrivals at a time.
struct BandSpan
{
    double incoherent = 0.0;
    double earliest = 0.0;
    double latest = 0.0;
};

inline __attribute__((always_inline)) void bandSpanBody(const double* amplitudes, const double* delays,
                                                        uint64_t n, BandSpan& out)
{
    fast::Lanes sum = {0.0, 0.0, 0.0, 0.0};
    fast::Lanes earliest = {delays[0], delays[0], delays[0], delays[0]};
    fast::Lanes latest = earliest;
    uint64_t m = 0;
    for (; m + 4 <= n; m += 4)
    {
        fast::Lanes a, d;
        std::memcpy(&a, amplitudes + m, sizeof(a));
        std::memcpy(&d, delays + m, sizeof(d));
        sum += a * a;
        earliest = d < earliest ? d : earliest;
        latest = d > latest ? d : latest;
    }
    out.incoherent = (sum[0] + sum[1]) + (sum[2] + sum[3]);
    out.earliest = std::min(std::min(earliest[0], earliest[1]), std::min(earliest[2], earliest[3]));
    out.latest = std::max(std::max(latest[0], latest[1]), std::max(latest[2], latest[3]));
    for (; m < n; ++m)
    {
        out.incoherent += amplitudes[m] * amplitudes[m];
        out.earliest = std::min(out.earliest, delays[m]);
        out.latest = std::max(out.latest, delays[m]);
    }
}

ZORV_WIDE_VECTORS void bandSpanWide(const double* amplitudes, const double* delays, uint64_t n, BandSpan& out)
{
    bandSpanBody(amplitudes, delays, n, out);
}

void bandSpanPlain(const double* amplitudes, const double* delays, uint64_t n, BandSpan& out)
{
    bandSpanBody(amplitudes, delays, n, out);
}

} // namespace

FastArrivalsSum::FastArrivalsSum() : FastArrivalsSum(fast::bestCrossSumKernel()) {}

FastArrivalsSum::FastArrivalsSum(fast::CrossSumKernel kernel_) : kernel(kernel_)
{
    const DoubleBuffer& table = coherenceWindowTable(ThirdOctaveBands);
    std::vector<double> window(WindowTableSize, 0.0);
    for (uint64_t k = 0; k < table.count() && k < window.size(); ++k)
        window[k] = table[k];
    windowEnd = static_cast<int64_t>(window.size());
    while (windowEnd > 0 && window[windowEnd - 1] == 0.0)
        --windowEnd;
    windowSolid = std::find(window.begin(), window.begin() + windowEnd, 0.0) == window.begin() + windowEnd;
}

void FastArrivalsSum::startPoint(uint64_t capacity)
{
    count = 0;
    finite = true;
    stride = capacity + LaneCount;
    const uint64_t bands = CalculationBandCount;
    if (amplitude.size() < bands * stride)
    {
        amplitude.resize(bands * stride);
        delay.resize(bands * stride);
        phase.resize(bands * stride);
    }
    if (selection.size() < stride)
        selection.resize(stride);
}

void FastArrivalsSum::addArrival(const double* amplitudes, const double* totalDelays,
                                 const double* excessPhases, BandSelection bands)
{
    if (count + LaneCount >= stride)
        widen(2 * count + 1);
    const uint64_t m = count++;
    // v - v is 0 for every finite v and NaN otherwise, so the sum is 0 exactly
    // when all values are finite.
    double nonFinite = 0.0;
    for (uint64_t k = 0; k < CalculationBandCount; ++k)
    {
        amplitude[k * stride + m] = amplitudes[k];
        delay[k * stride + m] = totalDelays[k];
        phase[k * stride + m] = excessPhases[k];
        nonFinite += (amplitudes[k] - amplitudes[k]) + (totalDelays[k] - totalDelays[k]) +
                     (excessPhases[k] - excessPhases[k]);
    }
    selection[m] = static_cast<int64_t>(bands.bits());
    finite = finite && nonFinite == 0.0;
}

void FastArrivalsSum::widen(uint64_t capacity)
{
    const uint64_t wider = capacity + LaneCount;
    std::vector<double> a(CalculationBandCount * wider), t(CalculationBandCount * wider),
        p(CalculationBandCount * wider);
    for (uint64_t k = 0; k < CalculationBandCount; ++k)
        for (uint64_t m = 0; m < count; ++m)
        {
            a[k * wider + m] = amplitude[k * stride + m];
            t[k * wider + m] = delay[k * stride + m];
            p[k * wider + m] = phase[k * stride + m];
        }
    amplitude.swap(a);
    delay.swap(t);
    phase.swap(p);
    selection.resize(wider);
    stride = wider;
}

bool FastArrivalsSum::gather(const std::vector<Arrival>& arrivals)
{
    const uint64_t bands = CalculationBandCount;
    uint64_t usable = 0;
    for (const Arrival& a : arrivals)
        if (a.getResponse().magnitudes().count() == bands)
            ++usable;
    startPoint(usable);
    for (const Arrival& a : arrivals)
    {
        const FrequencyMask& response = a.getResponse();
        if (response.magnitudes().count() != bands)
            continue;
        const DoubleBuffer& total = a.getTotalDelay();
        const DoubleBuffer& excess = a.getExcessPhase();
        if (response.getMagnitudeKind() != LevelAmplitude || response.getPhaseKind() != PhaseDelay ||
            total.count() != bands || excess.count() != bands)
            return false;
        addArrival(response.magnitudes().data(), total.data(), excess.data(), response.getBandSelection());
    }
    return true;
}

void FastArrivalsSum::sumInOrder(double* power) const
{
    // The reference's own order of operations, on the flat arrays.
    const DoubleBuffer& frequencies = frequencyTable(ThirdOctaveBands);
    constexpr double TwoPiRef = 6.283185307179586;
    for (uint64_t i = 0; i < count; ++i)
    {
        for (uint64_t k = 0; k < CalculationBandCount; ++k)
            power[k] += amplitude[k * stride + i] * amplitude[k * stride + i];
        for (uint64_t j = i + 1; j < count; ++j)
        {
            if ((selection[i] & selection[j]) == 0)
                continue;
            for (uint64_t k = 0; k < CalculationBandCount; ++k)
            {
                const uint64_t a = k * stride + i;
                const uint64_t b = k * stride + j;
                const double x = (delay[a] - delay[b]) * frequencies[k];
                const double c = CepstralBasis::coherenceWindow(x, ThirdOctaveBands) *
                                 std::cos(TwoPiRef * x - (phase[a] - phase[b]));
                power[k] += c * amplitude[a] * amplitude[b] * 2.0;
            }
        }
    }
}

void FastArrivalsSum::sortBand(uint64_t band)
{
    const double* bandDelay = delay.data() + band * stride;
    // Insertion sort: the order of the previous band is nearly right, since
    // delays differ between bands only by their minimum-phase part.
    for (uint64_t i = 1; i < count; ++i)
    {
        const uint32_t item = order[i];
        const double key = bandDelay[item];
        uint64_t j = i;
        for (; j > 0 && bandDelay[order[j - 1]] > key; --j)
            order[j] = order[j - 1];
        order[j] = item;
    }
    const double* bandAmplitude = amplitude.data() + band * stride;
    const double* bandPhase = phase.data() + band * stride;
    for (uint64_t i = 0; i < count; ++i)
    {
        const uint32_t m = order[i];
        sortedDelay[i] = bandDelay[m];
        sortedPhase[i] = bandPhase[m];
        sortedAmplitude[i] = bandAmplitude[m];
        sortedSelection[i] = selection[m];
    }
}

void FastArrivalsSum::sum(FrequencyMask& out, const std::vector<Arrival>& arrivals)
{
    if (arrivals.empty() || !arrivals.front().getResponse().isUsable() ||
        arrivals.front().getResponse().magnitudes().count() != CalculationBandCount ||
        frequencyTable(ThirdOctaveBands).count() != CalculationBandCount || !gather(arrivals))
    {
        reference.sum(out, arrivals);
        return;
    }
    finishPoint(out);
}

void FastArrivalsSum::finishPoint(FrequencyMask& out)
{
    out = FrequencyMask(LevelPower, PhaseDelay);
    finishPoint(out.magnitudes().data());
}

void FastArrivalsSum::finishPoint(double* power)
{
    if (!power)
        return;
    std::fill(power, power + CalculationBandCount, 0.0);
    if (count == 0)
        return;
    if (!finite)
    {
        // Non-finite values would upset the ordering; the plain loop gives
        // exactly what the reference gives.
        sumInOrder(power);
        return;
    }

    // Zero padding: lanes past the last arrival are masked off, but must
    // still read initialised memory.
    order.resize(count);
    for (uint64_t i = 0; i < count; ++i)
        order[i] = static_cast<uint32_t>(i);
    // Padding lanes: delays so far away that the window reads 0 there.
    sortedDelay.assign(stride, PaddingDelay);
    sortedPhase.assign(stride, 0.0);
    sortedAmplitude.assign(stride, 0.0);
    sortedSelection.assign(stride, 0);
    sortedInPhase.assign(stride, 0.0);
    sortedQuadrature.assign(stride, 0.0);
    angle.resize(stride);

    const DoubleBuffer& frequencies = frequencyTable(ThirdOctaveBands);
    bool overlapping = true;
    for (uint64_t m = 1; m < count && overlapping; ++m)
        overlapping = selection[m] == selection[0] && selection[0] != 0;
    const bool uniform = overlapping && windowSolid;
    for (uint64_t m = count; m < stride; ++m)
        selection[m] = 0;
    const bool wide = fast::wideVectorsAvailable();
    for (uint64_t k = 0; k < CalculationBandCount; ++k)
    {
        double* bandDelay = delay.data() + k * stride;
        const double* bandAmplitude = amplitude.data() + k * stride;
        BandSpan span;
        if (wide)
            bandSpanWide(bandAmplitude, bandDelay, count, span);
        else
            bandSpanPlain(bandAmplitude, bandDelay, count, span);
        const double incoherent = span.incoherent;
        const double earliest = span.earliest;
        const double latest = span.latest;
        const double f = frequencies[k];

        // A pair's delay difference is at most the span, and its window
        // index grows with it: when the span's index lies inside the window,
        // every pair does, and the order does not matter.
        const bool spanned = windowIndex((latest - earliest) * f) < windowEnd;
        const double* delays = bandDelay;
        const double* phases = phase.data() + k * stride;
        const double* amplitudes = bandAmplitude;
        const int64_t* selections = selection.data();
        if (spanned)
        {
            for (uint64_t m = count; m < stride; ++m)
                bandDelay[m] = PaddingDelay;
        }
        else
        {
            sortBand(k);
            delays = sortedDelay.data();
            phases = sortedPhase.data();
            amplitudes = sortedAmplitude.data();
            selections = sortedSelection.data();
        }

        const double delay0 = delays[0];
        const double phase0 = phases[0];
        for (uint64_t i = 0; i < count; ++i)
            angle[i] = TwoPi * ((delays[i] - delay0) * f) - (phases[i] - phase0);
        fast::cosinesAndSines(angle.data(), sortedInPhase.data(), sortedQuadrature.data(), count);
        for (uint64_t i = 0; i < count; ++i)
        {
            sortedInPhase[i] *= amplitudes[i];
            sortedQuadrature[i] *= amplitudes[i];
        }

        uint64_t pairs = count * (count - 1) / 2;
        uint64_t longest = count - 1;
        if (!spanned)
        {
            pairs = 0;
            longest = longestRun(delays, count, f, windowEnd, pairs);
        }
        // Uniform: every pair's band selections overlap and the window has
        // no zero before windowEnd, so no lane needs a mask and the pairs
        // counted above are the terms taken.
        const fast::CrossSumInput input{
            delays, sortedInPhase.data(), sortedQuadrature.data(), selections, count, longest, f, !uniform};
        fast::CrossSumResult cross;
        kernel(input, cross);
        terms += uniform ? pairs : cross.hits;
        // The kernel sums half windows: 2 x cross = 4 x that sum.
        power[k] = incoherent + 4.0 * cross.halfSum;
    }
}

} // namespace zorvpro::acoustics
