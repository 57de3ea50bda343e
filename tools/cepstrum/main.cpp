// Derives the 28 x 28 matrix that turns per-band levels (dB) into per-band
// minimum-phase group delays (ms), and writes it as a C++ initialiser list.
//
// Column j is the response to a level of 1 dB at band j alone. The level is
// spread over frequency by linear interpolation between neighbouring band
// centres (held flat below the first and above the last centre), so the
// columns sum to a flat level, which has no phase: every row sums to zero.
// The minimum phase of that log-magnitude comes from the folded real cepstrum
// on the 16384-point, 48 kHz grid the band intervals are laid on; entry (i, j)
// is the mean group delay across band i's interval, i.e. the phase change
// from its lower to its upper edge over 2 pi times its width.

#include "tools/common/CommandLine.h"

#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

namespace
{

constexpr int GridSize = 16384;
constexpr double GridStep = 48000.0 / GridSize;
constexpr int Bands = 28;
constexpr double Pi = 3.14159265358979323846;

const double NominalCentres[Bands] = {31.5, 40,   50,   63,   80,   100,   125,   160,  200,  250,
                                      315,  400,  500,  630,  800,  1000,  1250,  1600, 2000, 2500,
                                      3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000};

// Lower edges of the band intervals (grid bins from band 2 on), then the top.
std::vector<double> bandEdges()
{
    const int bins[] = {15,  19,  24,  30,  38,  48,  60,   76,   96,   121,  153,  193,  243,
                        306, 386, 486, 612, 772, 972, 1224, 1543, 1944, 2449, 3086, 3888, 4898};
    std::vector<double> edges{0.0, 33.17007664279894};
    for (int bin : bins)
        edges.push_back(bin * GridStep);
    edges.push_back(8190 * GridStep);
    return edges;
}

using Complex = std::complex<double>;

void fft(std::vector<Complex>& a, bool inverse)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i)
    {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1)
    {
        const double angle = 2 * Pi / static_cast<double>(len) * (inverse ? 1 : -1);
        const Complex step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len)
        {
            Complex w(1);
            for (size_t j = 0; j < len / 2; ++j)
            {
                const Complex u = a[i + j], v = a[i + j + len / 2] * w;
                a[i + j] = u + v;
                a[i + j + len / 2] = u - v;
                w *= step;
            }
        }
    }
    if (inverse)
        for (auto& x : a)
            x /= static_cast<double>(n);
}

// Weight of band j's level at frequency f.
double spread(int j, double f)
{
    if (f <= NominalCentres[0])
        return j == 0 ? 1.0 : 0.0;
    if (f >= NominalCentres[Bands - 1])
        return j == Bands - 1 ? 1.0 : 0.0;
    int q = 0;
    while (f >= NominalCentres[q + 1])
        ++q;
    const double t = (f - NominalCentres[q]) / (NominalCentres[q + 1] - NominalCentres[q]);
    return j == q ? 1.0 - t : (j == q + 1 ? t : 0.0);
}

// Minimum phase (radians) on bins 0 .. GridSize/2 of a log magnitude (nepers).
std::vector<double> minimumPhase(std::vector<Complex> logMagnitude)
{
    fft(logMagnitude, true);
    for (int n = 1; n < GridSize / 2; ++n)
    {
        logMagnitude[n] *= 2.0;
        logMagnitude[GridSize - n] = 0.0;
    }
    fft(logMagnitude, false);
    std::vector<double> phase(GridSize / 2 + 1);
    for (int k = 0; k <= GridSize / 2; ++k)
        phase[k] = logMagnitude[k].imag();
    return phase;
}

double phaseAt(const std::vector<double>& phase, double f)
{
    const double x = f / GridStep;
    const int k = static_cast<int>(x);
    const double t = x - k;
    return phase[k] * (1.0 - t) + phase[k + 1] * t;
}

} // namespace

int main(int argc, char** argv)
{
    zorvpro::tools::CommandLine line = zorvpro::tools::ParseCommandLine(argc, argv, {});
    if (const int done = zorvpro::tools::SettleCommandLine(
            line, argv[0], "<output.inc>\nWrites the minimum-phase delay table as a C++ initialiser list.\n",
            1, 1);
        done >= 0)
        return done;
    const char* output = line.arguments[0].c_str();
    const auto edges = bandEdges();
    const double nepersPerDecibel = std::log(10.0) / 20.0;
    std::vector<std::vector<double>> matrix(Bands, std::vector<double>(Bands));
    for (int j = 0; j < Bands; ++j)
    {
        std::vector<Complex> level(GridSize);
        for (int k = 0; k <= GridSize / 2; ++k)
        {
            const double value = nepersPerDecibel * spread(j, k * GridStep);
            level[k] = value;
            if (k > 0 && k < GridSize / 2)
                level[GridSize - k] = value;
        }
        const auto phase = minimumPhase(level);
        for (int i = 0; i < Bands; ++i)
        {
            const double width = edges[i + 1] - edges[i];
            const double delay =
                -(phaseAt(phase, edges[i + 1]) - phaseAt(phase, edges[i])) / (2 * Pi * width);
            matrix[i][j] = delay * 1000.0;
        }
    }

    FILE* out = std::fopen(output, "w");
    if (!out)
    {
        std::perror(output);
        return 1;
    }
    std::fprintf(out, "// Generated by tools/cepstrum; do not edit. 28 x 28, row-major, ms per dB.\n");
    for (int i = 0; i < Bands; ++i)
    {
        for (int j = 0; j < Bands; ++j)
            std::fprintf(out, "%s%.17g,", j % 4 == 0 ? (j == 0 ? "" : "\n    ") : " ", matrix[i][j]);
        std::fprintf(out, "\n");
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
