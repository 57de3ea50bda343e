#pragma once

#include <string>

namespace zorvpro
{
// Text made safe for HTML element content: "&", "<" and ">" become "&amp;",
// "&lt;" and "&gt;", each character once, in one pass. UTF-8 passes through.
std::string escapeHtml(const std::string& text);
} // namespace zorvpro
