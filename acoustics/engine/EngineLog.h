#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace zorvpro
{
namespace acoustics
{

// "Exception <what> occurred @ '<file>::<function>() Line <line>'"
std::string ExceptionLogText(const std::string& what, const char* file, const char* function, int line);

// Log an exception caught by the engine at level error, with the place that caught it.
void LogEngineException(const std::exception& e, const char* file, const char* function, int line);
void LogEngineUnknownException(const char* file, const char* function, int line);

// "Calculation of field-point set <id> abandoned: <what>" at level error.
void LogSetCalculationFailure(uint64_t setId, const std::string& what);
// "Calculation abandoned: <what>" at level error, for a failure before any set was queued.
void LogCalculationFailure(const std::string& what);

} // namespace acoustics
} // namespace zorvpro
