#include "core/math/Timestamp.h"

#include <chrono>

namespace zorvpro
{

Timestamp::Timestamp() : ms(NowMilliseconds()) {}

int64_t Timestamp::NowMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace zorvpro
