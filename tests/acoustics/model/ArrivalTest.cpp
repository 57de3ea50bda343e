#include "acoustics/model/Arrival.h"
#include "acoustics/model/ArrivalsSum.h"
#include "acoustics/model/BandPhaseTables.h"
#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/IdCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zorvpro::acoustics;
using zorvpro::math::Vec3;

namespace
{
Arrival makeArrival(double amplitude, double delay, BandSelection selection = BandSelection())
{
    return Arrival(Vec3(1, 0, 0), Vec3(2, 3, 4),
                   FrequencyMask(DoubleBuffer(28, amplitude), DoubleBuffer(28, delay), LevelAmplitude,
                                 PhaseDelay, selection));
}
} // namespace

TEST(Arrival, DerivesTotalDelayAndExcessPhase)
{
    FrequencyMask response(LevelDecibels, PhaseDelay, 0.0, 0.004);
    response.magnitudes()[12] = 3.0;
    FrequencyMask copy(response);
    Arrival arrival(Vec3(1, 2, 3), Vec3(4, 5, 6), std::move(response));
    EXPECT_TRUE(response.magnitudes().empty());
    EXPECT_EQ(arrival.getLocalPoint(), Vec3(1, 2, 3));
    EXPECT_EQ(arrival.getFieldPoint(), Vec3(4, 5, 6));
    EXPECT_EQ(arrival.getResponse().getMagnitudeKind(), LevelAmplitude);
    EXPECT_NEAR(arrival.getResponse().magnitudes()[12], std::pow(10.0, 3.0 / 20.0), 1e-12);

    const auto minimum = CepstralBasis::minimumPhaseDelay(copy);
    const auto excess = CepstralBasis::excessPhase(arrival.getTotalDelay(), 3);
    ASSERT_EQ(arrival.getTotalDelay().count(), 28u);
    for (uint32_t i = 0; i < 28; ++i)
    {
        EXPECT_NEAR(arrival.getTotalDelay()[i], 0.004 + minimum[i], 1e-15) << i;
        EXPECT_EQ(arrival.getExcessPhase()[i], excess[i]) << i;
    }
    // The boosted band is delayed more than a pure delay would explain.
    EXPECT_GT(arrival.getTotalDelay()[12], 0.004);
}

TEST(Arrival, ConstantDelayHasNoExcessPhase)
{
    Arrival arrival(Vec3(), Vec3(), FrequencyMask(LevelAmplitude, PhaseRadians, 0.5, 0.0));
    // Radian phases of zero are zero delays after conversion.
    EXPECT_EQ(arrival.getResponse().getPhaseKind(), PhaseDelay);
    Arrival delayed = makeArrival(0.5, 0.0217);
    for (uint32_t i = 0; i < 28; ++i)
        EXPECT_NEAR(delayed.getExcessPhase()[i], 0.0, 1e-9) << i;
}

TEST(Arrival, IdsAreUniqueAndSkipTheLargest)
{
    Arrival a, b;
    EXPECT_NE(a.getId(), b.getId());
    Arrival copy(a);
    EXPECT_EQ(copy.getId(), a.getId());

    IdCounter counter;
    EXPECT_EQ(counter.next(), 0u);
    EXPECT_EQ(counter.next(), 1u);
    counter.set(std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(counter.next(), 0u);
    EXPECT_EQ(counter.next(), 1u);
}

TEST(ArrivalsSumCrossPower, IdenticalArrivalsGiveFourTimesThePower)
{
    ArrivalsSumCrossPower summer;
    FrequencyMask out;
    summer.sum(out, {makeArrival(0.3, 0.01), makeArrival(0.3, 0.01)});
    EXPECT_EQ(out.getMagnitudeKind(), LevelPower);
    ASSERT_EQ(out.magnitudes().count(), 28u);
    for (double p : out.magnitudes())
        EXPECT_NEAR(p, 4.0 * 0.09, 1e-12);
}

TEST(ArrivalsSumCrossPower, DisjointSelectionsSumPlainly)
{
    ArrivalsSumCrossPower summer;
    FrequencyMask out;
    summer.sum(out, {makeArrival(0.3, 0.01, BandSelection(0x0000FFFF)),
                     makeArrival(0.4, 0.01, BandSelection(0xFFFF0000))});
    for (double p : out.magnitudes())
        EXPECT_NEAR(p, 0.09 + 0.16, 1e-12);
}

TEST(ArrivalsSumCrossPower, HalfCycleApartCancelsByTheWindow)
{
    // 0.5 ms apart is half a cycle at 1 kHz (band 15).
    ArrivalsSumCrossPower summer;
    FrequencyMask out;
    summer.sum(out, {makeArrival(1.0, 0.0), makeArrival(1.0, 0.0005)});
    const double expected = 2.0 + 2.0 * coherenceWindowTable(3)[50] * std::cos(6.283185307179586 * 0.5);
    EXPECT_NEAR(out.magnitudes()[15], expected, 1e-12);
    // At 16 kHz the two are 8 cycles apart: beyond the window, plain sum.
    EXPECT_NEAR(out.magnitudes()[27], 2.0, 1e-12);
}

TEST(ArrivalsSumCrossPower, CrossTermSubtractsTheExcessPhaseDifference)
{
    // The first arrival is 0.2 ms later in band 15 (1 kHz) only: 0.2 cycles
    // there, and an excess phase of 0.2 x T2[15] in band 15 and 0.2 x T1[15]
    // in every later band.
    DoubleBuffer delays(28, 0.0);
    delays[15] = 0.0002;
    Arrival late(Vec3(), Vec3(),
                 FrequencyMask(DoubleBuffer(28, 1.0), std::move(delays), LevelAmplitude, PhaseDelay));
    ArrivalsSumCrossPower summer;
    FrequencyMask out;
    summer.sum(out, {late, makeArrival(1.0, 0.0)});
    const double twoPi = 6.283185307179586;
    const double dphi15 = 0.2 * 5.632777453, dphi16 = 0.2 * -1.472621556;
    EXPECT_NEAR(out.magnitudes()[15],
                2.0 + 2.0 * coherenceWindowTable(3)[20] * std::cos(twoPi * 0.2 - dphi15), 1e-8);
    EXPECT_NEAR(out.magnitudes()[16], 2.0 + 2.0 * std::cos(-dphi16), 1e-8);
    EXPECT_NEAR(out.magnitudes()[14], 4.0, 1e-12);
}

TEST(ArrivalsSumCrossPower, EmptyAndMismatchedArrivals)
{
    ArrivalsSumCrossPower summer;
    FrequencyMask out(LevelDecibels, 5.0);
    summer.sum(out, {});
    EXPECT_EQ(out.getMagnitudeKind(), LevelPower);
    EXPECT_EQ(out.magnitudes(), DoubleBuffer(28, 0.0));

    // An arrival without values adds neither power nor cross terms.
    summer.sum(out, {makeArrival(0.5, 0.0), Arrival(), makeArrival(0.5, 0.0)});
    for (double p : out.magnitudes())
        EXPECT_NEAR(p, 1.0, 1e-12);
    summer.sum(out, {Arrival(), makeArrival(0.5, 0.0)});
    EXPECT_EQ(out.magnitudes(), DoubleBuffer(28, 0.0));
}
