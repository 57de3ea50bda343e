#pragma once

#include <cstdint>

namespace zorvpro
{
namespace LogLevel
{
using LogLevelType = std::uint32_t;

constexpr LogLevelType Off = 0;
constexpr LogLevelType Debug = 1;
constexpr LogLevelType Info = 2;
constexpr LogLevelType Warning = 3;
constexpr LogLevelType Error = 4;

// "off", "debug", "info", "warning", "error"; a value above Error gives "off".
const char* ToName(LogLevelType level);

// Case-insensitive exact match against the five names; anything else
// (including a null name) gives Off.
LogLevelType FromName(const char* name);

// The letter that marks a level in a log line: D, I, W, E, or '?' otherwise.
char Letter(LogLevelType level);
} // namespace LogLevel
} // namespace zorvpro
