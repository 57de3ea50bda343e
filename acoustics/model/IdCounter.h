#pragma once

#include <atomic>
#include <cstdint>
#include <limits>

namespace zorvpro::acoustics
{

// A process-wide id source: hands out 0, 1, 2, ...; the largest value is
// never handed out: a counter standing there yields 0 and moves on to 1.
class IdCounter
{
public:
    uint64_t next()
    {
        uint64_t current = value.load(std::memory_order_relaxed);
        uint64_t id = 0;
        do
        {
            id = current == std::numeric_limits<uint64_t>::max() ? 0 : current;
        } while (!value.compare_exchange_weak(current, id + 1, std::memory_order_relaxed));
        return id;
    }

    // Moves the counter; for tests of the wrap-around.
    void set(uint64_t v) { value.store(v); }

private:
    std::atomic<uint64_t> value{0};
};

} // namespace zorvpro::acoustics
