#pragma once

#include "acoustics/fast/VectorCosine.h"

#include <cfloat>
#include <cmath>

namespace zorvpro::acoustics::fast
{

// log10 of each lane, within a few units in the last place of std::log10
// for positive normal values; other lanes (zero, negative, subnormal,
// infinite, NaN) go through std::log10.
inline __attribute__((always_inline)) void log10Lanes(const Lanes& x, Lanes& out)
{
    constexpr double Ln2Hi = 6.93147180369123816490e-01; // 33 bits: e * Ln2Hi is exact
    constexpr double Ln2Lo = 1.90821492927058770002e-10;
    constexpr double InverseLn10 = 0.43429448190325182765;
    constexpr double Sqrt2 = 1.41421356237309504880;

    LaneMask bits;
    __builtin_memcpy(&bits, &x, sizeof(bits));
    LaneMask exponent = (bits >> 52) - 1023;
    const LaneMask mantissaBits = (bits & 0x000FFFFFFFFFFFFFLL) | 0x3FF0000000000000LL;
    Lanes m;
    __builtin_memcpy(&m, &mantissaBits, sizeof(m));
    // m in [sqrt(1/2), sqrt(2)): log m = 2 atanh((m - 1) / (m + 1)).
    const LaneMask high = m > Sqrt2;
    m = high ? 0.5 * m : m;
    exponent -= high; // true lanes are -1
    const Lanes f = (m - 1.0) / (m + 1.0);
    const Lanes z = f * f;
    // |f| <= 0.1716, so z <= 0.0295 and the series' first omitted term,
    // z^11 / 23, is below 1e-18.
    Lanes s = z * (1.0 / 21.0) + 1.0 / 19.0;
    s = s * z + 1.0 / 17.0;
    s = s * z + 1.0 / 15.0;
    s = s * z + 1.0 / 13.0;
    s = s * z + 1.0 / 11.0;
    s = s * z + 1.0 / 9.0;
    s = s * z + 1.0 / 7.0;
    s = s * z + 1.0 / 5.0;
    s = s * z + 1.0 / 3.0;
    const Lanes logM = 2.0 * f + (2.0 * f * z) * s;
    const Lanes e = __builtin_convertvector(exponent, Lanes);
    out = (e * Ln2Hi + (e * Ln2Lo + logM)) * InverseLn10;

    const LaneMask outside = !((x >= DBL_MIN) & (x <= DBL_MAX)); // also true for NaN
    if (outside[0] | outside[1] | outside[2] | outside[3])
    {
        for (int lane = 0; lane < 4; ++lane)
            if (outside[lane])
                out[lane] = std::log10(x[lane]);
    }
}

// 10 to the power of each lane for |x| < 300, within 5e-16 (1 + 3.33 |x|)
// relative of std::pow(10, x) (the rounding of x log2(10) grows with x); other
// lanes go through std::pow.
inline __attribute__((always_inline)) void exp10Lanes(const Lanes& x, Lanes& out)
{
    constexpr double Log2Of10 = 3.32192809488736234787;
    constexpr double Ln2 = 0.69314718055994530942;
    constexpr double Shifter = 6755399441055744.0; // 1.5 * 2^52

    // 10^x = 2^n e^g with n the nearest integer to y = x log2(10) and
    // g = (y - n) ln 2, |g| <= 0.347.
    const Lanes y = x * Log2Of10;
    const Lanes n = (y + Shifter) - Shifter;
    const Lanes g = (y - n) * Ln2;
    // Taylor series to g^14 / 14!; the first omitted term is below 1e-18.
    Lanes p = g * (1.0 / 87178291200.0) + 1.0 / 6227020800.0;
    p = p * g + 1.0 / 479001600.0;
    p = p * g + 1.0 / 39916800.0;
    p = p * g + 1.0 / 3628800.0;
    p = p * g + 1.0 / 362880.0;
    p = p * g + 1.0 / 40320.0;
    p = p * g + 1.0 / 5040.0;
    p = p * g + 1.0 / 720.0;
    p = p * g + 1.0 / 120.0;
    p = p * g + 1.0 / 24.0;
    p = p * g + 1.0 / 6.0;
    p = p * g + 0.5;
    p = p * g + 1.0;
    p = p * g + 1.0;

    const Lanes magnitude = x < 0 ? -x : x;
    const LaneMask inside = magnitude < 300.0; // false for NaN
    const Lanes safeN = inside ? n : 0.0;
    const LaneMask scaleBits = (__builtin_convertvector(safeN, LaneMask) + 1023) << 52;
    Lanes scale;
    __builtin_memcpy(&scale, &scaleBits, sizeof(scale));
    out = p * scale;
    if (!(inside[0] & inside[1] & inside[2] & inside[3]))
    {
        for (int lane = 0; lane < 4; ++lane)
            if (!inside[lane])
                out[lane] = std::pow(10.0, x[lane]);
    }
}

} // namespace zorvpro::acoustics::fast
