#pragma once

#include "core/Logger/LoggerConfig.h"
#include "core/Logging/ILogEventListener.h"
#include "core/Logging/LogLevel.h"

#include <QObject>
#include <QString>
#include <exception>

namespace zorvpro
{
// The logger every Qt-side caller uses. It forwards to the process-wide
// LogWriter and, once registered, re-emits each written line as logEventRx
// (on the writer thread; receivers on the GUI thread get it queued).
class OmbraxLogger : public QObject, public ILogEventListener
{
    Q_OBJECT

public:
    static OmbraxLogger* Instance();

    static bool Log(LogLevel::LogLevelType level, const char* text);
    static void Log(LogLevel::LogLevelType level, const QString& text);

    // Logs "Exception <what> occurred @ '<file>::<function>() Line <line>'" at error.
    static void LogException(const std::exception& e, const char* file, const char* function, int line);
    // Logs "Unknown exception occurred @ '...'" at error; for catch-all handlers.
    static void LogUnknownException(const char* file, const char* function, int line);

    // Configures the writer and opens a new log file in the folder. False
    // when the folder is missing, no file could be opened or old files could
    // not be deleted; the program goes on logging in any case.
    static bool Initialize(const LoggerConfig& config);

    // Makes the given logger the writer's listener; null removes it.
    static void RegisterListener(OmbraxLogger* logger);

    void OnLogEvent(const char* line) override;

signals:
    void logEventRx(const QString& msg);

private:
    OmbraxLogger();
    ~OmbraxLogger() override;
};

// The text logged for an exception caught at a place in the code.
QString DescribeExceptionPlace(const QString& text, const char* file, const char* function, int line);
} // namespace zorvpro
