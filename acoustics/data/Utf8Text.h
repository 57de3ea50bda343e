#pragma once

#include <string>
#include <string_view>

namespace zorvpro::acoustics
{

// The bytes as well-formed UTF-8: every byte that does not start a complete,
// shortest-form sequence of a code point up to U+10FFFF (surrogates excluded)
// becomes U+FFFD. JUCE's strings trust their bytes: a lead byte near the end
// makes its parser step over the terminator, so text from a file must pass
// through here before it becomes a juce::String.
std::string ValidUtf8(std::string_view bytes);

} // namespace zorvpro::acoustics
