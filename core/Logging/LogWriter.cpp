#include "core/Logging/LogWriter.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace zorvpro
{
namespace
{
namespace fs = std::filesystem;

constexpr std::int64_t kTicksPerSecond = 10000000;
// Enough distinct names for any number of starts within one second.
constexpr int kMaxNameAttempts = 1000;

bool IsLogFileName(const std::string& name)
{
    static const std::string prefix = "Zorv";
    static const std::string suffix = ".log";
    return name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string FileTimeText(std::int64_t ticks)
{
    const std::time_t seconds = static_cast<std::time_t>(ticks / kTicksPerSecond);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32] = {};
    if (std::strftime(text, sizeof text, "%Y_%m_%d_%H_%M_%S", &local) == 0)
        text[0] = '\0';
    return text;
}

// Creates the file exclusively so that a second start within the same second
// never truncates the first file: it gets the suffix _2, _3, ... instead.
std::FILE* CreateLogFile(const std::string& folder, const std::string& timeText, std::string& path)
{
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt)
    {
        std::string name = "Zorv_" + timeText;
        if (attempt > 1)
            name += "_" + std::to_string(attempt);
        name += ".log";
        path = folder + name;
        if (std::FILE* file = std::fopen(path.c_str(), "wx"))
            return file;
        std::error_code ec;
        if (!fs::exists(path, ec))
            break; // the folder itself is unusable; another name will not help
    }
    path.clear();
    return nullptr;
}
} // namespace

std::int64_t LogWriter::SystemTicks()
{
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, kTicksPerSecond>>;
    return std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch()).count();
}

LogWriter::LogWriter(Clock clock) : clock_(std::move(clock))
{
    thread_ = std::thread(&LogWriter::Run, this);
}

LogWriter::~LogWriter()
{
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        running_ = false;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> lock(outputMutex_);
    CloseFileLocked();
}

namespace
{
// Trivially destructible, so it stays readable while other statics are torn down.
std::atomic<bool> g_writerGone{false};

struct WriterHolder
{
    std::unique_ptr<LogWriter> writer{new LogWriter()};
    ~WriterHolder()
    {
        g_writerGone = true;
        writer.reset();
    }
};
} // namespace

LogWriter& LogWriter::Instance()
{
    static WriterHolder holder;
    return *holder.writer;
}

LogWriter* LogWriter::Find()
{
    if (g_writerGone)
        return nullptr;
    return &Instance();
}

bool LogWriter::Log(LogLevel::LogLevelType level, const char* text)
{
    const LogLevel::LogLevelType threshold = threshold_.load(std::memory_order_relaxed);
    if (threshold == LogLevel::Off || level < threshold || text == nullptr)
        return false;
    auto record = std::make_unique<LogRecord>(level, std::string(text), clock_());
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        queue_.push_back(std::move(record));
    }
    wake_.notify_one();
    return true;
}

void LogWriter::Run()
{
    std::deque<std::unique_ptr<LogRecord>> batch;
    for (;;)
    {
        {
            std::unique_lock<std::mutex> lock(queueMutex_);
            wake_.wait(lock, [this] { return !queue_.empty() || !running_; });
            if (queue_.empty())
                return; // stopping and everything queued has been written
            batch.swap(queue_);
        }
        for (auto& record : batch)
            Write(*record);
        batch.clear();
    }
}

void LogWriter::Write(LogRecord& record)
{
    const std::string& line = record.GetLine();
    std::lock_guard<std::mutex> lock(outputMutex_);
    if (echo_)
    {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    if (file_ != nullptr)
    {
        std::fwrite(line.data(), 1, line.size(), file_);
        std::fputc('\n', file_);
        std::fflush(file_);
    }
    if (listener_ != nullptr)
        listener_->OnLogEvent(line.c_str());
}

void LogWriter::CloseFileLocked()
{
    if (file_ != nullptr)
    {
        std::fclose(file_);
        file_ = nullptr;
    }
    folder_.clear();
    filePath_.clear();
}

void LogWriter::OpenLogFile(const char* folder)
{
    std::lock_guard<std::mutex> lock(outputMutex_);
    CloseFileLocked();
    if (folder == nullptr)
        return;
    std::string dir = folder;
    if (dir.empty())
        dir = "./";
    else if (dir.back() != '/' && dir.back() != '\\')
        dir += '/';
    std::string path;
    file_ = CreateLogFile(dir, FileTimeText(clock_()), path);
    if (file_ != nullptr)
    {
        folder_ = dir;
        filePath_ = path;
    }
}

std::string LogWriter::GetFolder() const
{
    std::lock_guard<std::mutex> lock(outputMutex_);
    return folder_;
}

std::string LogWriter::GetFilePath() const
{
    std::lock_guard<std::mutex> lock(outputMutex_);
    return filePath_;
}

void LogWriter::SetLevel(LogLevel::LogLevelType level)
{
    threshold_.store(level, std::memory_order_relaxed);
}

LogLevel::LogLevelType LogWriter::GetLevel() const
{
    return threshold_.load(std::memory_order_relaxed);
}

void LogWriter::SetEcho(bool echo)
{
    std::lock_guard<std::mutex> lock(outputMutex_);
    echo_ = echo;
}

void LogWriter::SetListener(ILogEventListener* listener)
{
    std::lock_guard<std::mutex> lock(outputMutex_);
    listener_ = listener;
}

void LogWriter::RemoveListener(ILogEventListener* listener)
{
    std::lock_guard<std::mutex> lock(outputMutex_);
    if (listener_ == listener)
        listener_ = nullptr;
}

bool LogWriter::Initialize(bool echo, const std::string& folder, int filesToKeep,
                           LogLevel::LogLevelType level)
{
    if (folder.empty())
    {
        OpenLogFile(nullptr);
        SetLevel(level);
        SetEcho(echo);
        return true;
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return false;
    // A folder that cannot be pruned still gets its new log file.
    const bool pruned = DeleteOldLogFiles(folder, filesToKeep);
    OpenLogFile(folder.c_str());
    if (GetFolder().empty())
        return false;
    SetLevel(level);
    SetEcho(echo);
    return pruned;
}

bool LogWriter::DeleteOldLogFiles(const std::string& folder, int filesToKeep)
{
    if (filesToKeep < 1)
        return true;
    struct Entry
    {
        fs::file_time_type modified;
        fs::path path;
    };
    std::vector<Entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    {
        std::error_code entryEc;
        if (!it->is_regular_file(entryEc) || !IsLogFileName(it->path().filename().string()))
            continue;
        const auto modified = it->last_write_time(entryEc);
        if (entryEc)
            continue;
        entries.push_back({modified, it->path()});
    }
    if (ec)
        return false;
    // Newest first; equal times fall back to the name, whose time stamp orders them.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b)
              {
                  if (a.modified != b.modified)
                      return a.modified > b.modified;
                  return a.path.filename() > b.path.filename();
              });
    const std::size_t keep = static_cast<std::size_t>(filesToKeep - 1);
    for (std::size_t i = entries.size(); i > keep; --i)
    {
        std::error_code removeEc;
        if (!fs::remove(entries[i - 1].path, removeEc))
            return false;
    }
    return true;
}
} // namespace zorvpro
