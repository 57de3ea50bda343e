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

// Parses a document read from a file: made well-formed UTF-8 and freed of
// processing instructions first, so that no input can make JUCE's parser
// read past its text or hang. Null when the text does not parse.
std::unique_ptr<juce::XmlElement> ParseXmlText(std::string_view bytes);

} // namespace zorvpro::acoustics
