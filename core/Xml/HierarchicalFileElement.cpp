#include "core/Xml/HierarchicalFileElement.h"

#include <QDomDocument>
#include <QDomText>

namespace zorvpro
{
HierarchicalFileElement::HierarchicalFileElement(const QDomElement& element) : element_(element) {}

HierarchicalFileElement::~HierarchicalFileElement() = default;

HierarchicalFileElementPtr HierarchicalFileElement::AddChild(const QString& tagName)
{
    QDomElement child = element_.ownerDocument().createElement(tagName);
    if (child.isNull())
        return {};
    element_.appendChild(child);
    return std::make_shared<HierarchicalFileElement>(child);
}

std::vector<HierarchicalFileElementPtr> HierarchicalFileElement::GetChildren() const
{
    std::vector<HierarchicalFileElementPtr> children;
    for (QDomElement child = element_.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement())
        children.push_back(std::make_shared<HierarchicalFileElement>(child));
    return children;
}

HierarchicalFileElementPtr HierarchicalFileElement::GetChild(const QString& tagName) const
{
    const QDomElement child = element_.firstChildElement(tagName);
    if (child.isNull())
        return {};
    return std::make_shared<HierarchicalFileElement>(child);
}

QString HierarchicalFileElement::GetName() const
{
    return element_.tagName();
}

QString HierarchicalFileElement::GetText() const
{
    return element_.text();
}

void HierarchicalFileElement::SetText(const QString& text)
{
    if (element_.isNull())
        return;
    if (!element_.hasChildNodes())
    {
        element_.appendChild(element_.ownerDocument().createTextNode(text));
        return;
    }
    QDomNode first = element_.firstChild();
    if (first.isText())
        first.toText().setData(text);
}

void HierarchicalFileElement::SetAttribute(const QString& name, const QString& value)
{
    element_.setAttribute(name, value);
}
} // namespace zorvpro
