#pragma once

#include "views/GridControl/BoundPropertyEvent.h"
#include "views/GridControl/ISquishInterface.h"

#include <QString>
#include <QVariant>
#include <cstdint>

class QWidget;

namespace zorvpro
{
class IBindablePropertyEventListener;

// The base of every property widget kind. A kind derives from its Qt widget
// first and from this second, and exposes the automation operations as the
// Qt properties squish_display_value, squish_bound_value and squish_has_focus.
class IBindablePropertyImpl : public ISquishInterface
{
public:
    explicit IBindablePropertyImpl(std::uint32_t kind) : kind_(kind) {}
    ~IBindablePropertyImpl() override = default;

    void squish_set_display_value(const QVariant& value) override = 0;
    QVariant squish_display_value() const override { return squish_bound_value(); }
    void squish_set_bound_value(const QVariant& value) override { setValue(value, true); }
    QVariant squish_bound_value() const override { return currentValue(); }
    void squish_set_has_focus(bool on) override { setWidgetFocus(on); }
    bool squish_has_focus() const override { return widgetHasFocus(); }

    virtual void setWidgetFocus(bool on) = 0;
    virtual bool widgetHasFocus() const = 0;
    // The value now shown, in model units.
    virtual QVariant currentValue() const = 0;
    // 1 light, 0 dark.
    virtual void updateStyle(int theme) = 0;
    virtual void setEditable(bool enabled, bool clearWhenDisabled) = 0;
    virtual QWidget* widget() = 0;
    virtual std::uint32_t kind() const { return kind_; }
    // Shows a model value; false when the widget cannot show it.
    virtual bool onSetBoundValue(const QVariant& value) = 0;

    // Reports to the listener unless none is set or a value is being shown.
    // A value change always carries currentValue(), whatever value is given.
    void raiseEvent(BoundPropertyEvent event, const QVariant& value = QVariant());
    // Shows a model value silently; with raise, reports it once when shown.
    void setValue(const QVariant& value, bool raise);
    void setEventListener(IBindablePropertyEventListener* listener) { listener_ = listener; }
    QString name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    bool isUpdating() const { return updating_; }
    void setUpdating(bool updating) { updating_ = updating; }

private:
    const std::uint32_t kind_;
    bool updating_ = false;
    IBindablePropertyEventListener* listener_ = nullptr;
    QString name_;
};

// Raises the updating flag for a scope and restores the previous state, so
// that changes a widget makes to itself stay silent even when they nest.
class UpdatingScope
{
public:
    explicit UpdatingScope(IBindablePropertyImpl& impl) : impl_(impl), previous_(impl.isUpdating())
    {
        impl_.setUpdating(true);
    }
    ~UpdatingScope() { impl_.setUpdating(previous_); }
    UpdatingScope(const UpdatingScope&) = delete;
    UpdatingScope& operator=(const UpdatingScope&) = delete;

private:
    IBindablePropertyImpl& impl_;
    const bool previous_;
};
} // namespace zorvpro
