// Only this function is built for AVX-512 (by its target attribute), so
// nothing shared with the rest of the program can pick those instructions up.
#include "acoustics/fast/CoherenceWindowLanes.h"
#include "acoustics/fast/CrossSumKernels.h"

#include <immintrin.h>

namespace zorvpro::acoustics::fast
{

__attribute__((target("avx512f"))) void crossSumAvx512(const CrossSumInput& in, CrossSumResult& out)
{
    const __m512d frequency = _mm512_set1_pd(in.frequency);
    const __m512d hundred = _mm512_set1_pd(100.0);
    const __m512i magnitudeBits = _mm512_set1_epi64(0x7FFFFFFFFFFFFFFF);
    // Truncating v + (1/2 - 2^-54) gives the nearest integer to v with halves
    // away from zero, for every 0 <= v < 2^52; the sum is not fused with the
    // product before it (contraction is off), as the index needs v itself.
    const __m512d nearHalf = _mm512_set1_pd(0.49999999999999994);
    const __m512d step = _mm512_set1_pd(0.01 / CoherenceHalfWidthCycles);
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512d three = _mm512_set1_pd(3.0);
    const __m512d half = _mm512_set1_pd(0.5);
    const __m512d zero = _mm512_setzero_pd();
    __m512d sum = zero;
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
            // Half the Parzen window at s = index / 100 / L: 1/2 - 3 s^2 + 3 s^3
            // below s = 1/2, (1 - s)^3 up to s = 1, 0 beyond.
            const __m512d s = _mm512_mul_pd(index, step);
            const __m512d t = _mm512_sub_pd(one, s);
            const __m512d inner =
                _mm512_fmadd_pd(_mm512_mul_pd(s, s), _mm512_fmsub_pd(s, three, three), half);
            const __m512d outer = _mm512_mul_pd(_mm512_mul_pd(t, t), t);
            const __m512d window =
                _mm512_mask_blend_pd(_mm512_cmp_pd_mask(s, half, _CMP_LT_OQ), outer, inner);
            __mmask8 live = _mm512_cmp_pd_mask(t, zero, _CMP_GT_OQ);
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
