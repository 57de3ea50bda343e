#include "acoustics/fast/FastArrivalsSum.h"

#include "acoustics/model/BandPhaseTables.h"
#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{

constexpr uint64_t Bands = CalculationBandCount;

Arrival makeArrival(const std::vector<double>& amplitudes, const std::vector<double>& delays,
                    BandSelection selection = BandSelection())
{
    DoubleBuffer a(Bands), d(Bands);
    for (uint64_t k = 0; k < Bands; ++k)
    {
        a[k] = amplitudes[k];
        d[k] = delays[k];
    }
    return Arrival(math::Vec3(), math::Vec3(),
                   FrequencyMask(std::move(a), std::move(d), LevelAmplitude, PhaseDelay, selection));
}

Arrival flatArrival(double amplitude, double delay, BandSelection selection = BandSelection())
{
    return makeArrival(std::vector<double>(Bands, amplitude), std::vector<double>(Bands, delay), selection);
}

// Arrivals like those of a line array: nearby sources with delays spread over
// a few milliseconds, ragged magnitude responses and, sometimes, partial band
// selections and empty responses.
std::vector<Arrival> randomScene(std::mt19937_64& rng, int n, double spread)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Arrival> arrivals;
    const double base = 0.02 + 0.05 * unit(rng);
    for (int i = 0; i < n; ++i)
    {
        if (unit(rng) < 0.03 && i > 0)
        {
            arrivals.emplace_back(); // a source with no response here
            continue;
        }
        std::vector<double> a(Bands), d(Bands);
        const double level = 0.1 + unit(rng);
        const double offset = base + spread * unit(rng);
        for (uint64_t k = 0; k < Bands; ++k)
        {
            a[k] = level * (0.2 + unit(rng));
            d[k] = offset + 1e-5 * unit(rng);
        }
        BandSelection selection;
        if (unit(rng) < 0.1)
            selection = BandSelection(static_cast<uint32_t>(rng()) & 0x0FFFFFFFu);
        arrivals.push_back(makeArrival(a, d, selection));
    }
    return arrivals;
}

double incoherentPower(const std::vector<Arrival>& arrivals, uint64_t band)
{
    double sum = 0.0;
    for (const Arrival& a : arrivals)
        if (a.getResponse().magnitudes().count() == Bands)
            sum += a.getResponse().magnitudes()[band] * a.getResponse().magnitudes()[band];
    return sum;
}

// Every band within 1e-9 of the band's incoherent power; returns the deepest
// notch seen (result over incoherent power).
double expectMatchesReference(const std::vector<Arrival>& arrivals, FastArrivalsSum& fast)
{
    FrequencyMask expected, actual;
    ArrivalsSumCrossPower().sum(expected, arrivals);
    fast.sum(actual, arrivals);
    EXPECT_EQ(actual.getMagnitudeKind(), LevelPower);
    EXPECT_EQ(actual.getPhaseKind(), PhaseDelay);
    EXPECT_EQ(actual.getBandSelection(), expected.getBandSelection());
    EXPECT_EQ(actual.phases(), expected.phases());
    EXPECT_EQ(actual.magnitudes().count(), expected.magnitudes().count());
    double deepest = 1.0;
    for (uint64_t k = 0; k < expected.magnitudes().count(); ++k)
    {
        const double incoherent = incoherentPower(arrivals, k);
        EXPECT_NEAR(actual.magnitudes()[k], expected.magnitudes()[k], 1e-9 * incoherent) << "band " << k;
        if (incoherent > 0.0)
            deepest = std::min(deepest, expected.magnitudes()[k] / incoherent);
    }
    return deepest;
}

// Pairs whose delay difference puts 100 |x| right at the window's last
// non-zero index and the first zero one (5.5 and 5.51 cycles), on both sides
// of the half-way ties, in every band; pairs with equal delays; bands that
// no arrival takes part in.
std::vector<Arrival> tableEndScene(std::mt19937_64& rng)
{
    const DoubleBuffer& frequencies = frequencyTable(ThirdOctaveBands);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double cycles[] = {5.495, 5.5, 5.505, 5.5049999, 5.5050001, 5.51, 5.515, 0.0, 0.005, 2.755};
    std::vector<Arrival> arrivals;
    for (int i = 0; i < 13; ++i)
    {
        std::vector<double> a(Bands), d(Bands);
        const double c = cycles[rng() % std::size(cycles)];
        for (uint64_t k = 0; k < Bands; ++k)
        {
            a[k] = 0.2 + unit(rng);
            d[k] = 0.01 + (i % 2) * c / frequencies[k];
        }
        arrivals.push_back(makeArrival(a, d, BandSelection(i % 3 == 0 ? 0x0FFFFFF0u : 0x0FFFFFFEu)));
    }
    return arrivals;
}

} // namespace

TEST(FastArrivalsSum, EveryKernelMatchesTheReference)
{
    const auto& kernels = fast::supportedCrossSumKernels();
    ASSERT_FALSE(kernels.empty());
    EXPECT_STREQ(kernels.back().name, "portable");
    const DoubleBuffer& widthPhase = bandWidthPhaseTable(ThirdOctaveBands);
    for (const fast::CrossSumVariant& variant : kernels)
    {
        SCOPED_TRACE(variant.name);
        FastArrivalsSum fast(variant.kernel); // reused, as a chunk reuses it for all its points
        std::mt19937_64 rng(20261207);
        const double spreads[] = {1e-5, 2e-4, 1e-3, 5e-3, 0.05};
        for (int scene = 0; scene < 60; ++scene)
        {
            const int n = 1 + static_cast<int>(rng() % 100);
            expectMatchesReference(randomScene(rng, n, spreads[scene % 5]), fast);
        }
        for (int scene = 0; scene < 20; ++scene)
            expectMatchesReference(tableEndScene(rng), fast);

        // Two equal sources with the same delay in band k, one of them later
        // in band k - 1 only: that shifts its excess phase in band k by
        // exactly pi, so band k cancels with the window at 1. A faint third
        // source far away leaves a notch many orders below the incoherent
        // power.
        double deepest = 1.0;
        for (uint64_t band = 1; band < Bands; ++band)
        {
            std::vector<double> shifted(Bands, 0.010);
            shifted[band - 1] += M_PI / (1000.0 * std::fabs(widthPhase[band - 1]));
            std::vector<Arrival> arrivals = {flatArrival(0.7, 0.010),
                                             makeArrival(std::vector<double>(Bands, 0.7), shifted),
                                             flatArrival(1e-5, 0.9)};
            deepest = std::min(deepest, expectMatchesReference(arrivals, fast));
        }
        EXPECT_LT(deepest, 1e-9); // the scenes really hold notches
    }
}

TEST(FastArrivalsSum, KernelsCountTheSameTerms)
{
    std::mt19937_64 rng(7);
    std::vector<std::vector<Arrival>> scenes;
    for (int scene = 0; scene < 10; ++scene)
        scenes.push_back(scene % 2 ? tableEndScene(rng) : randomScene(rng, 70, 2e-3));
    std::vector<uint64_t> counts;
    for (const fast::CrossSumVariant& variant : fast::supportedCrossSumKernels())
    {
        FastArrivalsSum fast(variant.kernel);
        FrequencyMask out;
        for (const auto& arrivals : scenes)
            fast.sum(out, arrivals);
        counts.push_back(fast.evaluatedTerms());
    }
    for (uint64_t count : counts)
        EXPECT_EQ(count, counts.back());
    EXPECT_GT(counts.back(), 0u);
}

TEST(FastArrivalsSum, EdgeCasesAgreeWithTheReference)
{
    FastArrivalsSum fast;
    FrequencyMask out;

    fast.sum(out, {});
    EXPECT_EQ(out.getMagnitudeKind(), LevelPower);
    ASSERT_EQ(out.magnitudes().count(), Bands);
    for (double v : out.magnitudes())
        EXPECT_EQ(v, 0.0);

    // An empty first arrival makes the whole sum zero, as in the reference.
    std::vector<Arrival> emptyFirst;
    emptyFirst.emplace_back();
    emptyFirst.push_back(flatArrival(2.0, 0.01));
    fast.sum(out, emptyFirst);
    for (double v : out.magnitudes())
        EXPECT_EQ(v, 0.0);

    // Identical arrivals: four times the power of one.
    std::vector<Arrival> twins = {flatArrival(0.5, 0.01), flatArrival(0.5, 0.01)};
    fast.sum(out, twins);
    for (double v : out.magnitudes())
        EXPECT_NEAR(v, 1.0, 1e-15);

    // Selections without overlap: the plain sum of the powers.
    std::vector<Arrival> apart = {flatArrival(0.5, 0.01, BandSelection(0x0000FFFFu)),
                                  flatArrival(0.5, 0.01, BandSelection(0xFFFF0000u))};
    fast.sum(out, apart);
    for (double v : out.magnitudes())
        EXPECT_NEAR(v, 0.5, 1e-15);

    // Empty arrivals in the middle add nothing.
    std::vector<Arrival> holes = {flatArrival(0.5, 0.01), Arrival(), flatArrival(0.5, 0.01), Arrival()};
    expectMatchesReference(holes, fast);
}

TEST(FastArrivalsSum, PointsWithNonFiniteValuesGoToTheReference)
{
    std::vector<double> a(Bands, 1.0), d(Bands, 0.01);
    a[5] = std::numeric_limits<double>::infinity();
    d[9] = std::nan("");
    std::vector<Arrival> arrivals = {flatArrival(1.0, 0.01), makeArrival(a, d), flatArrival(1.0, 0.02)};
    FrequencyMask expected, actual;
    ArrivalsSumCrossPower().sum(expected, arrivals);
    FastArrivalsSum fast;
    fast.sum(actual, arrivals);
    for (uint64_t k = 0; k < Bands; ++k)
    {
        if (std::isnan(expected.magnitudes()[k]))
            EXPECT_TRUE(std::isnan(actual.magnitudes()[k])) << k;
        else
            EXPECT_EQ(actual.magnitudes()[k], expected.magnitudes()[k]) << k;
    }
}

TEST(FastArrivalsSum, CountsOnlyTermsInsideTheWindow)
{
    FastArrivalsSum fast;
    FrequencyMask out;
    // Three coincident arrivals: three pairs in every band.
    fast.sum(out, {flatArrival(1.0, 0.01), flatArrival(1.0, 0.01), flatArrival(1.0, 0.01)});
    EXPECT_EQ(fast.evaluatedTerms(), 3 * Bands);

    // A fourth one a second later lies outside the window in every band
    // (31.5 cycles at the lowest), and a pair without common bands counts
    // nowhere.
    fast.resetEvaluatedTerms();
    fast.sum(out, {flatArrival(1.0, 0.01, BandSelection(0x1u)), flatArrival(1.0, 0.01, BandSelection(0x2u)),
                   flatArrival(1.0, 0.01, BandSelection(0x3u)), flatArrival(1.0, 1.01)});
    // Pairs (0,2) and (1,2) overlap; (0,1) does not; the far one pairs with
    // nothing.
    EXPECT_EQ(fast.evaluatedTerms(), 2 * Bands);

    // At 16 kHz 0.5 ms is 8 cycles, beyond the window; at 31.5 Hz it is
    // 0.016 cycles, inside. So the high bands drop the pair.
    fast.resetEvaluatedTerms();
    fast.sum(out, {flatArrival(1.0, 0.0100), flatArrival(1.0, 0.0105)});
    EXPECT_GT(fast.evaluatedTerms(), 0u);
    EXPECT_LT(fast.evaluatedTerms(), Bands);
}

TEST(FastArrivalsSum, FlatInputSumsLikeArrivalRecords)
{
    std::mt19937_64 rng(99);
    const std::vector<Arrival> arrivals = randomScene(rng, 40, 1e-3);
    FastArrivalsSum fast;
    FrequencyMask fromRecords, fromArrays;
    fast.sum(fromRecords, arrivals);

    fast.startPoint(3); // fewer than come: the arrays widen on the way
    for (const Arrival& a : arrivals)
        if (a.getResponse().isUsable())
            fast.addArrival(a.getResponse().magnitudes().data(), a.getTotalDelay().data(),
                            a.getExcessPhase().data(), a.getResponse().getBandSelection());
    fast.finishPoint(fromArrays);
    EXPECT_EQ(fromArrays.magnitudes(), fromRecords.magnitudes());
    EXPECT_EQ(fromArrays.getMagnitudeKind(), LevelPower);

    fast.startPoint(10);
    fast.finishPoint(fromArrays);
    ASSERT_EQ(fromArrays.magnitudes().count(), Bands);
    for (double v : fromArrays.magnitudes())
        EXPECT_EQ(v, 0.0);
}

TEST(FastArrivalsSum, KernelsReadTheWindowAtTheTablesIndex)
{
    // Two arrivals x cycles apart (at 1 Hz): exact halves (12.5 and 62.5 go
    // up, where ties to even would go down), the last non-zero index and the
    // first zero one, both sides of each, and values whose 100 |x| rounds up
    // to a half only once the product is rounded (a product fused into the
    // next sum would round them down).
    const double cycles[] = {0.0,
                             0.125,
                             0.12499999999999999,
                             0.625,
                             0.62500000000000011,
                             1.375,
                             2.755,
                             5.495,
                             5.5,
                             5.505,
                             5.5049999999,
                             5.5050000001,
                             5.51,
                             5.515,
                             6.01,
                             -0.125,
                             -5.505,
                             1e30,
                             0.004999999999999999,
                             0.024999999999999998,
                             0.11499999999999999,
                             -0.33499999999999996};
    for (const fast::CrossSumVariant& variant : fast::supportedCrossSumKernels())
        for (double x : cycles)
            for (bool masked : {false, true})
            {
                SCOPED_TRACE(std::string(variant.name) + " x=" + std::to_string(x));
                std::vector<double> delay(2 + fast::KernelPadding, 1e300), p(delay.size(), 0.0),
                    q(delay.size(), 0.0);
                std::vector<int64_t> selection(delay.size(), 0);
                delay[0] = x;
                delay[1] = 0.0;
                p[0] = 0.8;
                p[1] = 0.6;
                q[0] = 0.3;
                q[1] = -0.9;
                selection[0] = selection[1] = 5;
                const fast::CrossSumInput input{delay.data(), p.data(), q.data(), selection.data(), 2, 1,
                                                1.0,          masked};
                fast::CrossSumResult result;
                variant.kernel(input, result);
                const double window = CepstralBasis::coherenceWindow(x, ThirdOctaveBands);
                const double expected = 0.5 * window * (0.8 * 0.6 - 0.3 * 0.9);
                EXPECT_NEAR(result.halfSum, expected, 1e-15 * std::fabs(0.5 * (0.8 * 0.6 - 0.3 * 0.9)));
                if (masked)
                {
                    EXPECT_EQ(result.hits, window != 0.0 ? 1u : 0u);
                }
            }
}
