#include "core/Logging/Log.h"

#include "core/Logging/LogWriter.h"

namespace zorvpro
{
bool LogMessage(LogLevel::LogLevelType level, const std::string& text)
{
    LogWriter* writer = LogWriter::Find();
    return writer != nullptr && writer->Log(level, text.c_str());
}
} // namespace zorvpro
