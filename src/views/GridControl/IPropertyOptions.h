#pragma once

#include <QStringList>

namespace zorvpro
{
// A property widget that offers a list of options to choose from.
class IPropertyOptions
{
public:
    virtual ~IPropertyOptions() = default;
    virtual void setOptions(const QStringList& options) = 0;
};

// A property widget that can be shown as selected.
class ISelectableProperty
{
public:
    virtual ~ISelectableProperty() = default;
    virtual void setSelected(bool selected) = 0;
};
} // namespace zorvpro
