#include "core/Logger/OmbraxLogger.h"

#include "core/Logging/LogWriter.h"

namespace zorvpro
{
OmbraxLogger::OmbraxLogger()
{
    // The writer must exist first so that it is destroyed after this object
    // and never calls a destroyed listener.
    LogWriter::Instance();
}

OmbraxLogger::~OmbraxLogger()
{
    if (LogWriter* writer = LogWriter::Find())
        writer->RemoveListener(this);
}

OmbraxLogger* OmbraxLogger::Instance()
{
    static OmbraxLogger instance;
    return &instance;
}

bool OmbraxLogger::Log(LogLevel::LogLevelType level, const char* text)
{
    LogWriter* writer = LogWriter::Find();
    return writer != nullptr && writer->Log(level, text);
}

void OmbraxLogger::Log(LogLevel::LogLevelType level, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    Log(level, utf8.constData());
}

QString DescribeExceptionPlace(const QString& text, const char* file, const char* function, int line)
{
    return text + QStringLiteral(" occurred @ '") + QString::fromUtf8(file) + QStringLiteral("::") +
           QString::fromUtf8(function) + QStringLiteral("() Line ") + QString::number(line) +
           QStringLiteral("'");
}

void OmbraxLogger::LogException(const std::exception& e, const char* file, const char* function, int line)
{
    Log(LogLevel::Error, DescribeExceptionPlace(QStringLiteral("Exception ") + QString::fromUtf8(e.what()),
                                                file, function, line));
}

void OmbraxLogger::LogUnknownException(const char* file, const char* function, int line)
{
    Log(LogLevel::Error, DescribeExceptionPlace(QStringLiteral("Unknown exception"), file, function, line));
}

bool OmbraxLogger::Initialize(const LoggerConfig& config)
{
    return LogWriter::Instance().Initialize(config.echo, config.folder.toUtf8().toStdString(),
                                            config.filesToKeep, config.level);
}

void OmbraxLogger::RegisterListener(OmbraxLogger* logger)
{
    LogWriter::Instance().SetListener(logger);
}

void OmbraxLogger::OnLogEvent(const char* line)
{
    emit logEventRx(QString::fromUtf8(line));
}
} // namespace zorvpro
