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
// reduction below; such lanes go through std::cos.
constexpr double CosineReductionLimit = 1.0e6;

// The cosine of each lane, within 1e-15 of the exact value for
// |x| <= CosineReductionLimit (NaN and infinities follow std::cos).
// Taken by reference so that no wide vector crosses a function boundary by
// value (that would tie the code to one calling convention).
inline __attribute__((always_inline)) void cosineLanes(const Lanes& x, Lanes& out)
{
    // n = nearest integer to x / pi: adding 1.5 * 2^52 rounds to an integer,
    // whose lowest bit (the parity of n) then sits in the mantissa.
    constexpr double Shifter = 6755399441055744.0;
    constexpr double InversePi = 0.31830988618379067154;
    // pi in three parts; the first two carry 33 bits each, so n * part is
    // exact for |n| < 2^20.
    constexpr double Pi1 = 3.14159265346825122833e+00;
    constexpr double Pi2 = 1.21542010126079319532e-10;
    constexpr double Pi3 = 4.04453249742233291160e-21;

    const Lanes shifted = x * InversePi + Shifter;
    const Lanes n = shifted - Shifter;
    LaneMask parity;
    __builtin_memcpy(&parity, &shifted, sizeof(parity));
    parity &= 1;

    // |r| <= pi/2: the Taylor series up to r^22; the first omitted term is
    // below 1e-19.
    const Lanes r = ((x - n * Pi1) - n * Pi2) - n * Pi3;
    const Lanes z = r * r;
    Lanes c = z * (-1.0 / 1124000727777607680000.0) + 1.0 / 2432902008176640000.0;
    c = c * z - 1.0 / 6402373705728000.0;
    c = c * z + 1.0 / 20922789888000.0;
    c = c * z - 1.0 / 87178291200.0;
    c = c * z + 1.0 / 479001600.0;
    c = c * z - 1.0 / 3628800.0;
    c = c * z + 1.0 / 40320.0;
    c = c * z - 1.0 / 720.0;
    c = c * z + 1.0 / 24.0;
    c = c * z - 1.0 / 2.0;
    c = c * z + 1.0;

    // cos(r + n pi) = (-1)^n cos r.
    out = parity != 0 ? -c : c;

    const Lanes magnitude = x < 0 ? -x : x;
    // Also true for NaN lanes.
    const LaneMask outOfRange = !(magnitude <= CosineReductionLimit);
    if (outOfRange[0] | outOfRange[1] | outOfRange[2] | outOfRange[3])
    {
        for (int lane = 0; lane < 4; ++lane)
            if (outOfRange[lane])
                out[lane] = std::cos(x[lane]);
    }
}

// cos of count values, four at a time; the array form of cosineLanes.
void cosines(const double* x, double* out, std::size_t count);

// True when the processor runs the wide-vector (AVX2 with FMA) variants.
bool wideVectorsAvailable();

// Marks the wide-vector variant of a function. Products and sums fuse there.
#define ZORV_WIDE_VECTORS __attribute__((target("avx2,fma"), optimize("fp-contract=fast")))

} // namespace zorvpro::acoustics::fast
