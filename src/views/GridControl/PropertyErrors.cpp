#include "views/GridControl/PropertyErrors.h"

#include "core/Logger/OmbraxLogger.h"

#include <stdexcept>

namespace zorvpro
{
void RethrowLogged(const std::exception& error, const char* file, const char* function, int line)
{
    OmbraxLogger::LogException(error, file, function, line);
    throw std::runtime_error(error.what());
}

void RethrowLoggedUnknown(const char* file, const char* function, int line)
{
    OmbraxLogger::LogUnknownException(file, function, line);
    throw std::runtime_error("Unknown exception");
}
} // namespace zorvpro
