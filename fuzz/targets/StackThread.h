#pragma once

#include <pthread.h>

#include <cstddef>
#include <cstdlib>
#include <functional>

namespace zorvpro::fuzz
{

// Runs `work` to its end on a new thread with a stack of `stackBytes`, so
// that how deep a reader may recurse is tested against a known stack rather
// than whatever the calling thread happens to have.
inline void RunWithStack(size_t stackBytes, const std::function<void()>& work)
{
    pthread_attr_t attributes;
    pthread_t thread;
    const auto entry = [](void* argument) -> void*
    {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    if (pthread_attr_init(&attributes) != 0 || pthread_attr_setstacksize(&attributes, stackBytes) != 0 ||
        pthread_create(&thread, &attributes, entry, const_cast<std::function<void()>*>(&work)) != 0)
        std::abort();
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

} // namespace zorvpro::fuzz
