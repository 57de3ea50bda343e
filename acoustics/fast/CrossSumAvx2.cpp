// Only this function is built for AVX2 with FMA (by its target attribute), so
// nothing shared with the rest of the program can pick those instructions up.
#include "acoustics/fast/CoherenceWindowLanes.h"
#include "acoustics/fast/CrossSumKernels.h"

#include <immintrin.h>

#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace zorvpro::acoustics::fast
{

__attribute__((target("avx2,fma"), ZORV_UNFUSED)) void crossSumAvx2(const CrossSumInput& in,
                                                                    CrossSumResult& out)
{
    const __m256d frequency = _mm256_set1_pd(in.frequency);
    const __m256d hundred = _mm256_set1_pd(100.0);
    const __m256d signBit = _mm256_set1_pd(-0.0);
    // Truncating v + (1/2 - 2^-54) gives the nearest integer to v with halves
    // away from zero, for every 0 <= v < 2^52; the sum must not be fused with
    // the product before it (contraction is off here), as the index needs the
    // rounded product itself.
    const __m256d nearHalf = _mm256_set1_pd(0.49999999999999994);
    const __m256d step = _mm256_set1_pd(0.01 / CoherenceHalfWidthCycles);
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d three = _mm256_set1_pd(3.0);
    const __m256d half = _mm256_set1_pd(0.5);
    const __m256d zero = _mm256_setzero_pd();
    __m256d sum = zero;
    uint64_t hits = 0;
    for (uint64_t d = 1; d <= in.longest; ++d)
    {
        for (uint64_t i = 0; i + d < in.n; i += 4)
        {
            const uint64_t j = i + d;
            const __m256d x = _mm256_mul_pd(
                _mm256_sub_pd(_mm256_loadu_pd(in.delay + i), _mm256_loadu_pd(in.delay + j)), frequency);
            const __m256d v = _mm256_mul_pd(_mm256_andnot_pd(signBit, x), hundred);
            const __m256d index =
                _mm256_round_pd(_mm256_add_pd(v, nearHalf), _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
            // Half the Parzen window at s = index / 100 / L: 1/2 - 3 s^2 + 3 s^3
            // below s = 1/2, (1 - s)^3 up to s = 1, 0 beyond.
            const __m256d s = _mm256_mul_pd(index, step);
            const __m256d t = _mm256_sub_pd(one, s);
            const __m256d inner =
                _mm256_fmadd_pd(_mm256_mul_pd(s, s), _mm256_fmsub_pd(s, three, three), half);
            const __m256d outer = _mm256_mul_pd(_mm256_mul_pd(t, t), t);
            const __m256d window = _mm256_blendv_pd(outer, inner, _mm256_cmp_pd(s, half, _CMP_LT_OQ));
            __m256d live = _mm256_cmp_pd(t, zero, _CMP_GT_OQ);
            if (in.masked)
            {
                const __m256i common =
                    _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in.selection + i)),
                                     _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in.selection + j)));
                const __m256i none = _mm256_cmpeq_epi64(common, _mm256_setzero_si256());
                live = _mm256_andnot_pd(_mm256_castsi256_pd(none), live);
                hits += static_cast<uint64_t>(__builtin_popcount(_mm256_movemask_pd(live)));
            }
            const __m256d products = _mm256_fmadd_pd(
                _mm256_loadu_pd(in.quadrature + i), _mm256_loadu_pd(in.quadrature + j),
                _mm256_mul_pd(_mm256_loadu_pd(in.inPhase + i), _mm256_loadu_pd(in.inPhase + j)));
            sum = _mm256_fmadd_pd(_mm256_and_pd(live, window), products, sum);
        }
    }
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, sum);
    out.halfSum = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
    out.hits = hits;
}

} // namespace zorvpro::acoustics::fast
