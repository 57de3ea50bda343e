#include "acoustics/fast/VectorCosine.h"

namespace zorvpro::acoustics::fast
{

namespace
{

inline __attribute__((always_inline)) void cosinesAndSinesBody(const double* x, double* cosOut,
                                                               double* sinOut, std::size_t count)
{
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
    {
        Lanes in;
        __builtin_memcpy(&in, x + i, sizeof(in));
        Lanes c, s;
        cosineSineLanes(in, c, s);
        __builtin_memcpy(cosOut + i, &c, sizeof(c));
        __builtin_memcpy(sinOut + i, &s, sizeof(s));
    }
    if (i < count)
    {
        Lanes in = {0.0, 0.0, 0.0, 0.0};
        __builtin_memcpy(&in, x + i, (count - i) * sizeof(double));
        Lanes c, s;
        cosineSineLanes(in, c, s);
        __builtin_memcpy(cosOut + i, &c, (count - i) * sizeof(double));
        __builtin_memcpy(sinOut + i, &s, (count - i) * sizeof(double));
    }
}

ZORV_WIDE_VECTORS void cosinesAndSinesWide(const double* x, double* cosOut, double* sinOut, std::size_t count)
{
    cosinesAndSinesBody(x, cosOut, sinOut, count);
}

void cosinesAndSinesPlain(const double* x, double* cosOut, double* sinOut, std::size_t count)
{
    cosinesAndSinesBody(x, cosOut, sinOut, count);
}

} // namespace

bool wideVectorsAvailable()
{
    static const bool available = []
    {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    }();
    return available;
}

void cosinesAndSines(const double* x, double* cosOut, double* sinOut, std::size_t count)
{
    if (wideVectorsAvailable())
        cosinesAndSinesWide(x, cosOut, sinOut, count);
    else
        cosinesAndSinesPlain(x, cosOut, sinOut, count);
}

} // namespace zorvpro::acoustics::fast
