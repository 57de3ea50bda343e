#include "core/Logging/LogRecord.h"

#include <cstdio>
#include <ctime>
#include <utility>

namespace zorvpro
{
namespace
{
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kTicksPerMillisecond = 10000;

bool ToLocalTime(std::time_t seconds, std::tm& out)
{
#ifdef _WIN32
    return localtime_s(&out, &seconds) == 0;
#else
    return localtime_r(&seconds, &out) != nullptr;
#endif
}
} // namespace

std::string FormatLogLine(LogLevel::LogLevelType level, std::int64_t ticks, const std::string& text)
{
    char dateTime[32] = {};
    std::tm local{};
    if (ToLocalTime(static_cast<std::time_t>(ticks / kTicksPerSecond), local))
    {
        if (std::strftime(dateTime, sizeof dateTime, "%m/%d/%Y %H:%M:%S", &local) == 0)
            dateTime[0] = '\0';
    }
    // Keep the remainder positive so that a pre-1970 stamp cannot print a sign.
    const int millis = static_cast<int>(((ticks / kTicksPerMillisecond) % 1000 + 1000) % 1000);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", millis);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%s%s (%c): ", dateTime, fraction, LogLevel::Letter(level));
    return std::string(prefix) + text;
}

LogRecord::LogRecord(LogLevel::LogLevelType level, std::string text, std::int64_t ticks)
    : level_(level), text_(std::move(text)), ticks_(ticks)
{
}

const std::string& LogRecord::GetLine()
{
    if (line_.empty())
        line_ = FormatLogLine(level_, ticks_, text_);
    return line_;
}
} // namespace zorvpro
