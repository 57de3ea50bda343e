#pragma once

#include <mutex>

namespace zorvpro::acoustics
{

// The lock of every shared acoustics object: re-entrant, so an object may call
// its own public operations (and listeners may call back) on the same thread.
using RecursiveTimedMutex = std::recursive_timed_mutex;
using ScopedLock = std::lock_guard<RecursiveTimedMutex>;

} // namespace zorvpro::acoustics
