#pragma once

namespace zorvpro
{
// Receives every written log line (without line end) on the writer thread.
// Implementations must not block for long (the next line waits for them) and
// must not change the writer's listener, file or echo flag from inside the
// call; logging from inside it is fine.
class ILogEventListener
{
public:
    virtual void OnLogEvent(const char* line) = 0;

protected:
    ~ILogEventListener() = default;
};
} // namespace zorvpro
