#include "acoustics/model/BandPhaseTables.h"

#include "acoustics/model/FrequencyBands.h"

#include <cmath>

namespace zorvpro::acoustics
{

namespace
{

constexpr double TwoPi = 6.283185307179586;
// The band intervals lie on the bins of a 16384-point transform at 48 kHz.
constexpr double BinWidth = 48000.0 / 16384.0;
constexpr double CoherenceHalfWidth = 5.508932669994415;
constexpr int CoherenceSamples = 601;

const double CepstralBasisValues[] = {
#include "acoustics/model/CepstralBasisMatrix.inc"
};
static_assert(sizeof(CepstralBasisValues) / sizeof(double) == CalculationBandCount * CalculationBandCount);

const DoubleBuffer& emptyTable()
{
    static const DoubleBuffer empty;
    return empty;
}

DoubleBuffer makeEdges()
{
    static const int lowerBins[] = {15,  19,  24,  30,  38,  48,  60,   76,   96,   121,  153,  193,  243,
                                    306, 386, 486, 612, 772, 972, 1224, 1543, 1944, 2449, 3086, 3888, 4898};
    DoubleBuffer edges(CalculationBandCount + 1);
    edges[0] = 0.0;
    edges[1] = 33.17007664279894;
    for (uint32_t k = 2; k < CalculationBandCount; ++k)
        edges[k] = lowerBins[k - 2] * BinWidth;
    edges[CalculationBandCount] = 8190 * BinWidth;
    return edges;
}

double parzen(double x)
{
    const double s = std::fabs(x) / CoherenceHalfWidth;
    if (s <= 0.5)
        return 1.0 - 6.0 * s * s + 6.0 * s * s * s;
    if (s <= 1.0)
        return 2.0 * (1.0 - s) * (1.0 - s) * (1.0 - s);
    return 0.0;
}

} // namespace

const DoubleBuffer& bandIntervalEdges(int32_t code)
{
    static const DoubleBuffer edges = makeEdges();
    return code == ThirdOctaveBands ? edges : emptyTable();
}

const DoubleBuffer& bandWidthPhaseTable(int32_t code)
{
    static const DoubleBuffer table = []
    {
        const DoubleBuffer& edges = bandIntervalEdges(ThirdOctaveBands);
        DoubleBuffer t(CalculationBandCount);
        for (uint32_t k = 0; k < CalculationBandCount; ++k)
            t[k] = -TwoPi * (edges[k + 1] - edges[k]) / 1000.0;
        return t;
    }();
    return code == ThirdOctaveBands ? table : emptyTable();
}

const DoubleBuffer& bandEdgePhaseTable(int32_t code)
{
    static const DoubleBuffer table = []
    {
        const DoubleBuffer& edges = bandIntervalEdges(ThirdOctaveBands);
        DoubleBuffer t(CalculationBandCount);
        for (uint32_t k = 0; k < CalculationBandCount; ++k)
            t[k] = TwoPi * edges[k] / 1000.0;
        return t;
    }();
    return code == ThirdOctaveBands ? table : emptyTable();
}

const DoubleBuffer& coherenceWindowTable(int32_t code)
{
    static const DoubleBuffer table = []
    {
        DoubleBuffer w(CoherenceSamples);
        for (int k = 0; k < CoherenceSamples; ++k)
            w[k] = parzen(k / 100.0);
        return w;
    }();
    return code == ThirdOctaveBands ? table : emptyTable();
}

const DoubleBuffer& cepstralBasisMatrix(int32_t code)
{
    static const DoubleBuffer table = []
    {
        DoubleBuffer m(CalculationBandCount * CalculationBandCount);
        std::copy(std::begin(CepstralBasisValues), std::end(CepstralBasisValues), m.begin());
        return m;
    }();
    return code == ThirdOctaveBands ? table : emptyTable();
}

} // namespace zorvpro::acoustics
