#pragma once

// Small text helpers for checking thrown and logged messages.

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace zorvpro::test
{
// The text of what the call throws, or "nothing thrown".
template <typename Call> std::string ThrownText(Call call)
{
    try
    {
        call();
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
    return "nothing thrown";
}

inline int CountContaining(const std::vector<std::string>& lines, const char* text)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& line)
                                          { return line.find(text) != std::string::npos; }));
}
} // namespace zorvpro::test
