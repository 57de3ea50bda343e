#pragma once

#include <exception>

namespace zorvpro
{
// Constructors and creators of property widgets log a failure at the place
// it was caught and let it pass on as std::runtime_error with the same text.
[[noreturn]] void RethrowLogged(const std::exception& error, const char* file, const char* function,
                                int line);
[[noreturn]] void RethrowLoggedUnknown(const char* file, const char* function, int line);
} // namespace zorvpro
