#pragma once

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

} // namespace acoustics
} // namespace zorvpro
