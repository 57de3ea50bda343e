#pragma once

#include "core/Logging/LogLevel.h"

#include <QString>

namespace zorvpro
{
// What the application hands to OmbraxLogger::Initialize.
struct LoggerConfig
{
    bool echo = false;
    QString folder = QStringLiteral(".");
    int filesToKeep = 10;
    LogLevel::LogLevelType level = LogLevel::Error;
};
} // namespace zorvpro
