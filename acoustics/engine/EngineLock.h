#pragma once

#include <mutex>

namespace zorvpro
{
namespace acoustics
{

// The lock of every engine object: re-entrant, so listeners may call back on the same thread.
using EngineLock = std::recursive_timed_mutex;
using EngineGuard = std::lock_guard<EngineLock>;

} // namespace acoustics
} // namespace zorvpro
