#include "acoustics/fast/VectorCosine.h"

namespace zorvpro::acoustics::fast
{

__attribute__((target_clones("arch=haswell", "default"))) void cosines(const double* x, double* out,
                                                                       std::size_t count)
{
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
    {
        Lanes in;
        __builtin_memcpy(&in, x + i, sizeof(in));
        Lanes result;
        cosineLanes(in, result);
        __builtin_memcpy(out + i, &result, sizeof(result));
    }
    if (i < count)
    {
        Lanes in = {0.0, 0.0, 0.0, 0.0};
        __builtin_memcpy(&in, x + i, (count - i) * sizeof(double));
        Lanes result;
        cosineLanes(in, result);
        __builtin_memcpy(out + i, &result, (count - i) * sizeof(double));
    }
}

} // namespace zorvpro::acoustics::fast
