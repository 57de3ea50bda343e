#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace zorvpro::test
{
// Pins local time to UTC while it lives so that formatted times are known.
class UtcTimeZone
{
public:
    UtcTimeZone()
    {
        if (const char* tz = std::getenv("TZ"))
            previous_ = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcTimeZone()
    {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

// 2026-12-06 15:31:48 UTC in 100 ns units.
constexpr long long kSampleTicks = 1796571108LL * 10000000LL;
} // namespace zorvpro::test
