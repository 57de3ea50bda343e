#include "core/Xml/NestingDepth.h"
#include "fuzz/targets/DocumentTargets.h"
#include "fuzz/targets/StackThread.h"

#include <QDomDocument>
#include <QTextCodec>
#include <algorithm>
#include <cstdlib>

namespace zorvpro::fuzz
{
namespace
{

// Levels of the element tree from `element` down.
int ElementDepth(const QDomElement& element)
{
    int deepest = 0;
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        deepest = std::max(deepest, ElementDepth(child));
    return deepest + 1;
}

} // namespace

int FuzzDomNesting(const uint8_t* data, size_t size)
{
    // Low, so that a single level hidden from the check shows.
    constexpr int kLimit = 8;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    constexpr int kUtf8Mib = 106;
    const QString text =
        QTextCodec::codecForUtfText(bytes, QTextCodec::codecForMib(kUtf8Mib))->toUnicode(bytes);
    int line = 0;
    int column = 0;
    if (!FindUnsafeMarkup(text, kLimit, line, column).isEmpty())
        return 0;
    // The DOM parser on a stack that holds whatever depth the text could
    // make it recurse to: a level takes at least three characters ("<a>")
    // and well under a kilobyte of stack.
    const size_t stackBytes = (size_t(1) << 20) + size_t(text.size()) * 1024;
    int depth = 0;
    RunWithStack(stackBytes,
                 [&]
                 {
                     QDomDocument document;
                     if (document.setContent(text, false))
                         depth = ElementDepth(document.documentElement());
                 });
    if (depth > kLimit)
        std::abort();
    return 0;
}

} // namespace zorvpro::fuzz
