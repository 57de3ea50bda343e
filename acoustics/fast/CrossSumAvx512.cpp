// Only these functions are built for AVX-512 (by their target attribute), so
// nothing shared with the rest of the program can pick those instructions up.
#include "acoustics/fast/CoherenceWindowLanes.h"
#include "acoustics/fast/CrossSumKernels.h"

#include <immintrin.h>

#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace zorvpro::acoustics::fast
{

namespace
{

#define ZORV_AVX512 __attribute__((target("avx512f"), ZORV_UNFUSED))

struct Avx512Constants
{
    __m512d frequency;
    __m512d hundred;
    __m512i magnitudeBits;
    __m512d nearHalf;
    __m512d inner3, inner2, inner1, inner0;
    __m512d outer3, outer2, outer1, outer0;
    __m512d innerEnd, windowEnd;
};

// The terms of the pairs (i .. i + 7, j .. j + 7) added into sum, with the
// first arrivals' values already loaded.
ZORV_AVX512 inline __attribute__((always_inline)) void
addPairs(const Avx512Constants& c, const CrossSumInput& in, __m512d delayI, __m512d inPhaseI,
         __m512d quadratureI, __m512i selectionI, uint64_t j, __m512d& sum, uint64_t& hits)
{
    const __m512d x = _mm512_mul_pd(_mm512_sub_pd(delayI, _mm512_loadu_pd(in.delay + j)), c.frequency);
    const __m512d v = _mm512_mul_pd(
        _mm512_castsi512_pd(_mm512_and_si512(_mm512_castpd_si512(x), c.magnitudeBits)), c.hundred);
    const __m512d index = _mm512_maskz_roundscale_pd(0xFF, _mm512_add_pd(v, c.nearHalf),
                                                     _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __mmask8 inner = _mm512_cmp_pd_mask(index, c.innerEnd, _CMP_LT_OQ);
    __mmask8 live = _mm512_cmp_pd_mask(index, c.windowEnd, _CMP_LT_OQ);
    __m512d window = _mm512_mask_blend_pd(inner, c.outer3, c.inner3);
    window = _mm512_fmadd_pd(window, index, _mm512_mask_blend_pd(inner, c.outer2, c.inner2));
    window = _mm512_fmadd_pd(window, index, _mm512_mask_blend_pd(inner, c.outer1, c.inner1));
    window = _mm512_fmadd_pd(window, index, _mm512_mask_blend_pd(inner, c.outer0, c.inner0));
    if (in.masked)
    {
        live &= _mm512_test_epi64_mask(selectionI, _mm512_loadu_si512(in.selection + j));
        hits += static_cast<uint64_t>(__builtin_popcount(live));
    }
    const __m512d products = _mm512_fmadd_pd(quadratureI, _mm512_loadu_pd(in.quadrature + j),
                                             _mm512_mul_pd(inPhaseI, _mm512_loadu_pd(in.inPhase + j)));
    sum = _mm512_mask3_fmadd_pd(window, products, sum, live);
}

} // namespace

ZORV_AVX512 void crossSumAvx512(const CrossSumInput& in, CrossSumResult& out)
{
    // Truncating v + (1/2 - 2^-54) gives the nearest integer to v with halves
    // away from zero, for every 0 <= v < 2^52; the sum must not be fused with
    // the product before it (contraction is off here), as the index needs the
    // rounded product itself.
    // Half the window as a cubic in the index: 1/2 - 3 s^2 + 3 s^3 below
    // s = 1/2, (1 - s)^3 below s = 1, 0 beyond, with s = index x step.
    // Indices 0 .. 275 lie below s = 1/2, 0 .. 550 below s = 1.
    const double step = 0.01 / CoherenceHalfWidthCycles;
    const Avx512Constants c{_mm512_set1_pd(in.frequency),
                            _mm512_set1_pd(100.0),
                            _mm512_set1_epi64(0x7FFFFFFFFFFFFFFF),
                            _mm512_set1_pd(0.49999999999999994),
                            _mm512_set1_pd(3.0 * step * step * step),
                            _mm512_set1_pd(-3.0 * step * step),
                            _mm512_setzero_pd(),
                            _mm512_set1_pd(0.5),
                            _mm512_set1_pd(-step * step * step),
                            _mm512_set1_pd(3.0 * step * step),
                            _mm512_set1_pd(-3.0 * step),
                            _mm512_set1_pd(1.0),
                            _mm512_set1_pd(275.5),
                            _mm512_set1_pd(550.5)};
    // Four pair offsets share each load of the first arrivals' values, and
    // each has its own sum, so that their additions do not wait on each other.
    // Lanes of offsets d + 1 .. d + 3 that run past the last arrival read the
    // padding, whose window is 0.
    constexpr uint64_t Offsets = 4;
    __m512d sums[Offsets] = {_mm512_setzero_pd(), _mm512_setzero_pd(), _mm512_setzero_pd(),
                             _mm512_setzero_pd()};
    uint64_t hits = 0;
    const __m512i noSelection = _mm512_setzero_si512();
    uint64_t d = 1;
    for (; d + Offsets - 1 <= in.longest; d += Offsets)
    {
        for (uint64_t i = 0; i + d < in.n; i += 8)
        {
            const __m512d delayI = _mm512_loadu_pd(in.delay + i);
            const __m512d inPhaseI = _mm512_loadu_pd(in.inPhase + i);
            const __m512d quadratureI = _mm512_loadu_pd(in.quadrature + i);
            const __m512i selectionI = in.masked ? _mm512_loadu_si512(in.selection + i) : noSelection;
#pragma GCC unroll 4
            for (uint64_t u = 0; u < Offsets; ++u)
                addPairs(c, in, delayI, inPhaseI, quadratureI, selectionI, i + d + u, sums[u], hits);
        }
    }
    for (; d <= in.longest; ++d)
    {
        for (uint64_t i = 0; i + d < in.n; i += 8)
        {
            const __m512i selectionI = in.masked ? _mm512_loadu_si512(in.selection + i) : noSelection;
            addPairs(c, in, _mm512_loadu_pd(in.delay + i), _mm512_loadu_pd(in.inPhase + i),
                     _mm512_loadu_pd(in.quadrature + i), selectionI, i + d, sums[0], hits);
        }
    }
    const __m512d sum = _mm512_add_pd(_mm512_add_pd(sums[0], sums[1]), _mm512_add_pd(sums[2], sums[3]));
    alignas(64) double lanes[8];
    _mm512_store_pd(lanes, sum);
    out.halfSum =
        ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) + ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
    out.hits = hits;
}

} // namespace zorvpro::acoustics::fast
