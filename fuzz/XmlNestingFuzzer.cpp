// fuzz-libs: zorv_fuzz_acoustic_targets
#include "fuzz/targets/AcousticTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zorvpro::fuzz::FuzzXmlNesting(data, size);
}
