#pragma once

#include <cstdint>
#include <vector>

namespace zorvpro::acoustics::fast
{

// Every array a kernel reads holds this many readable values beyond its last
// arrival: the widest kernel's eight lanes, read at up to three further pair
// offsets at once.
constexpr uint64_t KernelPadding = 16;

// One band of one point for the pair kernels: arrivals in delay order (or in
// any order when every pair lies inside the window), each arrival's
// amplitude-weighted cosine and sine of its phase angle, so that
// A_i A_j cos(a_i - a_j) = p_i p_j + q_i q_j. Padding beyond n holds delays
// so far away that the window reads 0 there, and zeros elsewhere.
struct CrossSumInput
{
    const double* delay;
    const double* inPhase;    // p = A cos a
    const double* quadrature; // q = A sin a
    const int64_t* selection; // band-selection bits, read only when masked
    uint64_t n;
    uint64_t longest; // pair offsets from 1 to this one are visited
    double frequency;
    // Pairs without common bands are left out (and terms are counted).
    bool masked;
};

struct CrossSumResult
{
    double halfSum = 0.0; // half the sum of A_i A_j W(x) cos(2 pi x - dphi) over pairs i < j
    uint64_t hits = 0;    // terms with a non-zero window, counted only when masked
};

// Every kernel takes the pairs (i, i + d) for d = 1 .. longest, with i
// running over all arrivals a vector at a time, reads the window at exactly
// the table's index (the nearest integer to 100 |x|, halves away from zero)
// from the window's own formula, which equals the table's entries to within
// rounding and is zero where they are, and expects finite values.
// Products and sums stay apart in every kernel (no fused multiply-add), so that all of them
// give the same sums. GCC takes that per function; clang has no such attribute, so each
// kernel's file also sets it for the whole file with `#pragma clang fp contract(off)`.
#if defined(__clang__)
#define ZORV_UNFUSED
#else
#define ZORV_UNFUSED optimize("fp-contract=off")
#endif

using CrossSumKernel = void (*)(const CrossSumInput& in, CrossSumResult& out);

void crossSumPortable(const CrossSumInput& in, CrossSumResult& out);
void crossSumAvx2(const CrossSumInput& in, CrossSumResult& out);
void crossSumAvx512(const CrossSumInput& in, CrossSumResult& out);

struct CrossSumVariant
{
    const char* name;
    CrossSumKernel kernel;
};

// The kernels this processor runs, fastest first; the portable one always.
const std::vector<CrossSumVariant>& supportedCrossSumKernels();
// The first of them.
CrossSumKernel bestCrossSumKernel();

} // namespace zorvpro::acoustics::fast
