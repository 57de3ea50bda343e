#pragma once

#include <cstdint>

namespace zorvpro
{

// Whole milliseconds of the steady clock at construction. Only differences
// between timestamps mean anything; the clock never goes backwards.
class Timestamp
{
public:
    Timestamp();
    explicit Timestamp(int64_t milliseconds) : ms(milliseconds) {}

    int64_t Milliseconds() const { return ms; }
    static int64_t NowMilliseconds();

    bool operator==(const Timestamp& other) const { return ms == other.ms; }
    bool operator!=(const Timestamp& other) const { return ms != other.ms; }
    bool operator<(const Timestamp& other) const { return ms < other.ms; }

private:
    int64_t ms;
};

} // namespace zorvpro
