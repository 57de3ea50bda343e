#include "core/Logging/LogWriter.h"

#include "../support/StdTempDir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <set>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace zorvpro;
namespace fs = std::filesystem;

namespace
{
// Creates a log file whose modification time is `age` minutes in the past.
void MakeFile(const fs::path& path, int ageMinutes)
{
    std::ofstream(path) << "old";
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(ageMinutes));
}

// Makes Zorv_00.log .. Zorv_<n-1>.log; a higher number is older.
void MakeLogFiles(const fs::path& dir, int count)
{
    for (int i = 0; i < count; ++i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "Zorv_%02d.log", i);
        MakeFile(dir / name, 10 + i);
    }
}

std::set<std::string> Names(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

size_t CountLogFiles(const fs::path& dir)
{
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(dir))
    {
        const std::string n = entry.path().filename().string();
        if (entry.is_regular_file() && n.rfind("Zorv", 0) == 0 && n.size() >= 8 &&
            n.substr(n.size() - 4) == ".log")
            ++count;
    }
    return count;
}

// Files that must survive every pruning.
void MakeForeignFiles(const fs::path& dir)
{
    MakeFile(dir / "other.log", 1000);
    MakeFile(dir / "Zorv.txt", 1000);
    MakeFile(dir / "zorv_lower.log", 1000);
    MakeFile(dir / "MyZorv_1.log", 1000);
    fs::create_directory(dir / "Zorv_folder.log");
}

const std::set<std::string> kForeign = {"other.log", "Zorv.txt", "zorv_lower.log", "MyZorv_1.log",
                                        "Zorv_folder.log"};

bool ContainsAll(const std::set<std::string>& names, const std::set<std::string>& wanted)
{
    return std::includes(names.begin(), names.end(), wanted.begin(), wanted.end());
}

// Marks a file immutable so that even root cannot delete it; undone on destruction.
class ImmutableFile
{
public:
    explicit ImmutableFile(const fs::path& path) : path_(path) { ok_ = SetFlag(true); }
    ~ImmutableFile()
    {
        if (ok_)
            SetFlag(false);
    }
    bool Ok() const { return ok_; }

private:
    bool SetFlag(bool on)
    {
        const int fd = ::open(path_.c_str(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done)
        {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }
    fs::path path_;
    bool ok_ = false;
};
} // namespace

TEST(LogPruneTest, KeepsRoomForTheNewFileWhenThereAreMoreThanTheLimit)
{
    test::StdTempDir dir;
    const fs::path root = dir.StdPath();
    MakeLogFiles(root, 12);
    MakeForeignFiles(root);
    {
        LogWriter writer;
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Error));
    }
    const auto names = Names(root);
    // The three oldest are gone, the nine newest and the new file remain.
    for (const char* gone : {"Zorv_09.log", "Zorv_10.log", "Zorv_11.log"})
        EXPECT_EQ(0u, names.count(gone)) << gone;
    for (int i = 0; i < 9; ++i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "Zorv_%02d.log", i);
        EXPECT_EQ(1u, names.count(name)) << name;
    }
    EXPECT_EQ(10u, CountLogFiles(root));
    EXPECT_TRUE(ContainsAll(names, kForeign));
}

TEST(LogPruneTest, FewerFilesThanTheLimitAreAllKept)
{
    test::StdTempDir dir;
    const fs::path root = dir.StdPath();
    MakeLogFiles(root, 5);
    EXPECT_TRUE(LogWriter::DeleteOldLogFiles(dir.StdPath(), 10));
    EXPECT_EQ(5u, CountLogFiles(root));
    EXPECT_TRUE(LogWriter::DeleteOldLogFiles(dir.StdPath(), 6));
    EXPECT_EQ(5u, CountLogFiles(root));
    EXPECT_TRUE(LogWriter::DeleteOldLogFiles(dir.StdPath(), 5));
    EXPECT_EQ(4u, CountLogFiles(root));
    EXPECT_EQ(0u, Names(root).count("Zorv_04.log"));
}

TEST(LogPruneTest, KeepingOneDeletesEveryOldLogAndZeroDeletesNone)
{
    test::StdTempDir dir;
    const fs::path root = dir.StdPath();
    MakeLogFiles(root, 4);
    MakeForeignFiles(root);

    EXPECT_TRUE(LogWriter::DeleteOldLogFiles(dir.StdPath(), 0));
    EXPECT_TRUE(LogWriter::DeleteOldLogFiles(dir.StdPath(), -3));
    EXPECT_EQ(4u, CountLogFiles(root));

    EXPECT_TRUE(LogWriter::DeleteOldLogFiles(dir.StdPath(), 1));
    EXPECT_EQ(0u, CountLogFiles(root));
    EXPECT_EQ(kForeign, Names(root));
}

TEST(LogPruneTest, AFolderThatCannotBePrunedStillGetsItsLogFile)
{
    test::StdTempDir dir;
    const fs::path root = dir.StdPath();
    MakeLogFiles(root, 3);
    ImmutableFile stuck(root / "Zorv_02.log");
    if (!stuck.Ok())
        GTEST_SKIP() << "the file system cannot mark files immutable here";
    {
        LogWriter writer;
        EXPECT_FALSE(writer.Initialize(false, dir.StdPath(), 1, LogLevel::Debug));
        EXPECT_EQ(dir.StdPath() + "/", writer.GetFolder());
        EXPECT_FALSE(writer.GetFilePath().empty());
        // Level applied although pruning failed.
        EXPECT_TRUE(writer.Log(LogLevel::Debug, "after a failed prune"));
    }
    EXPECT_TRUE(fs::exists(root / "Zorv_02.log"));
    EXPECT_EQ(4u, CountLogFiles(root));
}
