#pragma once

#include <QDomElement>
#include <QString>
#include <memory>
#include <vector>

namespace zorvpro
{
class HierarchicalFileElement;
using HierarchicalFileElementPtr = std::shared_ptr<HierarchicalFileElement>;

// A cheap handle on one element of a HierarchicalFile; copies see the same
// DOM node. Operations that yield an element return an empty pointer when
// there is no such element.
class HierarchicalFileElement
{
public:
    explicit HierarchicalFileElement(const QDomElement& element);
    virtual ~HierarchicalFileElement();

    // Appends a new element with the tag as this element's last child.
    HierarchicalFileElementPtr AddChild(const QString& tagName);
    // Child elements in document order; text, comments etc. are skipped.
    std::vector<HierarchicalFileElementPtr> GetChildren() const;
    // First child element with exactly this tag (case-sensitive).
    HierarchicalFileElementPtr GetChild(const QString& tagName) const;

    QString GetName() const;
    // All text inside the element, descendants included, in document order.
    QString GetText() const;
    // Sets the text of an element that is empty or starts with a text node;
    // an element whose first child is anything else is left as it is.
    void SetText(const QString& text);
    void SetAttribute(const QString& name, const QString& value);

    const QDomElement& GetElement() const { return element_; }

private:
    QDomElement element_;
};
} // namespace zorvpro
