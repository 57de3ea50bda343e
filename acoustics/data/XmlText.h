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
// documents nest a handful of levels. At this depth JUCE's parser needs
// about 25 KB of stack, and about 120 KB built with AddressSanitizer.
constexpr int kMaxXmlDepth = 64;

// Depth of the deepest element of the document element's tree, or -1 when
// the text is not plain markup. JUCE's parser reads on after errors and
// recurses once per element it opens, so a count over markup that it reads
// differently from the counter (a stray quote, a "<" inside a tag, an
// unterminated CDATA section) can be far below its real depth. Only a form
// that JUCE's parser reads the one obvious way is accepted: before the
// document element, white space and comments; start tags of an ASCII name,
// each attribute after white space as name="value" or name='value' with no
// "<" in the value; end tags of a name; in content, comments, CDATA
// sections and text; entity references only to the five predefined entities
// and numeric ones. The document element must be closed; what follows it is
// not read, as JUCE's parser stops there.
int XmlNestingDepth(std::string_view text);

// Whether the text is plain markup (see XmlNestingDepth) nested no deeper
// than maxDepth.
bool WithinNestingLimit(std::string_view text, int maxDepth);

// The text that ParseXmlText hands to JUCE's parser: up to the first NUL,
// made well-formed UTF-8 and freed of processing instructions, so that no
// input can make that parser read past its text or hang.
std::string ReadableXmlText(std::string_view bytes);

// Parses a document read from a file as ReadableXmlText makes it; documents
// that are not plain markup or are nested deeper than kMaxXmlDepth are
// refused before JUCE recurses into them. Null when the text does not parse.
std::unique_ptr<juce::XmlElement> ParseXmlText(std::string_view bytes);

} // namespace zorvpro::acoustics
