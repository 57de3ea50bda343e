// Only this function is built for AVX-512 (by its target attribute), so
// nothing shared with the rest of the program can pick those instructions up.
#include "acoustics/fast/CoherenceWindowLanes.h"
#include "acoustics/fast/CrossSumKernels.h"

#include <immintrin.h>

namespace zorvpro::acoustics::fast
{

__attribute__((target("avx512f"), optimize("fp-contract=off"))) void crossSumAvx512(const CrossSumInput& in,
                                                                                    CrossSumResult& out)
{
    const __m512d frequency = _mm512_set1_pd(in.frequency);
    const __m512d hundred = _mm512_set1_pd(100.0);
    const __m512i magnitudeBits = _mm512_set1_epi64(0x7FFFFFFFFFFFFFFF);
    // Truncating v + (1/2 - 2^-54) gives the nearest integer to v with halves
    // away from zero, for every 0 <= v < 2^52; the sum must not be fused with
    // the product before it (contraction is off here), as the index needs the
    // rounded product itself.
    const __m512d nearHalf = _mm512_set1_pd(0.49999999999999994);
    // Half the window as a cubic in the index: 1/2 - 3 s^2 + 3 s^3 below
    // s = 1/2, (1 - s)^3 below s = 1, 0 beyond, with s = index x step.
    const double step = 0.01 / CoherenceHalfWidthCycles;
    const __m512d inner3 = _mm512_set1_pd(3.0 * step * step * step);
    const __m512d inner2 = _mm512_set1_pd(-3.0 * step * step);
    const __m512d inner1 = _mm512_setzero_pd();
    const __m512d inner0 = _mm512_set1_pd(0.5);
    const __m512d outer3 = _mm512_set1_pd(-step * step * step);
    const __m512d outer2 = _mm512_set1_pd(3.0 * step * step);
    const __m512d outer1 = _mm512_set1_pd(-3.0 * step);
    const __m512d outer0 = _mm512_set1_pd(1.0);
    // Indices 0 .. 275 lie below s = 1/2, 0 .. 550 below s = 1.
    const __m512d innerEnd = _mm512_set1_pd(275.5);
    const __m512d windowEnd = _mm512_set1_pd(550.5);
    __m512d sum = _mm512_setzero_pd();
    uint64_t hits = 0;
    for (uint64_t d = 1; d <= in.longest; ++d)
    {
        for (uint64_t i = 0; i + d < in.n; i += 8)
        {
            const uint64_t j = i + d;
            const __m512d x = _mm512_mul_pd(
                _mm512_sub_pd(_mm512_loadu_pd(in.delay + i), _mm512_loadu_pd(in.delay + j)), frequency);
            const __m512d v = _mm512_mul_pd(
                _mm512_castsi512_pd(_mm512_and_si512(_mm512_castpd_si512(x), magnitudeBits)), hundred);
            const __m512d index = _mm512_maskz_roundscale_pd(0xFF, _mm512_add_pd(v, nearHalf),
                                                             _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
            const __mmask8 inner = _mm512_cmp_pd_mask(index, innerEnd, _CMP_LT_OQ);
            __mmask8 live = _mm512_cmp_pd_mask(index, windowEnd, _CMP_LT_OQ);
            __m512d window = _mm512_mask_blend_pd(inner, outer3, inner3);
            window = _mm512_fmadd_pd(window, index, _mm512_mask_blend_pd(inner, outer2, inner2));
            window = _mm512_fmadd_pd(window, index, _mm512_mask_blend_pd(inner, outer1, inner1));
            window = _mm512_fmadd_pd(window, index, _mm512_mask_blend_pd(inner, outer0, inner0));
            if (in.masked)
            {
                live &= _mm512_test_epi64_mask(_mm512_loadu_si512(in.selection + i),
                                               _mm512_loadu_si512(in.selection + j));
                hits += static_cast<uint64_t>(__builtin_popcount(live));
            }
            const __m512d products = _mm512_fmadd_pd(
                _mm512_loadu_pd(in.quadrature + i), _mm512_loadu_pd(in.quadrature + j),
                _mm512_mul_pd(_mm512_loadu_pd(in.inPhase + i), _mm512_loadu_pd(in.inPhase + j)));
            sum = _mm512_mask3_fmadd_pd(window, products, sum, live);
        }
    }
    alignas(64) double lanes[8];
    _mm512_store_pd(lanes, sum);
    out.halfSum =
        ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) + ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
    out.hits = hits;
}

} // namespace zorvpro::acoustics::fast
