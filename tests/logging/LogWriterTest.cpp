#include "core/Logging/LogWriter.h"

#include "core/Logging/Log.h"

#include "LocalTimeZone.h"
#include "../support/StdTempDir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace zorvpro;
using test::kSampleTicks;
namespace fs = std::filesystem;

namespace
{
std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

LogWriter::Clock FixedClock(long long ticks)
{
    return [ticks] { return ticks; };
}

class CollectingListener : public ILogEventListener
{
public:
    void OnLogEvent(const char* line) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        lines.emplace_back(line);
    }
    std::mutex mutex;
    std::vector<std::string> lines;
};
} // namespace

TEST(LogWriterTest, WritesFormattedLinesToAFileNamedAfterTheStartTime)
{
    test::UtcTimeZone utc;
    test::StdTempDir dir;
    std::string path;
    {
        LogWriter writer(FixedClock(kSampleTicks + 42 * 10000));
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Debug));
        EXPECT_EQ(dir.StdPath() + "/", writer.GetFolder());
        path = writer.GetFilePath();
        EXPECT_EQ(dir.StdPath() + "/Zorv_2026_12_06_15_31_48.log", path);
        EXPECT_TRUE(writer.Log(LogLevel::Error, "first"));
        EXPECT_TRUE(writer.Log(LogLevel::Debug, "second"));
    }
    EXPECT_EQ((std::vector<std::string>{"12/06/2026 15:31:48.042 (E): first",
                                        "12/06/2026 15:31:48.042 (D): second"}),
              ReadLines(path));
}

TEST(LogWriterTest, ThresholdDecidesWhichRecordsAreTaken)
{
    test::StdTempDir dir;
    std::string path;
    {
        LogWriter writer;
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Warning));
        path = writer.GetFilePath();
        EXPECT_FALSE(writer.Log(LogLevel::Debug, "debug"));
        EXPECT_FALSE(writer.Log(LogLevel::Info, "info"));
        EXPECT_FALSE(writer.Log(LogLevel::Off, "zero"));
        EXPECT_TRUE(writer.Log(LogLevel::Warning, "warning"));
        EXPECT_TRUE(writer.Log(LogLevel::Error, "error"));
        EXPECT_TRUE(writer.Log(7, "unknown level"));
        EXPECT_FALSE(writer.Log(LogLevel::Error, nullptr));

        writer.SetLevel(LogLevel::Off);
        EXPECT_FALSE(writer.Log(LogLevel::Error, "off"));
        EXPECT_FALSE(writer.Log(LogLevel::Off, "off too"));
    }
    const auto lines = ReadLines(path);
    ASSERT_EQ(3u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find(" (W): warning"));
    EXPECT_NE(std::string::npos, lines[1].find(" (E): error"));
    EXPECT_NE(std::string::npos, lines[2].find(" (?): unknown level"));
}

TEST(LogWriterTest, EveryRecordFromManyThreadsReachesTheFileAtShutdown)
{
    constexpr int kThreads = 8;
    constexpr int kPerThread = 500;
    test::StdTempDir dir;
    std::string path;
    {
        LogWriter writer;
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Debug));
        path = writer.GetFilePath();
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
        {
            threads.emplace_back(
                [&writer, t]
                {
                    for (int i = 0; i < kPerThread; ++i)
                        writer.Log(LogLevel::Info,
                                   ("t" + std::to_string(t) + " n" + std::to_string(i)).c_str());
                });
        }
        for (auto& thread : threads)
            thread.join();
        // The writer is destroyed here, right after the last record was queued.
    }
    const auto lines = ReadLines(path);
    ASSERT_EQ(static_cast<size_t>(kThreads * kPerThread), lines.size());
    std::map<int, int> next; // per thread, the next expected sequence number
    for (const std::string& line : lines)
    {
        const auto pos = line.find("(I): t");
        ASSERT_NE(std::string::npos, pos) << line;
        std::istringstream in(line.substr(pos + 6));
        int thread = -1;
        char n = 0;
        int seq = -1;
        in >> thread >> n >> seq;
        ASSERT_EQ(next[thread], seq) << "records of one thread out of order: " << line;
        ++next[thread];
    }
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(kPerThread, next[t]);
}

TEST(LogWriterTest, ListenerGetsEachLineWithoutLineEnd)
{
    test::UtcTimeZone utc;
    CollectingListener listener;
    {
        LogWriter writer(FixedClock(kSampleTicks));
        writer.SetListener(&listener);
        EXPECT_TRUE(writer.Log(LogLevel::Error, "to listener"));
        EXPECT_FALSE(writer.Log(LogLevel::Warning, "below the default threshold"));
    }
    EXPECT_EQ(std::vector<std::string>{"12/06/2026 15:31:48.000 (E): to listener"}, listener.lines);
}

TEST(LogWriterTest, CallersNeverWaitForTheOutput)
{
    // A listener that blocks stands for a slow disk: while the writer is stuck
    // in its output, other threads must still be able to queue records.
    struct BlockingListener : ILogEventListener
    {
        std::promise<void> entered;
        std::shared_future<void> release;
        std::atomic<bool> first{true};
        void OnLogEvent(const char*) override
        {
            if (first.exchange(false))
            {
                entered.set_value();
                release.wait();
            }
        }
    } listener;
    std::promise<void> release;
    listener.release = release.get_future().share();
    test::StdTempDir dir;
    std::string path;
    {
        LogWriter writer;
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Debug));
        path = writer.GetFilePath();
        writer.SetListener(&listener);
        writer.Log(LogLevel::Error, "blocks the writer");
        listener.entered.get_future().wait();
        auto queued =
            std::async(std::launch::async, [&writer] { return writer.Log(LogLevel::Error, "queued"); });
        const bool returned = queued.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        release.set_value();
        ASSERT_TRUE(returned) << "Log() waited for the writer's output";
        EXPECT_TRUE(queued.get());
    }
    EXPECT_EQ(2u, ReadLines(path).size());
}

TEST(LogWriterTest, ListenerMayLogWithoutDeadlock)
{
    struct EchoingListener : ILogEventListener
    {
        LogWriter* writer = nullptr;
        std::atomic<int> calls{0};
        void OnLogEvent(const char*) override
        {
            if (calls++ == 0)
                writer->Log(LogLevel::Error, "from listener");
        }
    } listener;
    test::StdTempDir dir;
    std::string path;
    {
        LogWriter writer;
        listener.writer = &writer;
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Error));
        path = writer.GetFilePath();
        writer.SetListener(&listener);
        writer.Log(LogLevel::Error, "original");
    }
    const auto lines = ReadLines(path);
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::string::npos, lines[1].find("from listener"));
}

TEST(LogWriterTest, EchoWritesToStandardOutputOnlyWhenSet)
{
    testing::internal::CaptureStdout();
    {
        LogWriter writer;
        writer.Log(LogLevel::Error, "silent line");
    }
    {
        LogWriter writer;
        writer.SetEcho(true);
        writer.Log(LogLevel::Error, "echoed line");
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string::npos, out.find("silent line"));
    EXPECT_NE(std::string::npos, out.find(" (E): echoed line\n"));
}

TEST(LogWriterTest, SecondOpenInTheSameSecondKeepsTheFirstFile)
{
    test::UtcTimeZone utc;
    test::StdTempDir dir;
    std::string first;
    std::string second;
    std::string third;
    {
        LogWriter writer(FixedClock(kSampleTicks));
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Error));
        first = writer.GetFilePath();
        writer.Log(LogLevel::Error, "in first");
        // Let the line reach the first file before it is switched.
        for (int i = 0; i < 1000 && fs::file_size(first) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        writer.OpenLogFile(dir.StdPath().c_str());
        second = writer.GetFilePath();
        writer.Log(LogLevel::Error, "in second");
    }
    {
        // A second process start within the same second.
        LogWriter writer(FixedClock(kSampleTicks));
        ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Error));
        third = writer.GetFilePath();
    }
    EXPECT_EQ(dir.StdPath() + "/Zorv_2026_12_06_15_31_48.log", first);
    EXPECT_EQ(dir.StdPath() + "/Zorv_2026_12_06_15_31_48_2.log", second);
    EXPECT_EQ(dir.StdPath() + "/Zorv_2026_12_06_15_31_48_3.log", third);
    ASSERT_EQ(1u, ReadLines(first).size());
    EXPECT_NE(std::string::npos, ReadLines(first)[0].find("in first"));
    ASSERT_EQ(1u, ReadLines(second).size());
    EXPECT_NE(std::string::npos, ReadLines(second)[0].find("in second"));
}

TEST(LogWriterTest, FolderGetsATrailingSeparatorAndNullOrEmptyCloses)
{
    test::StdTempDir dir;
    LogWriter writer;
    writer.OpenLogFile(dir.StdPath().c_str());
    EXPECT_EQ(dir.StdPath() + "/", writer.GetFolder());
    EXPECT_TRUE(fs::exists(writer.GetFilePath()));

    writer.OpenLogFile((dir.StdPath() + "/").c_str());
    EXPECT_EQ(dir.StdPath() + "/", writer.GetFolder());

    writer.OpenLogFile(nullptr);
    EXPECT_EQ("", writer.GetFolder());
    EXPECT_EQ("", writer.GetFilePath());

    // An empty folder in the configuration only closes the file and applies the level.
    ASSERT_TRUE(writer.Initialize(false, dir.StdPath(), 10, LogLevel::Error));
    EXPECT_TRUE(writer.Initialize(false, "", 10, LogLevel::Info));
    EXPECT_EQ("", writer.GetFolder());
    EXPECT_TRUE(writer.Log(LogLevel::Info, "info"));
}

TEST(LogWriterTest, UnopenableFolderLeavesTheWriterWithoutFile)
{
    test::StdTempDir dir;
    const std::string missing = dir.StdPath() + "/missing";
    CollectingListener listener;
    {
        LogWriter writer;
        writer.SetListener(&listener);
        writer.OpenLogFile(missing.c_str());
        EXPECT_EQ("", writer.GetFolder());
        EXPECT_FALSE(writer.Initialize(false, missing, 10, LogLevel::Debug));
        // Level not applied: debug records are still refused.
        EXPECT_FALSE(writer.Log(LogLevel::Debug, "debug"));
        EXPECT_TRUE(writer.Log(LogLevel::Error, "still logging"));
    }
    EXPECT_FALSE(fs::exists(missing));
    ASSERT_EQ(1u, listener.lines.size());
    EXPECT_NE(std::string::npos, listener.lines[0].find("still logging"));
}

namespace
{
// Built before the writer, so destroyed after it at exit.
struct LogsWhenDestroyed
{
    ~LogsWhenDestroyed() { LogMessage(LogLevel::Error, "logged after the writer is gone"); }
};
} // namespace

TEST(LogWriterExitTest, LoggingAfterTheWriterWasDestroyedIsDropped)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static LogsWhenDestroyed late;
            LogMessage(LogLevel::Error, "creates the writer");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
