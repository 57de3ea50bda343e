#pragma once

// Checks for resources a constructor cannot work without and for texts that
// must not be empty. A failed check is logged with the place of the check
// itself (this header and its line, which tells the failing form apart) and
// then thrown as std::logic_error.

#include "core/Logger/OmbraxLogger.h"

#include <QString>
#include <memory>
#include <stdexcept>

namespace zorvpro
{
namespace detail
{
[[noreturn]] inline void FailCheck(const char* message, const char* function, int line)
{
    const std::logic_error error(message);
    OmbraxLogger::LogException(error, __FILE__, function, line);
    throw error;
}

constexpr const char* kAllocMessage = "Expected resource not created or set properly";
constexpr const char* kTextMessage = "Expected string variable was empty";
} // namespace detail

template <typename T> void CheckAlloc(const T* pointer)
{
    if (pointer == nullptr)
        detail::FailCheck(detail::kAllocMessage, "CheckAlloc", __LINE__);
}

template <typename T, typename D> void CheckAlloc(const std::unique_ptr<T, D>& pointer)
{
    if (!pointer)
        detail::FailCheck(detail::kAllocMessage, "CheckAlloc", __LINE__);
}

template <typename T> void CheckAlloc(const std::shared_ptr<T>& pointer)
{
    if (!pointer)
        detail::FailCheck(detail::kAllocMessage, "CheckAlloc", __LINE__);
}

inline void CheckTextEmpty(const QString& text)
{
    if (text.isEmpty())
        detail::FailCheck(detail::kTextMessage, "CheckTextEmpty", __LINE__);
}
} // namespace zorvpro
