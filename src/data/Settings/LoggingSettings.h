#pragma once

#include "core/Logging/LogLevel.h"

#include <QObject>
#include <QString>
#include <memory>

namespace zorvpro
{
class LoggingSettings : public QObject
{
    Q_OBJECT

public:
    explicit LoggingSettings(QObject* parent = nullptr);
    ~LoggingSettings() override;

public slots:
    LogLevel::LogLevelType getLoggingLevel() const;
    void setLoggingLevel(LogLevel::LogLevelType level);
    bool getLoggingWindowEnabled() const;
    void setLoggingWindowEnabled(bool enabled);
    int getLogFilesToKeep() const;
    void setLogFilesToKeep(int num);
    QString getLogFilePath() const;
    void setLogFilePath(const QString& path);

private:
    struct Data;
    std::unique_ptr<Data> d_;
};
} // namespace zorvpro
