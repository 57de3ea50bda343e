#include "core/Logging/LogLevel.h"

#include <cctype>
#include <string>

namespace zorvpro
{
namespace LogLevel
{
namespace
{
const char* const kNames[] = {"off", "debug", "info", "warning", "error"};
constexpr LogLevelType kNameCount = sizeof(kNames) / sizeof(kNames[0]);
} // namespace

const char* ToName(LogLevelType level)
{
    return level < kNameCount ? kNames[level] : kNames[Off];
}

LogLevelType FromName(const char* name)
{
    std::string lower = name != nullptr ? name : "";
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (LogLevelType i = 0; i < kNameCount; ++i)
    {
        if (lower == kNames[i])
            return i;
    }
    return Off;
}

char Letter(LogLevelType level)
{
    switch (level)
    {
    case Debug:
        return 'D';
    case Info:
        return 'I';
    case Warning:
        return 'W';
    case Error:
        return 'E';
    default:
        return '?';
    }
}
} // namespace LogLevel
} // namespace zorvpro
