#pragma once

#include <cstdint>

namespace zorvpro
{
// What a bound property reports to its listener.
enum class BoundPropertyEvent : std::uint32_t
{
    ValueChanged = 0,       // with the widget's value in model units
    FocusGained = 1,        // with an empty value
    FocusLost = 2,          // with an empty value
    ValuePassedThrough = 3, // with the widget's own value, unconverted
};
} // namespace zorvpro
