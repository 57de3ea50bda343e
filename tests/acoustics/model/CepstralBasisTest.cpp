#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/ArrivalsSum.h"
#include "acoustics/model/BandPhaseTables.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace zorvpro::acoustics;

TEST(BandPhaseTables, BandWidthAndEdgeTables)
{
    const double expectedT1[] = {-0.2084137382, -0.06770280362, -0.07363107782, -0.09203884727, -0.1104466167,
                                 -0.1472621556, -0.1840776945,  -0.2208932335,  -0.2945243113,  -0.3681553891,
                                 -0.4601942364, -0.5890486225,  -0.7363107782,  -0.9203884727,  -1.159689476,
                                 -1.472621556,  -1.840776945,   -2.319378951,   -2.945243113,   -3.681553891,
                                 -4.638757903,  -5.872078456,   -7.381515551,   -9.295923575,   -11.72574914,
                                 -14.7630311,   -18.59184715,   -60.59837704};
    const DoubleBuffer& t1 = bandWidthPhaseTable(3);
    const DoubleBuffer& t2 = bandEdgePhaseTable(3);
    ASSERT_EQ(t1.count(), 28u);
    ASSERT_EQ(t2.count(), 28u);
    double running = 0.0;
    for (uint32_t k = 0; k < 28; ++k)
    {
        EXPECT_NEAR(t1[k], expectedT1[k], 1e-9 * std::fabs(expectedT1[k]) + 1e-10) << k;
        EXPECT_NEAR(t2[k], running, 1e-9) << k;
        running -= t1[k];
    }
    EXPECT_EQ(t2[0], 0.0);
    EXPECT_NEAR(t2[1], 0.2084137382, 1e-10);
    EXPECT_NEAR(t2[15], 5.632777453, 1e-9);
    EXPECT_NEAR(t2[27], 90.16125479, 1e-8);
    EXPECT_TRUE(bandWidthPhaseTable(1).empty());
    EXPECT_TRUE(bandEdgePhaseTable(-1).empty());
}

TEST(BandPhaseTables, CoherenceWindow)
{
    const DoubleBuffer& w = coherenceWindowTable(3);
    ASSERT_EQ(w.count(), 601u);
    EXPECT_EQ(w[0], 1.0);
    EXPECT_NEAR(w[25], 0.988204224865721, 1e-14);
    EXPECT_NEAR(w[50], 0.955059897400771, 1e-14);
    EXPECT_NEAR(w[100], 0.838183573106174, 1e-14);
    EXPECT_NEAR(w[150], 0.676287002370838, 1e-14);
    EXPECT_NEAR(w[200], 0.496286160449397, 1e-14);
    EXPECT_NEAR(w[300], 0.188927258372957, 1e-14);
    EXPECT_NEAR(w[400], 0.041099561372975, 1e-14);
    EXPECT_NEAR(w[500], 0.00157691612359008, 1e-15);
    EXPECT_NEAR(w[550], 8.52651326064493e-9, 1e-18);
    for (uint32_t k = 1; k < 551; ++k)
        EXPECT_LT(w[k], w[k - 1]) << k;
    for (uint32_t k = 551; k < 601; ++k)
        EXPECT_EQ(w[k], 0.0) << k;

    EXPECT_EQ(CepstralBasis::coherenceWindow(0.004, 3), 1.0);
    EXPECT_EQ(CepstralBasis::coherenceWindow(-1, 3), CepstralBasis::coherenceWindow(1, 3));
    EXPECT_EQ(CepstralBasis::coherenceWindow(1, 3), w[100]);
    EXPECT_EQ(CepstralBasis::coherenceWindow(0.255, 3), w[26]); // halves away from zero
    EXPECT_EQ(CepstralBasis::coherenceWindow(6.01, 3), 0.0);
    EXPECT_EQ(CepstralBasis::coherenceWindow(1e300, 3), 0.0);
    EXPECT_EQ(CepstralBasis::coherenceWindow(std::nan(""), 3), 0.0);
    EXPECT_EQ(CepstralBasis::coherenceWindow(0.5, 1), 0.0);
}

TEST(BandPhaseTables, CepstralBasisProperties)
{
    const DoubleBuffer& m = cepstralBasisMatrix(3);
    ASSERT_EQ(m.count(), 784u);
    for (uint32_t i = 0; i < 28; ++i)
    {
        const double diagonal = m[i * 28 + i];
        EXPECT_GT(diagonal, 0.0) << i;
        double rowSum = 0.0;
        for (uint32_t j = 0; j < 28; ++j)
        {
            rowSum += m[i * 28 + j];
            if (j != i)
            {
                EXPECT_LT(std::fabs(m[i * 28 + j]), diagonal) << i << "," << j;
            }
        }
        EXPECT_LT(std::fabs(rowSum), 0.01) << i;
    }
    // The derived table follows the shape of the reference rows: same signs,
    // row 0 within 0.05 ms/dB, row 1 and the peak within 0.5 ms/dB.
    EXPECT_NEAR(m[0], 0.6027495231504608, 0.05);
    EXPECT_NEAR(m[1], -0.31263328399805895, 0.05);
    EXPECT_NEAR(m[2], -0.05997289469324595, 0.05);
    EXPECT_NEAR(m[3], -0.06046571862177493, 0.05);
    EXPECT_NEAR(m[28], -0.5355059875006329, 0.5);
    EXPECT_NEAR(m[29], 1.9246244479593204, 0.5);
    EXPECT_NEAR(m[30], -1.0975438665088604, 0.5);
    EXPECT_NEAR(m[2 * 28 + 2], 2.1624764242787946, 0.6);
    EXPECT_NEAR(m[27 * 28 + 27], 0.00462211550598909, 0.005);
    EXPECT_TRUE(cepstralBasisMatrix(1).empty());
}

TEST(CepstralBasis, MinimumPhaseDelay)
{
    // A flat response has (almost) no minimum-phase delay.
    auto flat = CepstralBasis::minimumPhaseDelay(FrequencyMask(LevelAmplitude, 2.0));
    ASSERT_EQ(flat.count(), 28u);
    for (double d : flat)
        EXPECT_NEAR(d, 0.0, 1e-4 * 6.0 / 1000.0);

    // A 1 dB boost in one band gives that band's column, in seconds.
    FrequencyMask boost(LevelDecibels, 0.0);
    boost.magnitudes()[10] = 1.0;
    auto delay = CepstralBasis::minimumPhaseDelay(boost);
    const DoubleBuffer& m = cepstralBasisMatrix(3);
    for (uint32_t i = 0; i < 28; ++i)
        EXPECT_NEAR(delay[i], 0.001 * m[i * 28 + 10], 1e-15) << i;
    // Power and amplitude of the same level give the same delays.
    auto fromPower = CepstralBasis::minimumPhaseDelay(boost.convertedCopy(LevelPower));
    auto fromAmplitude = CepstralBasis::minimumPhaseDelay(boost.convertedCopy(LevelAmplitude));
    for (uint32_t i = 0; i < 28; ++i)
        EXPECT_NEAR(fromPower[i], fromAmplitude[i], 1e-12);

    EXPECT_TRUE(CepstralBasis::minimumPhaseDelay(FrequencyMask()).empty());
}

TEST(CepstralBasis, ExcessPhase)
{
    auto constant = CepstralBasis::excessPhase(DoubleBuffer(28, 0.0123), 3);
    ASSERT_EQ(constant.count(), 28u);
    for (double phi : constant)
        EXPECT_NEAR(phi, 0.0, 1e-9);

    // A delay only in band 1 shifts band 1 by its lower edge and every later
    // band by its width.
    DoubleBuffer one(28, 0.0);
    one[1] = 0.001;
    auto phi = CepstralBasis::excessPhase(one, 3);
    EXPECT_EQ(phi[0], 0.0);
    EXPECT_NEAR(phi[1], bandEdgePhaseTable(3)[1], 1e-12);
    EXPECT_NEAR(phi[2], bandWidthPhaseTable(3)[1], 1e-12);
    EXPECT_NEAR(phi[27], bandWidthPhaseTable(3)[1], 1e-12);

    EXPECT_TRUE(CepstralBasis::excessPhase(DoubleBuffer(), 3).empty());
    EXPECT_EQ(CepstralBasis::excessPhase(one, 1), DoubleBuffer(28, 0.0));
}

TEST(CepstralBasis, CrossTerm)
{
    DoubleBuffer x(28, 0.25);
    DoubleBuffer dphi(28, 0.0);
    dphi[3] = 6.283185307179586 * 0.25;
    auto c = CepstralBasis::crossTerm(x, dphi, 3);
    ASSERT_EQ(c.count(), 28u);
    EXPECT_NEAR(c[0], 0.0, 1e-12); // cos(pi / 2)
    EXPECT_NEAR(c[3], coherenceWindowTable(3)[25], 1e-12);
    EXPECT_EQ(CepstralBasis::crossTerm(DoubleBuffer(27), DoubleBuffer(27), 3), DoubleBuffer(28, 0.0));
    EXPECT_EQ(CepstralBasis::crossTerm(x, DoubleBuffer(), 3), DoubleBuffer(28, 0.0));
}

TEST(CepstralBasis, MathCombinesAmplitudesAndDelays)
{
    FrequencyMask target(LevelAmplitude, PhaseDelay, 2.0, 0.001);
    FrequencyMask operand(LevelAmplitude, PhaseDelay, 3.0, 0.002);
    CepstralBasis::math(target, CepstralBasis::Combine, operand);
    EXPECT_EQ(target.magnitudes(), DoubleBuffer(28, 6.0));
    EXPECT_NEAR(target.phases()[7], 0.003, 1e-15);
    CepstralBasis::math(target, CepstralBasis::Separate, operand);
    EXPECT_EQ(target.magnitudes(), DoubleBuffer(28, 2.0));
    EXPECT_NEAR(target.phases()[7], 0.001, 1e-15);

    // An operand in other kinds is converted first: 20 dB is a factor 10.
    FrequencyMask decibels(LevelDecibels, PhaseDelay, 20.0, 0.0);
    CepstralBasis::math(target, CepstralBasis::Combine, decibels);
    EXPECT_NEAR(target.magnitudes()[0], 20.0, 1e-12);

    // A decibel target adds levels; magnitudes with zeros on both sides and
    // an unknown operation leave it alone.
    FrequencyMask levels(LevelDecibels, PhaseDelay, 0.0, 0.0);
    CepstralBasis::math(levels, CepstralBasis::Combine, FrequencyMask(LevelDecibels, PhaseDelay, 6.0, 0.0));
    EXPECT_EQ(levels.magnitudes(), DoubleBuffer(28, 6.0));
    CepstralBasis::math(levels, CepstralBasis::Combine, FrequencyMask(LevelDecibels, PhaseDelay, 0.0, 0.0));
    EXPECT_EQ(levels.magnitudes(), DoubleBuffer(28, 6.0));
    CepstralBasis::math(levels, 5, FrequencyMask(LevelDecibels, PhaseDelay, 1.0, 1.0));
    EXPECT_EQ(levels.magnitudes(), DoubleBuffer(28, 6.0));
    CepstralBasis::math(levels, CepstralBasis::Combine, FrequencyMask());
    EXPECT_EQ(levels.magnitudes(), DoubleBuffer(28, 6.0));
}

TEST(CepstralBasis, MathOnRadians)
{
    // Radians without zeros go through delays and come back as radians.
    FrequencyMask target(LevelAmplitude, PhaseRadians, 1.0, 1.0);
    FrequencyMask operand(LevelAmplitude, PhaseRadians, 1.0, 0.5);
    CepstralBasis::math(target, CepstralBasis::Combine, operand);
    EXPECT_EQ(target.getPhaseKind(), PhaseRadians);
    EXPECT_NEAR(target.phases()[4], 1.5, 1e-12);

    // Radians holding a zero cannot be combined.
    FrequencyMask zero(LevelAmplitude, PhaseRadians, 1.0, 0.0);
    try
    {
        CepstralBasis::math(zero, CepstralBasis::Combine,
                            FrequencyMask(LevelAmplitude, PhaseRadians, 1.0, 0.5));
        FAIL() << "expected invalid_argument";
    }
    catch (const std::invalid_argument& e)
    {
        EXPECT_STREQ(e.what(), "Invalid arguments CepstralBasis::math");
    }
}
