#pragma once

#include <QVariant>

namespace zorvpro
{
// How a GUI-automation tool reads and drives a property widget. Display
// values are what a user sees or types; bound values are model values.
class ISquishInterface
{
public:
    virtual ~ISquishInterface() = default;
    virtual void squish_set_display_value(const QVariant& value) = 0;
    virtual QVariant squish_display_value() const = 0;
    virtual void squish_set_bound_value(const QVariant& value) = 0;
    virtual QVariant squish_bound_value() const = 0;
    virtual void squish_set_has_focus(bool on) = 0;
    virtual bool squish_has_focus() const = 0;
};
} // namespace zorvpro
