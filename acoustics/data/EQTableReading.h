#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <map>

namespace zorvpro::acoustics
{

// Leading integer of a text: white space skipped, optional sign, digits up to
// the first other character; no digits give 0, "12.5" gives 12. Saturates at
// the 32-bit range instead of overflowing.
int32_t ParseLeadingInt(const juce::String& text);

// The text an element holds before its first child element. A number written
// there ends at the child even without white space ("<A>10<B>20..." is 10,
// where reading all nested text as one string would give 1020...).
juce::String LeadingOwnText(const juce::XmlElement& element);

// Text of a child element, trimmed, as a decimal number; a missing child reads as 0.
double ChildReal(const juce::XmlElement& parent, const char* tag);

// The key nearest to the value; a value midway between two keys takes the
// larger one. An empty map gives the value itself.
template <typename V> double NearestKey(const std::map<double, V>& table, double value)
{
    if (table.empty())
        return value;
    auto upper = table.lower_bound(value);
    if (upper == table.end())
        return std::prev(upper)->first;
    if (upper == table.begin())
        return upper->first;
    const double above = upper->first;
    const double below = std::prev(upper)->first;
    return (value - below < above - value) ? below : above;
}

// True when a is a key of the outer map and b a key of the map under a.
template <typename K, typename Outer> bool ContainsKeyPair(const Outer& outer, const K& a, double b)
{
    auto it = outer.find(a);
    return it != outer.end() && it->second.count(b) != 0;
}

} // namespace zorvpro::acoustics
