#pragma once

// Collects the lines the process-wide log writer produces while it lives.
// Lines() synchronises with the writer thread by logging a marker record and
// waiting for it, so a test sees everything logged before the call.

#include "core/Logging/ILogEventListener.h"
#include "core/Logging/LogWriter.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace zorvpro::test
{
class LogCapture : public ILogEventListener
{
public:
    LogCapture() : previousLevel_(LogWriter::Instance().GetLevel())
    {
        LogWriter::Instance().SetLevel(LogLevel::Debug);
        LogWriter::Instance().SetListener(this);
        // Records queued before the capture began are not the test's: drain them.
        Clear();
    }

    ~LogCapture()
    {
        Lines();
        LogWriter::Instance().RemoveListener(this);
        LogWriter::Instance().SetLevel(previousLevel_);
    }

    // Whole lines written since construction (or since the last Clear).
    std::vector<std::string> Lines()
    {
        const std::string marker = "--capture marker " + std::to_string(++markerCount_) + "--";
        std::unique_lock<std::mutex> lock(mutex_);
        if (!LogWriter::Instance().Log(LogLevel::Error, marker.c_str()))
            return lines_;
        // A generous guard so that a broken writer fails the test instead of hanging it.
        cv_.wait_for(lock, std::chrono::seconds(10), [&] { return seenMarker_ == marker; });
        return lines_;
    }

    // The texts of the lines, without the time and level prefix.
    std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (const std::string& line : Lines())
        {
            const auto pos = line.find("): ");
            texts.push_back(pos == std::string::npos ? line : line.substr(pos + 3));
        }
        return texts;
    }

    void Clear()
    {
        Lines();
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
    }

    void OnLogEvent(const char* line) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::string text(line);
        if (text.find("--capture marker ") != std::string::npos)
            seenMarker_ = text.substr(text.find("--capture marker "));
        else
            lines_.push_back(text);
        cv_.notify_all();
    }

private:
    LogLevel::LogLevelType previousLevel_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::string> lines_;
    std::string seenMarker_;
    int markerCount_ = 0;
};
} // namespace zorvpro::test
