#pragma once

#include "core/Logging/ILogEventListener.h"
#include "core/Logging/LogLevel.h"
#include "core/Logging/LogRecord.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace zorvpro
{
// Queues log records from any thread and writes them on one writer thread to
// the log file, to standard output (when echo is on) and to one listener.
//
// Two locks keep callers away from file I/O: the queue lock only guards the
// queue, the output lock guards the file, echo flag and listener. The writer
// takes the whole queue in one step and writes it under the output lock only,
// so Log() never waits for a write or flush.
class LogWriter
{
public:
    // System clock in 100 ns units since 1970-01-01 00:00 UTC.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t SystemTicks();

    explicit LogWriter(Clock clock = &LogWriter::SystemTicks);
    ~LogWriter();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // The process-wide writer, created on first use, destroyed at exit.
    static LogWriter& Instance();
    // The process-wide writer, or null once it has been destroyed at exit:
    // objects torn down after it may still try to log.
    static LogWriter* Find();

    // Queues a record; false (nothing queued) when the threshold is off, the
    // level is below it, or the text is null.
    bool Log(LogLevel::LogLevelType level, const char* text);

    // A non-null folder closes any open file and opens a new one there
    // (empty means "./"); null only closes the open file.
    void OpenLogFile(const char* folder);

    // The folder (with trailing separator) while a file is open, else empty.
    std::string GetFolder() const;
    // Full path of the open log file, else empty.
    std::string GetFilePath() const;

    void SetLevel(LogLevel::LogLevelType level);
    LogLevel::LogLevelType GetLevel() const;
    void SetEcho(bool echo);
    // Replaces the single listener; null removes it. Not owned.
    void SetListener(ILogEventListener* listener);
    // Removes the listener only when it is the given one.
    void RemoveListener(ILogEventListener* listener);

    // Configures the writer for a run: an empty folder only closes the file
    // and applies level and echo. Otherwise the folder must exist; surplus
    // old log files are deleted (when filesToKeep >= 1) and a new file is
    // opened. A file that could be opened gets level and echo applied even
    // when pruning failed. Returns false when the folder is missing, no file
    // could be opened, or an old file could not be deleted.
    bool Initialize(bool echo, const std::string& folder, int filesToKeep, LogLevel::LogLevelType level);

    // Deletes "Zorv*.log" files of the folder, oldest first, until
    // filesToKeep - 1 remain (room for the file opened next). Nothing happens
    // for filesToKeep < 1. Returns false as soon as one deletion fails.
    static bool DeleteOldLogFiles(const std::string& folder, int filesToKeep);

private:
    void Run();
    void Write(LogRecord& record);
    void CloseFileLocked();

    Clock clock_;
    bool echo_ = false;
    std::string folder_;
    std::string filePath_;
    std::FILE* file_ = nullptr;
    std::atomic<LogLevel::LogLevelType> threshold_{LogLevel::Error};
    std::deque<std::unique_ptr<LogRecord>> queue_;
    bool running_ = true;
    std::mutex queueMutex_;
    std::condition_variable wake_;
    mutable std::mutex outputMutex_;
    ILogEventListener* listener_ = nullptr;
    std::thread thread_;
};
} // namespace zorvpro
