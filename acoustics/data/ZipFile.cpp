#include "acoustics/data/ZipFile.h"

#include "acoustics/data/CheckedZipEntry.h"
#include "acoustics/data/Utf8Text.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace zorvpro::acoustics
{
namespace
{

// The read-ahead buffer follows the entry's size up to this bound, so a
// forged size in the archive directory cannot make it huge.
constexpr int64_t kMaxBufferBytes = 1 << 20;
constexpr int64_t kChunkBytes = 64 * 1024;
constexpr int64_t kMaxTextBytes = 64 << 20;

} // namespace

class ZipFile::ZipStream::Impl : public juce::BufferedInputStream
{
public:
    explicit Impl(juce::InputStream* entryStream)
        : juce::BufferedInputStream(
              entryStream,
              static_cast<int>(std::clamp<int64_t>(entryStream->getTotalLength(), 32, kMaxBufferBytes)), true)
    {
    }
};

ZipFile::ZipStream::ZipStream() = default;
ZipFile::ZipStream::ZipStream(std::unique_ptr<Impl> i) : impl(std::move(i)) {}
ZipFile::ZipStream::ZipStream(ZipStream&&) noexcept = default;
ZipFile::ZipStream& ZipFile::ZipStream::operator=(ZipStream&&) noexcept = default;
ZipFile::ZipStream::~ZipStream() = default;

int64_t ZipFile::ZipStream::read(void* buffer, int64_t count)
{
    if (!impl || buffer == nullptr || count <= 0)
        return 0;
    int64_t total = 0;
    auto* out = static_cast<char*>(buffer);
    while (total < count)
    {
        const int want = static_cast<int>(std::min<int64_t>(count - total, 1 << 30));
        const int got = impl->read(out + total, want);
        if (got <= 0)
            break;
        total += got;
    }
    return total;
}

int32_t ZipFile::ZipStream::readInt()
{
    return impl ? impl->readInt() : 0;
}

float ZipFile::ZipStream::readFloat()
{
    return impl ? impl->readFloat() : 0.0f;
}

std::string ZipFile::ZipStream::readText()
{
    if (!impl)
        return {};
    std::string bytes = readRemaining(kMaxTextBytes);
    const size_t nul = bytes.find('\0');
    if (nul != std::string::npos)
        bytes.resize(nul);
    // JUCE keeps malformed UTF-8 as it is and its XML parser then reads past
    // the end of the text: malformed bytes become U+FFFD here.
    return ValidUtf8(bytes);
}

void ZipFile::ZipStream::skip(int64_t count)
{
    if (impl && count > 0)
        impl->skipNextBytes(count);
}

std::string ZipFile::ZipStream::readRemaining(int64_t limit)
{
    std::string bytes;
    if (!impl)
        return bytes;
    for (;;)
    {
        const size_t start = bytes.size();
        bytes.resize(start + static_cast<size_t>(kChunkBytes));
        const int got = impl->read(bytes.data() + start, static_cast<int>(kChunkBytes));
        bytes.resize(start + static_cast<size_t>(std::max(got, 0)));
        if (got <= 0)
            break;
        if (static_cast<int64_t>(bytes.size()) > limit)
            throw std::invalid_argument("Archive entry too large");
    }
    return bytes;
}

ZipFile::ZipFile(const std::string& path) : archivePath(path)
{
    archiveFile = juce::File::getCurrentWorkingDirectory().getChildFile(
        juce::String::fromUTF8(ValidUtf8(path).c_str()));
    zip = std::make_unique<juce::ZipFile>(archiveFile);
    if (!zip)
        throw std::bad_alloc();
}

ZipFile::~ZipFile() = default;

int ZipFile::entryCount() const
{
    return zip ? zip->getNumEntries() : 0;
}

ZipFile::EntryInfo ZipFile::getEntryInfo(int index) const
{
    const juce::ZipFile::ZipEntry* entry = zip ? zip->getEntry(index) : nullptr;
    if (entry == nullptr)
        return {};
    return {entry->filename.toStdString(), entry->uncompressedSize, entry->fileTime.toMilliseconds()};
}

ZipFile::EntryInfo ZipFile::getEntryInfo(const std::string& name, bool ignoreCase) const
{
    if (!zip)
        return {};
    const int index = zip->getIndexOfFileName(juce::String::fromUTF8(ValidUtf8(name).c_str()), ignoreCase);
    return index < 0 ? EntryInfo{} : getEntryInfo(index);
}

ZipFile::ZipStream ZipFile::openStream(const std::string& name, bool ignoreCase)
{
    return openStream(getEntryInfo(name, ignoreCase));
}

ZipFile::ZipStream ZipFile::openStream(const EntryInfo& info)
{
    if (!zip || info.size == 0 || info.time <= 0 || info.name.empty())
        return {};
    for (int i = 0; i < zip->getNumEntries(); ++i)
    {
        const juce::ZipFile::ZipEntry* entry = zip->getEntry(i);
        if (entry == nullptr || entry->uncompressedSize != info.size ||
            entry->fileTime.toMilliseconds() != info.time || entry->filename.toStdString() != info.name)
            continue;
        // Only entries that inflate to their stated size and checksum are read.
        std::unique_ptr<juce::InputStream> stream = OpenCheckedZipEntry(*zip, i, archiveFile);
        if (stream == nullptr)
            return {};
        return ZipStream(std::make_unique<ZipStream::Impl>(stream.release()));
    }
    return {};
}

} // namespace zorvpro::acoustics
