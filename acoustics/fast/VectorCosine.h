#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace zorvpro::acoustics::fast
{

// Four doubles processed together; in code built for wide vectors the
// compiler maps these onto one register, otherwise onto pairs.
typedef double Lanes __attribute__((vector_size(32)));
typedef int64_t LaneMask __attribute__((vector_size(32)));

// Arguments beyond this magnitude leave the exact range of the three-part
// reduction below; such lanes go through std::cos and std::sin.
constexpr double CosineReductionLimit = 1.0e6;

// The cosine and sine of each lane from one reduction to |r| <= pi/4, within
// 1e-15 of the exact values for |x| <= CosineReductionLimit (NaN and
// infinities follow std::cos and std::sin).
inline __attribute__((always_inline)) void cosineSineLanes(const Lanes& x, Lanes& cosOut, Lanes& sinOut)
{
    constexpr double Shifter = 6755399441055744.0;
    constexpr double TwoOverPi = 0.63661977236758134308;
    // pi / 2 in three parts (halves of pi's); the first two carry 33 bits
    // each, so n * part is exact for |n| < 2^20.
    constexpr double HalfPi1 = 3.14159265346825122833e+00 / 2.0;
    constexpr double HalfPi2 = 1.21542010126079319532e-10 / 2.0;
    constexpr double HalfPi3 = 4.04453249742233291160e-21 / 2.0;

    // n = nearest integer to x / (pi / 2); its two lowest bits give the
    // quadrant.
    const Lanes shifted = x * TwoOverPi + Shifter;
    const Lanes n = shifted - Shifter;
    LaneMask quadrant;
    __builtin_memcpy(&quadrant, &shifted, sizeof(quadrant));
    quadrant &= 3;

    // |r| <= pi/4: Taylor series to r^16 and r^17; the first omitted terms
    // are below 3e-18.
    const Lanes r = ((x - n * HalfPi1) - n * HalfPi2) - n * HalfPi3;
    const Lanes z = r * r;
    Lanes c = z * (1.0 / 20922789888000.0) - 1.0 / 87178291200.0;
    c = c * z + 1.0 / 479001600.0;
    c = c * z - 1.0 / 3628800.0;
    c = c * z + 1.0 / 40320.0;
    c = c * z - 1.0 / 720.0;
    c = c * z + 1.0 / 24.0;
    c = c * z - 1.0 / 2.0;
    c = c * z + 1.0;
    Lanes s = z * (1.0 / 355687428096000.0) - 1.0 / 1307674368000.0;
    s = s * z + 1.0 / 6227020800.0;
    s = s * z - 1.0 / 39916800.0;
    s = s * z + 1.0 / 362880.0;
    s = s * z - 1.0 / 5040.0;
    s = s * z + 1.0 / 120.0;
    s = s * z - 1.0 / 6.0;
    s = (s * z) * r + r;

    // Quadrant q: cos x = c, -s, -c, s and sin x = s, c, -s, -c.
    const LaneMask odd = (quadrant & 1) != 0;
    const Lanes cosBase = odd ? s : c;
    const Lanes sinBase = odd ? c : s;
    const LaneMask cosNegative = ((quadrant + 1) & 2) != 0; // q = 1, 2
    const LaneMask sinNegative = (quadrant & 2) != 0;       // q = 2, 3
    cosOut = cosNegative ? -cosBase : cosBase;
    sinOut = sinNegative ? -sinBase : sinBase;

    const Lanes magnitude = x < 0 ? -x : x;
    // Also true for NaN lanes.
    const LaneMask outOfRange = !(magnitude <= CosineReductionLimit);
    if (outOfRange[0] | outOfRange[1] | outOfRange[2] | outOfRange[3])
    {
        for (int lane = 0; lane < 4; ++lane)
            if (outOfRange[lane])
            {
                cosOut[lane] = std::cos(x[lane]);
                sinOut[lane] = std::sin(x[lane]);
            }
    }
}

// cos and sin of count values, four at a time; the array form of
// cosineSineLanes.
void cosinesAndSines(const double* x, double* cosOut, double* sinOut, std::size_t count);

// True when the processor runs the wide-vector (AVX2 with FMA) variants.
bool wideVectorsAvailable();

// Marks the wide-vector variant of a function. Products and sums fuse there (clang has no
// per-function switch for it: its default fuses them within an expression).
#if defined(__clang__)
#define ZORV_WIDE_VECTORS __attribute__((target("avx2,fma")))
#else
#define ZORV_WIDE_VECTORS __attribute__((target("avx2,fma"), optimize("fp-contract=fast")))
#endif

} // namespace zorvpro::acoustics::fast
