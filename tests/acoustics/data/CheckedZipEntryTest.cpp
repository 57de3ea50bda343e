#include "acoustics/data/CheckedZipEntry.h"
#include "acoustics/data/ZipFile.h"

#include "tools/datagen/Archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZORV_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZORV_TEST_SANITIZED 1
#endif
#endif

namespace zorvpro::acoustics
{
namespace
{

using datagen::ArchiveEntry;

// An archive on disk whose bytes a test may patch before opening it.
class ZipFixture
{
public:
    explicit ZipFixture(const std::vector<ArchiveEntry>& entries)
    {
        EXPECT_TRUE(datagen::WriteArchive(file.getFile(), entries));
        file.getFile().loadFileAsData(bytes);
    }

    // Offset of the central directory record of the named entry.
    size_t Record(const std::string& name) const
    {
        const char* d = static_cast<const char*>(bytes.getData());
        for (size_t p = 0; p + 46 <= bytes.getSize(); ++p)
        {
            if (std::memcmp(d + p, "PK\x01\x02", 4) != 0)
                continue;
            const size_t len = uint8_t(d[p + 28]) | (uint8_t(d[p + 29]) << 8);
            if (p + 46 + len <= bytes.getSize() && std::string(d + p + 46, len) == name)
                return p;
        }
        ADD_FAILURE() << "no record for " << name;
        return 0;
    }

    // Offset of the named entry's data (after its local header).
    size_t Data(const std::string& name) const
    {
        const size_t r = Record(name);
        const size_t local = Get32(r + 42);
        return local + 30 + Get16(local + 26) + Get16(local + 28);
    }

    uint32_t Get16(size_t at) const
    {
        const auto* d = static_cast<const uint8_t*>(bytes.getData());
        return d[at] | (d[at + 1] << 8);
    }
    uint32_t Get32(size_t at) const { return Get16(at) | (Get16(at + 2) << 16); }
    void Put16(size_t at, uint32_t v)
    {
        auto* d = static_cast<uint8_t*>(bytes.getData());
        d[at] = uint8_t(v);
        d[at + 1] = uint8_t(v >> 8);
    }
    void Put32(size_t at, uint32_t v)
    {
        Put16(at, v & 0xFFFF);
        Put16(at + 2, v >> 16);
    }
    void Flip(size_t at) { static_cast<uint8_t*>(bytes.getData())[at] ^= 0x5A; }

    // Writes the (patched) bytes and reads the entry through the check.
    std::unique_ptr<juce::InputStream> Open(const std::string& name)
    {
        EXPECT_TRUE(file.getFile().replaceWithData(bytes.getData(), bytes.getSize()));
        juce::ZipFile zip(file.getFile());
        const int index = zip.getIndexOfFileName(juce::String::fromUTF8(name.c_str()));
        EXPECT_GE(index, 0);
        return OpenCheckedZipEntry(zip, index, file.getFile());
    }

    juce::TemporaryFile file{".zip"};
    juce::MemoryBlock bytes;
};

std::string Text(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s.push_back(char('a' + (i * 7 + i / 13) % 26));
    return s;
}

std::vector<ArchiveEntry> TwoEntries()
{
    return {{"stored.bin", Text(300), 0}, {"dir/deflated.xml", Text(5000), 9}};
}

std::string ReadAll(juce::InputStream& in)
{
    juce::MemoryBlock b;
    in.readIntoMemoryBlock(b);
    return b.toString().toStdString();
}

TEST(CheckedZipEntry, ReadsStoredAndDeflatedEntriesWhole)
{
    ZipFixture zip(TwoEntries());
    ASSERT_EQ(zip.Get16(zip.Record("stored.bin") + 10), 0u);
    ASSERT_EQ(zip.Get16(zip.Record("dir/deflated.xml") + 10), 8u);
    auto stored = zip.Open("stored.bin");
    auto deflated = zip.Open("dir/deflated.xml");
    ASSERT_NE(stored, nullptr);
    ASSERT_NE(deflated, nullptr);
    EXPECT_EQ(stored->getTotalLength(), 300);
    EXPECT_EQ(ReadAll(*stored), Text(300));
    EXPECT_EQ(ReadAll(*deflated), Text(5000));
}

TEST(CheckedZipEntry, CorruptDataOrChecksumCountsAsMissing)
{
    {
        ZipFixture zip(TwoEntries());
        zip.Flip(zip.Data("stored.bin") + 17);
        EXPECT_EQ(zip.Open("stored.bin"), nullptr);
        EXPECT_NE(zip.Open("dir/deflated.xml"), nullptr) << "the other entry stays readable";
    }
    {
        ZipFixture zip(TwoEntries());
        const size_t crc = zip.Record("dir/deflated.xml") + 16;
        zip.Put32(crc, zip.Get32(crc) ^ 1u);
        EXPECT_EQ(zip.Open("dir/deflated.xml"), nullptr);
    }
    {
        // Garbage where the deflate stream should be.
        ZipFixture zip(TwoEntries());
        const size_t d = zip.Data("dir/deflated.xml");
        for (size_t i = 0; i < 16; ++i)
            zip.Flip(d + i);
        EXPECT_EQ(zip.Open("dir/deflated.xml"), nullptr);
    }
}

TEST(CheckedZipEntry, SizeThatDisagreesWithTheBytesCountsAsMissing)
{
    for (const int delta : {-1, +1, +100000})
    {
        ZipFixture zip(TwoEntries());
        const size_t r = zip.Record("dir/deflated.xml");
        zip.Put32(r + 24, uint32_t(int(zip.Get32(r + 24)) + delta));
        EXPECT_EQ(zip.Open("dir/deflated.xml"), nullptr) << "size changed by " << delta;
    }
    {
        // A stored entry whose compressed size differs from its size.
        ZipFixture zip(TwoEntries());
        const size_t r = zip.Record("stored.bin");
        zip.Put32(r + 20, zip.Get32(r + 20) - 10);
        EXPECT_EQ(zip.Open("stored.bin"), nullptr);
    }
    {
        // A size above the bound is refused before anything is allocated.
        ZipFixture zip(TwoEntries());
        zip.Put32(zip.Record("dir/deflated.xml") + 24, uint32_t(kMaxZipEntryBytes + 1));
        EXPECT_EQ(zip.Open("dir/deflated.xml"), nullptr);
    }
}

// Lets the process map at most `bytes` more than it has mapped now.
bool LimitAddressSpaceGrowth(size_t bytes)
{
    size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + bytes;
    const rlimit bound{limit, limit};
    return pages > 0 && setrlimit(RLIMIT_AS, &bound) == 0;
}

TEST(CheckedZipEntry, AForgedSizeCostsOnlyTheBytesThatArrive)
{
#ifdef ZORV_TEST_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory leaves no room for an address-space limit";
#endif
    // A few kilobytes that claim almost the largest size allowed. Reading them, in a child
    // process that may map only a quarter of that size, must fail the size check, not the
    // allocation.
    ZipFixture zip(TwoEntries());
    zip.Put32(zip.Record("dir/deflated.xml") + 24, uint32_t(kMaxZipEntryBytes - 1));
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool limited = LimitAddressSpaceGrowth(size_t(kMaxZipEntryBytes / 4));
            const bool refused = zip.Open("dir/deflated.xml") == nullptr;
            const bool othersRead = zip.Open("stored.bin") != nullptr;
            zip.file.getFile().deleteFile();
            std::_Exit(limited && refused && othersRead ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(CheckedZipEntry, OnlyStoredAndDeflateAreAccepted)
{
    for (const uint32_t method : {1u, 9u, 12u, 14u, 99u})
    {
        ZipFixture zip(TwoEntries());
        zip.Put16(zip.Record("dir/deflated.xml") + 10, method);
        EXPECT_EQ(zip.Open("dir/deflated.xml"), nullptr) << "method " << method;
    }
    ZipFixture zip(TwoEntries());
    const size_t flags = zip.Record("stored.bin") + 8;
    zip.Put16(flags, zip.Get16(flags) | 1u); // encrypted
    EXPECT_EQ(zip.Open("stored.bin"), nullptr);
}

TEST(CheckedZipEntry, DirectoryAgreesWithJuceAndRejectsBadIndices)
{
    ZipFixture zip(TwoEntries());
    juce::MemoryInputStream in(zip.bytes, false);
    const auto records = ReadZipDirectory(in);
    ASSERT_EQ(records.size(), 2u);
    juce::ZipFile juceZip(zip.file.getFile());
    ASSERT_EQ(juceZip.getNumEntries(), 2);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(records[size_t(i)].name, juceZip.getEntry(i)->filename);
        EXPECT_EQ(records[size_t(i)].uncompressedSize, juceZip.getEntry(i)->uncompressedSize);
    }
    EXPECT_EQ(OpenCheckedZipEntry(juceZip, 2, zip.file.getFile()), nullptr);
    EXPECT_EQ(OpenCheckedZipEntry(juceZip, -1, zip.file.getFile()), nullptr);

    juce::MemoryInputStream junk("not a zip at all", 16, false);
    EXPECT_TRUE(ReadZipDirectory(junk).empty());
}

TEST(CheckedZipEntry, DataSetArchiveReaderOpensOnlyVerifiedEntries)
{
    ZipFixture zip(TwoEntries());
    zip.Flip(zip.Data("stored.bin") + 3);
    zip.Put16(zip.Record("dir/deflated.xml") + 10, 12); // claims bzip2
    ASSERT_TRUE(zip.file.getFile().replaceWithData(zip.bytes.getData(), zip.bytes.getSize()));

    ZipFile archive(zip.file.getFile().getFullPathName().toStdString());
    EXPECT_EQ(archive.getEntryInfo("stored.bin", false).size, 300) << "the entry is listed";
    EXPECT_TRUE(archive.openStream("stored.bin", false).isEmpty());
    EXPECT_TRUE(archive.openStream("dir/deflated.xml", false).isEmpty());

    ZipFixture good(TwoEntries());
    ASSERT_NE(good.Open("stored.bin"), nullptr);
    ZipFile intact(good.file.getFile().getFullPathName().toStdString());
    EXPECT_EQ(intact.openStream("dir/deflated.xml", false).readText(), Text(5000));
}

} // namespace
} // namespace zorvpro::acoustics
