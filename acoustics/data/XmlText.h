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

// Whether JUCE's parser can take the markup without exhausting the stack: no
// element may open more than maxDepth levels deep, counted the way that
// parser walks the text (comments and CDATA skipped, attribute values only
// where it reads them, an end tag closing one level, a tag it would not read
// whole counted as opening one). False too for an entity reference other
// than the five predefined ones and numeric character references: JUCE reads
// any other one up to the next ";", markup included, which would hide levels
// from this count.
bool WithinNestingLimit(std::string_view text, int maxDepth);

// Parses a document read from a file: made well-formed UTF-8 and freed of
// processing instructions first, so that no input can make JUCE's parser
// read past its text or hang; documents nested deeper than kMaxXmlDepth are
// refused before JUCE recurses into them. Null when the text does not parse.
std::unique_ptr<juce::XmlElement> ParseXmlText(std::string_view bytes);

} // namespace zorvpro::acoustics
