#pragma once

#include <atomic>
#include <functional>

namespace zorvpro
{
namespace acoustics
{

// Holds an atomic flag true while it exists; shared by the parties that keep it raised.
// The release callback runs once the flag has fallen.
class ScopedBool
{
public:
    template <typename OnRelease>
    ScopedBool(std::atomic<bool>& flag, OnRelease onRelease) : flag(flag), onRelease(std::move(onRelease))
    {
        flag.store(true);
    }
    ~ScopedBool()
    {
        flag.store(false);
        if (onRelease)
            onRelease();
    }
    ScopedBool(const ScopedBool&) = delete;
    ScopedBool& operator=(const ScopedBool&) = delete;

private:
    std::atomic<bool>& flag;
    std::function<void()> onRelease;
};

} // namespace acoustics
} // namespace zorvpro
