// fuzz-libs: zorv_fuzz_document_targets
#include "fuzz/targets/DocumentTargets.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt wants its application object before the first document.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zorvpro::fuzz::FuzzSettingsFile(data, size);
}
