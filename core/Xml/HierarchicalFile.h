#pragma once

#include "core/Xml/HierarchicalFileElement.h"

#include <QDomDocument>
#include <QString>
#include <memory>

namespace zorvpro
{
class HierarchicalFile;
using HierarchicalFilePtr = std::shared_ptr<HierarchicalFile>;

// One XML document, loaded from or saved to a path. Every load or save
// failure is logged here with the path, so callers only test the result.
class HierarchicalFile
{
public:
    HierarchicalFile();
    virtual ~HierarchicalFile();

    // A loaded document, or an empty pointer when loading failed.
    static HierarchicalFilePtr Open(const QString& path);

    // A document nested deeper than MaxElementDepth, or one that declares a
    // document type, fails like a parse error, before the recursive DOM
    // parser could exhaust the stack. At the limit the parser needs about
    // 350 KB of stack.
    bool Load(const QString& path);
    static constexpr int MaxElementDepth = 1024;
    // Writes the document with 4 blanks of indentation. The target is
    // replaced only once the whole text is written, so a failed save leaves
    // an existing file as it was.
    bool Save(const QString& path) const;

    HierarchicalFileElementPtr CreateRoot(const QString& tagName);
    // Never empty; wraps a null element when the document has none.
    HierarchicalFileElementPtr GetRoot() const;

private:
    QDomDocument document_;
};
} // namespace zorvpro
