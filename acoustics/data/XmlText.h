#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <string_view>

namespace zorvpro::acoustics
{

// The text without its processing instructions ("<?...?>", the XML
// declaration included; an unterminated one runs to the end). None of the
// data-set documents uses them, and JUCE's parser loops forever on one that
// stands in an element's content before text.
std::string WithoutProcessingInstructions(std::string_view text);

// Deepest element nesting accepted. JUCE parses and frees elements
// recursively, so a deeper document would exhaust the stack; data-set
// documents nest a handful of levels.
constexpr int kMaxXmlDepth = 256;

// Whether no element of the markup lies more than maxDepth levels deep,
// measured over the raw text (comments and CDATA skipped, quoted attribute
// values respected, stray end tags never lowering the count below 0).
bool WithinNestingLimit(std::string_view text, int maxDepth);

// Parses a document read from a file: made well-formed UTF-8 and freed of
// processing instructions first, so that no input can make JUCE's parser
// read past its text or hang; documents nested deeper than kMaxXmlDepth are
// refused before JUCE recurses into them. Null when the text does not parse.
std::unique_ptr<juce::XmlElement> ParseXmlText(std::string_view bytes);

} // namespace zorvpro::acoustics
