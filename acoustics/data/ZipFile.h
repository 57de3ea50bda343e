#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <juce_core/juce_core.h>

namespace zorvpro::acoustics
{

// Read access to one data-set archive over JUCE's zip reader.
class ZipFile
{
public:
    // Name, uncompressed size and modification time (ms since 1970) of an
    // entry; the empty triple stands for a missing entry.
    struct EntryInfo
    {
        std::string name;
        int64_t size = 0;
        int64_t time = 0;
    };

    // A read-only stream over one entry; an empty stream reads nothing.
    class ZipStream
    {
    public:
        class Impl;

        ZipStream();
        explicit ZipStream(std::unique_ptr<Impl> impl);
        ZipStream(ZipStream&&) noexcept;
        ZipStream& operator=(ZipStream&&) noexcept;
        ~ZipStream();

        bool isEmpty() const { return !impl; }
        // Bytes read; 0 when empty or without a buffer.
        int64_t read(void* buffer, int64_t count);
        int32_t readInt(); // little-endian; 0 when empty
        float readFloat(); // little-endian; 0 when empty
        // The bytes from here up to the first NUL or the end, as UTF-8 text.
        std::string readText();
        void skip(int64_t count);
        // The rest of the entry as it actually decompresses, at most limit
        // bytes. The size in the archive's directory is not trusted: a short
        // entry that claims to be large allocates only what it holds.
        // Throws std::invalid_argument when the entry holds more than limit.
        std::string readRemaining(int64_t limit);

    private:
        std::unique_ptr<Impl> impl;
    };

    // Opens the archive; throws std::bad_alloc when no reader could be made.
    explicit ZipFile(const std::string& path);
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    const std::string& path() const { return archivePath; }
    int entryCount() const;

    EntryInfo getEntryInfo(const std::string& name, bool ignoreCase) const;
    EntryInfo getEntryInfo(int index) const;
    ZipStream openStream(const std::string& name, bool ignoreCase);
    ZipStream openStream(const EntryInfo& info);

private:
    std::unique_ptr<juce::ZipFile> zip;
    std::string archivePath;
    juce::File archiveFile;
};

} // namespace zorvpro::acoustics
