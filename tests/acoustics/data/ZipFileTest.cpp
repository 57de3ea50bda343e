#include "acoustics/data/ZipFile.h"
#include "tools/datagen/Archive.h"

#include <gtest/gtest.h>

#include <stdexcept>

using zorvpro::acoustics::ZipFile;
namespace datagen = zorvpro::datagen;

namespace
{

struct TempFolder
{
    juce::File dir = juce::File::createTempFile("zorv-zip");
    TempFolder() { dir.createDirectory(); }
    ~TempFolder() { dir.deleteRecursively(); }
};

std::string Archive(const TempFolder& t, const std::vector<datagen::ArchiveEntry>& entries)
{
    const juce::File file = t.dir.getChildFile("a.vxq");
    EXPECT_TRUE(datagen::WriteArchive(file, entries));
    return file.getFullPathName().toStdString();
}

} // namespace

TEST(ZipFile, FindsEntriesByExactNameAndReadsThem)
{
    TempFolder t;
    std::string binary;
    for (uint32_t v : {0x01020304u, 0xFFFFFFFEu})
        for (int shift = 0; shift < 32; shift += 8)
            binary.push_back(static_cast<char>((v >> shift) & 0xFF));
    ZipFile zip(
        Archive(t, {{"Main.xml", std::string("<Root/>\0tail", 12)}, {"dir/bin", binary, 0}, {"empty", ""}}));
    EXPECT_EQ(zip.entryCount(), 3);

    EXPECT_EQ(zip.getEntryInfo("main.xml", false).name, "");
    EXPECT_EQ(zip.getEntryInfo("main.xml", true).name, "Main.xml");
    const ZipFile::EntryInfo info = zip.getEntryInfo("Main.xml", false);
    EXPECT_EQ(info.size, 12);
    EXPECT_GT(info.time, 0);

    ZipFile::ZipStream text = zip.openStream(info);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(text.readText(), "<Root/>"); // up to the first NUL

    ZipFile::ZipStream bin = zip.openStream("dir/bin", false);
    EXPECT_EQ(bin.readInt(), 0x01020304);
    EXPECT_EQ(bin.readInt(), -2);
    EXPECT_EQ(bin.readInt(), 0); // past the end

    // An entry of size 0, or information that matches no entry, opens nothing.
    EXPECT_TRUE(zip.openStream("empty", false).isEmpty());
    EXPECT_TRUE(zip.openStream("missing", false).isEmpty());
    ZipFile::EntryInfo wrong = info;
    wrong.size += 1;
    EXPECT_TRUE(zip.openStream(wrong).isEmpty());
    ZipFile::ZipStream none;
    char buffer[4];
    EXPECT_EQ(none.read(buffer, 4), 0);
    EXPECT_EQ(none.readFloat(), 0.0f);
    EXPECT_EQ(none.readText(), "");
}

TEST(ZipFile, ReadsOnlyWhatTheEntryHoldsUpToALimit)
{
    TempFolder t;
    ZipFile zip(Archive(t, {{"big", std::string(200000, 'x')}}));
    EXPECT_EQ(zip.openStream("big", false).readRemaining(1 << 20).size(), 200000u);
    EXPECT_THROW(zip.openStream("big", false).readRemaining(1000), std::invalid_argument);
}

TEST(ZipFile, AFileThatIsNoZipHasNoEntries)
{
    TempFolder t;
    const juce::File file = t.dir.getChildFile("x.vxq");
    ASSERT_TRUE(file.replaceWithText("plain text, not an archive"));
    ZipFile zip(file.getFullPathName().toStdString());
    EXPECT_EQ(zip.entryCount(), 0);
    EXPECT_TRUE(zip.openStream("Main.xml", false).isEmpty());
    ZipFile missing(t.dir.getChildFile("absent.vxq").getFullPathName().toStdString());
    EXPECT_EQ(missing.entryCount(), 0);
}
