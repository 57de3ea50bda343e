#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"
#include "views/GridControl/IPropertyOptions.h"

#include <QComboBox>

namespace zorvpro
{
// A drop-down list of text options whose value is the chosen option's text.
// Reports a choice as a value change and the option under the mouse in the
// open list as a passed-through value.
class ComboBoxPropertyImpl : public QComboBox, public IBindablePropertyImpl, public IPropertyOptions
{
    Q_OBJECT
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit ComboBoxPropertyImpl(const QString& name);

    // Replaces the options silently; the first one becomes current.
    void setOptions(const QStringList& options) override;

    void squish_set_display_value(const QVariant& value) override;
    QVariant squish_display_value() const override;
    void setWidgetFocus(bool on) override;
    bool widgetHasFocus() const override;
    QVariant currentValue() const override;
    void updateStyle(int theme) override;
    void setEditable(bool enabled, bool clearWhenDisabled) override;
    QWidget* widget() override { return this; }
    bool onSetBoundValue(const QVariant& value) override;

    void hidePopup() override;

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void selectFirstSilently();

    Qt::FocusPolicy focusPolicy_;
    bool lightTheme_;
};
} // namespace zorvpro
