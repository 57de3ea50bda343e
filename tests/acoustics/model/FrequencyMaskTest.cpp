#include "acoustics/model/FrequencyMask.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zorvpro::acoustics;

namespace
{
constexpr double TwoPi = 6.283185307179586;

DoubleBuffer filled(uint64_t n, double start, double step)
{
    DoubleBuffer b(n);
    for (uint64_t i = 0; i < n; ++i)
        b[i] = start + step * static_cast<double>(i);
    return b;
}
} // namespace

TEST(LevelConversion, TableOfKinds)
{
    EXPECT_DOUBLE_EQ(convertLevel(LevelAmplitude, 3.0, LevelPower, 1.0), 9.0);
    EXPECT_DOUBLE_EQ(convertLevel(LevelAmplitude, 0.0, LevelDecibels, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(convertLevel(LevelAmplitude, -2.0, LevelDecibels, 0.0), 0.0);
    EXPECT_NEAR(convertLevel(LevelAmplitude, 10.0, LevelDecibels, 1.0), 20.0, 1e-12);
    EXPECT_NEAR(convertLevel(LevelAmplitude, 2e-4, LevelDecibels, 2e-5), 20.0, 1e-12);
    EXPECT_NEAR(convertLevel(LevelDecibels, -3.0, LevelAmplitude, 1.0), 0.70794578, 1e-8);
    EXPECT_NEAR(convertLevel(LevelDecibels, 20.0, LevelPower, 1.0), 100.0, 1e-10);
    EXPECT_DOUBLE_EQ(convertLevel(LevelPower, 16.0, LevelAmplitude, 1.0), 4.0);
    EXPECT_DOUBLE_EQ(convertLevel(LevelPower, -1.0, LevelAmplitude, 1.0), 0.0);
    EXPECT_NEAR(convertLevel(LevelPower, 100.0, LevelDecibels, 1.0), 20.0, 1e-12);
    // Unknown kinds leave the value as it is.
    EXPECT_DOUBLE_EQ(convertLevel(7, 5.0, LevelPower, 1.0), 5.0);

    double values[] = {1.0, 10.0, 0.0};
    EXPECT_TRUE(convertLevel(LevelAmplitude, values, LevelAmplitude, 3, 1.0));
    EXPECT_FALSE(convertLevel(LevelAmplitude, values, 5, 3, 1.0));
    EXPECT_FALSE(convertLevel(LevelAmplitude, values, LevelPower, 0, 1.0));
    EXPECT_FALSE(convertLevel(LevelAmplitude, nullptr, LevelPower, 3, 1.0));
    EXPECT_EQ(values[1], 10.0);
    EXPECT_TRUE(convertLevel(LevelAmplitude, values, LevelDecibels, 3, 1.0));
    EXPECT_NEAR(values[1], 20.0, 1e-12);
    EXPECT_EQ(values[2], 0.0);
}

TEST(LevelConversion, UnitScalesAndPhase)
{
    EXPECT_DOUBLE_EQ(convertUnitScale(ScaleSeconds, 2.5, ScaleMilliseconds), 2500.0);
    EXPECT_DOUBLE_EQ(convertUnitScale(ScaleMicroseconds, 5.0, ScaleSeconds), 5e-6);
    EXPECT_DOUBLE_EQ(convertUnitScale(ScaleMilliseconds, 5.0, ScaleMicroseconds), 5000.0);
    EXPECT_DOUBLE_EQ(convertUnitScale(ScaleMilliseconds, 5.0, 9), 5.0);

    double phase[] = {0.001, 0.0, 1.0};
    const double freqs[] = {1000.0, 500.0, 0.0};
    EXPECT_TRUE(delayToPhase(phase, freqs, 3, ScaleSeconds));
    EXPECT_NEAR(phase[0], TwoPi, 1e-12);
    EXPECT_TRUE(phaseToDelay(phase, freqs, 3, ScaleSeconds));
    EXPECT_NEAR(phase[0], 0.001, 1e-15);
    EXPECT_EQ(phase[1], 0.0);
    EXPECT_EQ(phase[2], 0.0);
    double ms[] = {1.0};
    EXPECT_TRUE(delayToPhase(ms, freqs, 1, ScaleMilliseconds));
    EXPECT_NEAR(ms[0], TwoPi, 1e-12);
    EXPECT_FALSE(delayToPhase(nullptr, freqs, 1, 0));
    EXPECT_FALSE(phaseToDelay(ms, freqs, 0, 0));
}

TEST(FrequencyMask, ConstructionKeepsBothArraysOrNone)
{
    FrequencyMask wrong(DoubleBuffer(27, 1.0), DoubleBuffer(28), LevelAmplitude, PhaseDelay);
    EXPECT_TRUE(wrong.magnitudes().empty());
    EXPECT_TRUE(wrong.phases().empty());
    EXPECT_FALSE(wrong.isUsable());

    FrequencyMask mask(DoubleBuffer(28, 2.0), DoubleBuffer(28, 0.5), LevelPower, PhaseRadians,
                       BandSelection(0x3));
    EXPECT_EQ(mask.magnitudes().count(), 28u);
    EXPECT_EQ(mask.getBandSelection().bits(), 0x3u);
    EXPECT_EQ(mask.getMagnitudeKind(), LevelPower);
    EXPECT_EQ(&mask.bandFrequencies(), &frequencyTable(3));

    FrequencyMask fill(LevelDecibels, 6.0);
    EXPECT_EQ(fill.magnitudes(), DoubleBuffer(28, 6.0));
    EXPECT_EQ(fill.phases(), DoubleBuffer(28, 0.0));
    EXPECT_EQ(fill.getPhaseKind(), PhaseDelay);
    EXPECT_TRUE(fill.getBandSelection().all());

    FrequencyMask both(LevelAmplitude, PhaseRadians, 1.5, 0.25);
    EXPECT_EQ(both.magnitudes(), DoubleBuffer(28, 1.5));
    EXPECT_EQ(both.phases(), DoubleBuffer(28, 0.25));

    FrequencyMask moved(std::move(both));
    EXPECT_TRUE(both.magnitudes().empty());
    EXPECT_EQ(moved.magnitudes().count(), 28u);
    FrequencyMask copy(moved);
    copy.magnitudes()[0] = 9.0;
    EXPECT_EQ(moved.magnitudes()[0], 1.5);
    copy.release();
    EXPECT_TRUE(copy.phases().empty());
}

TEST(FrequencyMask, RepresentationRoundTrip)
{
    FrequencyMask mask(filled(28, 0.5, 0.1), DoubleBuffer(28, 0.001), LevelAmplitude, PhaseDelay);
    FrequencyMask db = mask.convertedCopy(LevelDecibels, PhaseRadians);
    EXPECT_EQ(db.getMagnitudeKind(), LevelDecibels);
    EXPECT_EQ(db.getPhaseKind(), PhaseRadians);
    EXPECT_NEAR(db.magnitudes()[5], 0.0, 1e-12); // amplitude 1.0
    EXPECT_NEAR(db.phases()[15], TwoPi, 1e-12);  // 1 ms at 1 kHz
    EXPECT_NEAR(db.phases()[0], TwoPi * 31.5 * 0.001, 1e-12);

    FrequencyMask back = db.convertedCopy(LevelPower, PhaseDelay);
    for (uint32_t i = 0; i < 28; ++i)
    {
        EXPECT_NEAR(back.magnitudes()[i], std::pow(0.5 + 0.1 * i, 2), 1e-12);
        EXPECT_NEAR(back.phases()[i], 0.001, 1e-15);
    }
    FrequencyMask phaseOnly = mask.convertedCopyPhase(PhaseRadians);
    EXPECT_EQ(phaseOnly.getMagnitudeKind(), LevelAmplitude);
    EXPECT_EQ(phaseOnly.magnitudes(), mask.magnitudes());

    // Unknown kinds and empty masks change nothing.
    FrequencyMask same = mask.convertedCopy(static_cast<MagnitudeKind>(9), static_cast<PhaseKind>(4));
    EXPECT_EQ(same.getMagnitudeKind(), LevelAmplitude);
    EXPECT_EQ(same.getPhaseKind(), PhaseDelay);
    EXPECT_EQ(same.magnitudes(), mask.magnitudes());
    FrequencyMask empty;
    empty.setRepresentation(LevelDecibels, PhaseRadians);
    EXPECT_EQ(empty.getMagnitudeKind(), LevelAmplitude);
}

TEST(FrequencyMask, SumSelectedBands)
{
    FrequencyMask mask(filled(28, 1.0, 1.0), DoubleBuffer(28), LevelAmplitude, PhaseDelay);
    EXPECT_DOUBLE_EQ(mask.sumSelectedBands(LevelAmplitude, BandSelection(0)), 0.0);
    EXPECT_DOUBLE_EQ(mask.sumSelectedBands(LevelAmplitude, BandSelection()), 28.0 * 29.0 / 2.0);
    EXPECT_DOUBLE_EQ(mask.sumSelectedBands(LevelPower, BandSelection(0b101)), 1.0 + 9.0);
    // The mask itself is left in its kind.
    EXPECT_EQ(mask.getMagnitudeKind(), LevelAmplitude);
    EXPECT_DOUBLE_EQ(FrequencyMask().sumSelectedBands(LevelAmplitude, BandSelection()), 0.0);
}

TEST(BandSelection, IntersectAndOverlap)
{
    BandSelection a(0b1100);
    EXPECT_TRUE(a.overlaps(BandSelection(0b0100)));
    EXPECT_FALSE(a.overlaps(BandSelection(0b0011)));
    EXPECT_EQ((a &= BandSelection(0b0110)).bits(), 0b0100u);
    EXPECT_EQ(a.bits(), 0b0100u);
    EXPECT_TRUE(a.test(2));
    EXPECT_FALSE(a.test(40));
    EXPECT_TRUE(BandSelection().all());
}
