#pragma once

#include "acoustics/data/Connection.h"

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace zorvpro::acoustics
{

// Reading rules of "Main.xml" that need no model objects.

// The archive directory of an element: from the document element down to
// the element itself, each "path" attribute appended with backslashes turned
// into "/", and a "/" after every step that leaves the text non-empty and
// not ending in "/".
std::string ElementDirectory(const juce::XmlElement& root, const juce::XmlElement& element);

// Concatenated text of a child element and its descendants; empty when absent.
juce::String ChildText(const juce::XmlElement& parent, const char* tag);

// Beam algorithm code of a name (stripped, compared lower-case):
// 1 "symmetricalspreadsteer", 2 "asymmetricalsteer", 3 "asymmetricalspiral", else 0.
int AlgorithmCode(const juce::String& name);

// Side code of a position name (stripped, lower-case), 0 when unknown.
uint32_t SideCode(const juce::String& position);

// The connections listed under "Connections", in document order; entries with
// an unknown "Position" or an empty "Name" are skipped. Throws
// std::invalid_argument "Invalid connection yaw", "... roll" or "... pitch"
// for an angle outside its range.
std::vector<Connection> ReadConnections(const juce::XmlElement& connections);

} // namespace zorvpro::acoustics
