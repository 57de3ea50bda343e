#pragma once

#include <QString>

namespace zorvpro
{
// Qt's DOM parser descends recursively, one level per nested element, so a
// document nested deeply enough overflows the stack. This pass walks the
// markup without recursion and finds the first start tag that lies deeper
// than maxDepth. It is lenient where the DOM parser is (stray characters,
// unknown encodings) and never undercounts: comments, CDATA sections and
// processing instructions are skipped, quoted attribute values may hold
// '>', and a close tag never takes the depth below zero. A document type
// declaration is refused wherever it stands: entities declared in it expand
// into elements that no count over the raw text sees.
// Empty when the text may go to the DOM parser; otherwise why not, with the
// line and column (both from 1) where the markup at fault starts.
QString FindUnsafeMarkup(const QString& text, int maxDepth, int& line, int& column);
} // namespace zorvpro
