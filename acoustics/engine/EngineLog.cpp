#include "acoustics/engine/EngineLog.h"

#include "core/Logging/Log.h"

namespace zorvpro
{
namespace acoustics
{

namespace
{
std::string Decorated(const std::string& text, const char* file, const char* function, int line)
{
    return text + " occurred @ '" + file + "::" + function + "() Line " + std::to_string(line) + "'";
}

void LogError(const std::string& text)
{
    LogMessage(LogLevel::Error, text);
}
} // namespace

std::string ExceptionLogText(const std::string& what, const char* file, const char* function, int line)
{
    return Decorated("Exception " + what, file, function, line);
}

void LogEngineException(const std::exception& e, const char* file, const char* function, int line)
{
    LogError(ExceptionLogText(e.what(), file, function, line));
}

void LogEngineUnknownException(const char* file, const char* function, int line)
{
    LogError(Decorated("Unknown exception", file, function, line));
}

void LogSetCalculationFailure(uint64_t setId, const std::string& what)
{
    LogError("Calculation of field-point set " + std::to_string(setId) + " abandoned: " + what);
}

void LogCalculationFailure(const std::string& what)
{
    LogError("Calculation abandoned: " + what);
}

} // namespace acoustics
} // namespace zorvpro
