#pragma once

#include <juce_core/juce_core.h>

namespace zorvpro::acoustics
{

// juce::String::getDoubleValue for text from a file. JUCE accumulates the
// exponent in an int, so an exponent of ten or more digits overflows it (and
// wraps to a wrong value); such exponents are cut to four digits here, which
// gives what JUCE means them to give: infinity or zero.
double ReadDouble(const juce::String& text);

} // namespace zorvpro::acoustics
