#pragma once

#include "core/Logging/LogLevel.h"

#include <string>

namespace zorvpro
{
// Logging for code without Qt: queues the text on the process-wide writer.
// Returns false when the level is below the configured threshold.
bool LogMessage(LogLevel::LogLevelType level, const std::string& text);
} // namespace zorvpro
