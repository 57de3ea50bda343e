#include "data/Settings/LoggingSettings.h"

#include "Utility/ApiChecker.h"

#include <QDir>
#include <QStandardPaths>

namespace zorvpro
{
struct LoggingSettings::Data
{
    LogLevel::LogLevelType level = LogLevel::Error;
    bool windowEnabled = false;
    int filesToKeep = 10;
    QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QDir::separator() +
                   QStringLiteral("Logs");
};

LoggingSettings::LoggingSettings(QObject* parent) : QObject(parent), d_(new Data)
{
    CheckAlloc(d_);
}

LoggingSettings::~LoggingSettings() = default;

LogLevel::LogLevelType LoggingSettings::getLoggingLevel() const
{
    return d_->level;
}

void LoggingSettings::setLoggingLevel(LogLevel::LogLevelType level)
{
    d_->level = level;
}

bool LoggingSettings::getLoggingWindowEnabled() const
{
    return d_->windowEnabled;
}

void LoggingSettings::setLoggingWindowEnabled(bool enabled)
{
    d_->windowEnabled = enabled;
}

int LoggingSettings::getLogFilesToKeep() const
{
    return d_->filesToKeep;
}

void LoggingSettings::setLogFilesToKeep(int num)
{
    d_->filesToKeep = num;
}

QString LoggingSettings::getLogFilePath() const
{
    return d_->path;
}

void LoggingSettings::setLogFilePath(const QString& path)
{
    d_->path = path;
}
} // namespace zorvpro
