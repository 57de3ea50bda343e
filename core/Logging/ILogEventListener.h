#pragma once

namespace zorvpro
{
// Receives every written log line (without line end) on the writer thread.
// Implementations must not block for long: the next line waits for them.
class ILogEventListener
{
public:
    virtual void OnLogEvent(const char* line) = 0;

protected:
    ~ILogEventListener() = default;
};
} // namespace zorvpro
