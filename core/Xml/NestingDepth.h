#pragma once

#include <QString>

namespace zorvpro
{
// Qt's DOM parser descends recursively, one level per nested element, so a
// document nested deeply enough overflows the stack. This pass walks the
// markup without recursion and finds the first start tag that lies deeper
// than maxDepth. It is lenient where the DOM parser is (stray characters,
// unknown encodings) and never undercounts: comments, CDATA sections,
// processing instructions and the document type are skipped, quoted
// attribute values may hold '>', and a close tag never takes the depth
// below zero. line and column (both from 1) tell where that tag starts.
bool FindTooDeepElement(const QString& text, int maxDepth, int& line, int& column);
} // namespace zorvpro
