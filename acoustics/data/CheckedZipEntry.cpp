#include "acoustics/data/CheckedZipEntry.h"

#include "acoustics/data/Utf8Text.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace zorvpro::acoustics
{
namespace
{

constexpr uint32_t kEndOfDirectorySignature = 0x06054b50;
constexpr uint32_t kDirectoryRecordSignature = 0x02014b50;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kFlagEncrypted = 0x0001;

uint16_t Le16(const char* p)
{
    return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8));
}

uint32_t Le32(const char* p)
{
    return uint32_t(uint8_t(p[0])) | (uint32_t(uint8_t(p[1])) << 8) | (uint32_t(uint8_t(p[2])) << 16) |
           (uint32_t(uint8_t(p[3])) << 24);
}

// The same backwards search for the end-of-directory record as JUCE's reader,
// step for step (including its stale-buffer quirks), so both agree on where
// the directory starts and how many records it claims.
int64_t FindDirectory(juce::InputStream& input, int& numEntries)
{
    juce::BufferedInputStream in(input, 8192);
    in.setPosition(in.getTotalLength());
    int64_t pos = in.getPosition();
    const int64_t lowestPos = std::max<int64_t>(0, pos - 1048576);
    char buffer[32] = {};

    while (pos > lowestPos)
    {
        in.setPosition(pos - 22);
        pos = in.getPosition();
        std::memcpy(buffer + 22, buffer, 4);
        if (in.read(buffer, 22) != 22)
            return 0;
        for (int i = 0; i < 22; ++i)
        {
            if (Le32(buffer + i) != kEndOfDirectorySignature)
                continue;
            in.setPosition(pos + i);
            in.read(buffer, 22);
            numEntries = Le16(buffer + 10);
            int64_t offset = Le32(buffer + 16);
            if (offset >= 4)
            {
                in.setPosition(offset);
                if (uint32_t(in.readInt()) != kDirectoryRecordSignature)
                {
                    in.setPosition(offset - 4);
                    if (uint32_t(in.readInt()) == kDirectoryRecordSignature)
                        offset -= 4;
                }
            }
            return offset;
        }
    }
    return 0;
}

} // namespace

std::vector<ZipDirectoryRecord> ReadZipDirectory(juce::InputStream& in)
{
    std::vector<ZipDirectoryRecord> records;
    int numEntries = 0;
    const int64_t start = FindDirectory(in, numEntries);
    const int64_t total = in.getTotalLength();
    if (start < 0 || start >= total)
        return records;

    const auto size = size_t(total - start);
    in.setPosition(start);
    juce::MemoryBlock block;
    if (in.readIntoMemoryBlock(block, ssize_t(size)) != size)
        return records;

    const char* data = static_cast<const char*>(block.getData());
    size_t pos = 0;
    for (int i = 0; i < numEntries; ++i)
    {
        if (pos + 46 > size)
            break;
        const char* rec = data + pos;
        const size_t nameLength = Le16(rec + 28);
        if (pos + 46 + nameLength > size)
            break;
        ZipDirectoryRecord r;
        r.flags = Le16(rec + 8);
        r.method = Le16(rec + 10);
        r.crc = Le32(rec + 16);
        r.compressedSize = Le32(rec + 20);
        r.uncompressedSize = Le32(rec + 24);
        r.name = juce::String::fromUTF8(ValidUtf8(std::string_view(rec + 46, nameLength)).c_str());
        records.push_back(std::move(r));
        pos += 46 + nameLength + Le16(rec + 30) + Le16(rec + 32);
    }
    return records;
}

std::unique_ptr<juce::InputStream> OpenCheckedZipEntry(juce::ZipFile& zip, int index,
                                                       const juce::File& archiveFile)
{
    const juce::ZipFile::ZipEntry* entry = zip.getEntry(index);
    if (entry == nullptr)
        return nullptr;

    std::unique_ptr<juce::FileInputStream> archive = archiveFile.createInputStream();
    if (archive == nullptr || !archive->openedOk())
        return nullptr;
    const std::vector<ZipDirectoryRecord> records = ReadZipDirectory(*archive);
    archive.reset();
    if (size_t(index) >= records.size())
        return nullptr;
    const ZipDirectoryRecord& record = records[size_t(index)];

    // The archive must be the one JUCE read: same name and size at this index.
    if (record.name != entry->filename || record.uncompressedSize != entry->uncompressedSize)
        return nullptr;
    if ((record.flags & kFlagEncrypted) != 0)
        return nullptr;
    if (record.method != kMethodStored && record.method != kMethodDeflate)
        return nullptr;
    if (record.method == kMethodStored && record.compressedSize != record.uncompressedSize)
        return nullptr;
    if (record.uncompressedSize > kMaxZipEntryBytes)
        return nullptr;

    std::unique_ptr<juce::InputStream> source(zip.createStreamForEntry(index));
    if (source == nullptr)
        return nullptr;

    // The buffer grows with the bytes actually inflated, never to the declared size up front:
    // a forged size in a small archive must not cost that much memory. One byte past the
    // declared size is read, so that an entry yielding more bytes than it claims is caught as
    // well as one yielding fewer.
    const auto expected = size_t(record.uncompressedSize);
    constexpr size_t kReadStep = size_t(1) << 16;
    juce::MemoryBlock bytes;
    size_t got = 0;
    while (got < expected + 1)
    {
        const size_t want = std::min(expected + 1 - got, kReadStep);
        if (got + want > bytes.getSize())
            bytes.setSize(std::min(expected + 1, std::max(got + want, bytes.getSize() * 2)), false);
        const int n = source->read(static_cast<char*>(bytes.getData()) + got, int(want));
        if (n <= 0)
            break;
        got += size_t(n);
    }
    const char* out = static_cast<const char*>(bytes.getData());
    source.reset();
    if (got != expected)
        return nullptr;

    uLong crc = crc32(0L, Z_NULL, 0);
    size_t done = 0;
    while (done < expected)
    {
        const auto piece = uInt(std::min<size_t>(expected - done, 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(out + done), piece);
        done += piece;
    }
    if (uint32_t(crc) != record.crc)
        return nullptr;

    bytes.setSize(expected);
    return std::make_unique<juce::MemoryInputStream>(std::move(bytes));
}

} // namespace zorvpro::acoustics
