// fuzz-libs: zorv_fuzz_document_targets
#include "fuzz/targets/DocumentTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zorvpro::fuzz::FuzzDomNesting(data, size);
}
