#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace zorvpro::acoustics::fast
{

// Four doubles processed together; with a wide-vector target the compiler
// maps these onto one register, otherwise onto pairs.
typedef double Lanes __attribute__((vector_size(32)));
typedef int64_t LaneMask __attribute__((vector_size(32)));

// Arguments beyond this magnitude leave the exact range of the three-part
// reduction below; such lanes go through std::cos.
constexpr double CosineReductionLimit = 1.0e6;

// The cosine of each lane, within 1e-15 of the exactly rounded value for
// |x| <= CosineReductionLimit (NaN and infinities follow std::cos).
// Taken by reference so that no wide vector crosses a function boundary by
// value (that would tie the code to one calling convention).
inline __attribute__((always_inline)) void cosineLanes(const Lanes& x, Lanes& out)
{
    // Quadrant count n = nearest integer to x / (pi/2): adding 1.5 * 2^52
    // rounds to an integer, whose low bits then sit in the mantissa.
    constexpr double Shifter = 6755399441055744.0;
    constexpr double TwoOverPi = 0.63661977236758134308;
    // pi/2 in three parts; the first two carry 33 bits each, so n * part is
    // exact for |n| < 2^20.
    constexpr double HalfPi1 = 1.57079632673412561417e+00;
    constexpr double HalfPi2 = 6.07710050630396597660e-11;
    constexpr double HalfPi3 = 2.02226624871116645580e-21;

    const Lanes shifted = x * TwoOverPi + Shifter;
    const Lanes n = shifted - Shifter;
    LaneMask quadrant;
    __builtin_memcpy(&quadrant, &shifted, sizeof(quadrant));
    quadrant &= 3;

    const Lanes r = ((x - n * HalfPi1) - n * HalfPi2) - n * HalfPi3;
    const Lanes z = r * r;

    // Taylor series on |r| <= pi/4: the first omitted terms are below 1e-17.
    const Lanes c =
        1.0 +
        z * (-1.0 / 2 +
             z * (1.0 / 24 +
                  z * (-1.0 / 720 +
                       z * (1.0 / 40320 + z * (-1.0 / 3628800 + z * (1.0 / 479001600 +
                                                                     z * (-1.0 / 87178291200.0 +
                                                                          z * (1.0 / 20922789888000.0))))))));
    const Lanes s =
        r + r * z *
                (-1.0 / 6 +
                 z * (1.0 / 120 + z * (-1.0 / 5040 + z * (1.0 / 362880 +
                                                          z * (-1.0 / 39916800 +
                                                               z * (1.0 / 6227020800.0 +
                                                                    z * (-1.0 / 1307674368000.0 +
                                                                         z * (1.0 / 355687428096000.0))))))));

    // cos(r + n pi/2) by quadrant: cos r, -sin r, -cos r, sin r.
    const Lanes even = (quadrant & 1) == 0 ? c : s;
    const LaneMask negate = (quadrant == 1) | (quadrant == 2);
    out = negate ? -even : even;

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

} // namespace zorvpro::acoustics::fast
