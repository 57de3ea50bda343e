#pragma once

#include "core/Logging/LogLevel.h"

#include <cstdint>
#include <string>

namespace zorvpro
{
// Builds one log line: local date and time, milliseconds, level letter, text.
// ticks are 100 ns units of the system clock since 1970-01-01 00:00 UTC.
std::string FormatLogLine(LogLevel::LogLevelType level, std::int64_t ticks, const std::string& text);

// One queued message. The line is formatted on first use and then kept, so
// that every output shares the same text.
class LogRecord
{
public:
    LogRecord(LogLevel::LogLevelType level, std::string text, std::int64_t ticks);

    LogLevel::LogLevelType GetLevel() const { return level_; }
    const std::string& GetText() const { return text_; }
    std::int64_t GetTimeStamp() const { return ticks_; }
    const std::string& GetLine();

private:
    LogLevel::LogLevelType level_;
    std::string text_;
    std::int64_t ticks_;
    std::string line_;
};
} // namespace zorvpro
