#include "acoustics/fast/CoherenceWindowLanes.h"

namespace zorvpro::acoustics::fast
{

namespace
{

inline __attribute__((always_inline)) void windowBody(const double* indices, double* out, std::size_t count)
{
    for (std::size_t i = 0; i < count; i += 4)
    {
        const std::size_t n = count - i < 4 ? count - i : 4;
        Lanes in = {0.0, 0.0, 0.0, 0.0};
        __builtin_memcpy(&in, indices + i, n * sizeof(double));
        Lanes w;
        coherenceWindowLanes(in, w);
        __builtin_memcpy(out + i, &w, n * sizeof(double));
    }
}

ZORV_WIDE_VECTORS void windowWide(const double* indices, double* out, std::size_t count)
{
    windowBody(indices, out, count);
}

void windowPlain(const double* indices, double* out, std::size_t count)
{
    windowBody(indices, out, count);
}

} // namespace

void coherenceWindowAt(const double* indices, double* out, std::size_t count)
{
    if (wideVectorsAvailable())
        windowWide(indices, out, count);
    else
        windowPlain(indices, out, count);
}

} // namespace zorvpro::acoustics::fast
