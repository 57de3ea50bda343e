#include "acoustics/fast/CrossSumKernels.h"

namespace zorvpro::acoustics::fast
{

const std::vector<CrossSumVariant>& supportedCrossSumKernels()
{
    static const std::vector<CrossSumVariant> kernels = []
    {
        __builtin_cpu_init();
        std::vector<CrossSumVariant> found;
        if (__builtin_cpu_supports("avx512f"))
            found.push_back({"avx512", &crossSumAvx512});
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
            found.push_back({"avx2", &crossSumAvx2});
        found.push_back({"portable", &crossSumPortable});
        return found;
    }();
    return kernels;
}

CrossSumKernel bestCrossSumKernel()
{
    return supportedCrossSumKernels().front().kernel;
}

} // namespace zorvpro::acoustics::fast
