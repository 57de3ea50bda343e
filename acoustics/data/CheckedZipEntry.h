#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace zorvpro::acoustics
{

// Largest entry read into memory. Far above any data set; a smaller bound in
// fuzzing builds keeps a deflate bomb inside the fuzzer's memory limit.
#if defined(ZORV_FUZZING)
constexpr int64_t kMaxZipEntryBytes = int64_t(32) << 20;
#else
constexpr int64_t kMaxZipEntryBytes = int64_t(256) << 20;
#endif

// One record of a zip archive's central directory: what JUCE's reader keeps
// to itself (method, flags, CRC, compressed size).
struct ZipDirectoryRecord
{
    juce::String name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    int64_t compressedSize = 0;
    int64_t uncompressedSize = 0;
};

// The central directory records of an archive, found and walked exactly as
// juce::ZipFile does it, so that record i is JUCE's entry i.
std::vector<ZipDirectoryRecord> ReadZipDirectory(juce::InputStream& archive);

// Opens entry `index` of `zip` (an archive read from `archiveFile`) and reads it
// whole, bounded by kMaxZipEntryBytes. Returns null, i.e. the entry counts as
// missing, when the entry is encrypted, uses a method other than stored or
// deflate, yields a byte count other than its size, or fails its CRC-32.
// JUCE's own stream checks none of this and inflates every method.
std::unique_ptr<juce::InputStream> OpenCheckedZipEntry(juce::ZipFile& zip, int index,
                                                       const juce::File& archiveFile);

} // namespace zorvpro::acoustics
