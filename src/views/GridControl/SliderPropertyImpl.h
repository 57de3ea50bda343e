#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"

#include <QWidget>

namespace zorvpro
{
class MyPropertyButton;
class MySlider;

// An integer in a range: a horizontal slider between a "-" and a "+" button
// that step the value by one.
class SliderPropertyImpl : public QWidget, public IBindablePropertyImpl
{
    Q_OBJECT
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit SliderPropertyImpl(const QString& name);

    // Throws std::logic_error, after logging, unless minimum < maximum.
    void configure(int minimum, int maximum);

    // An int steps the value by clicking "-" or "+" that many times.
    void squish_set_display_value(const QVariant& value) override;
    QVariant squish_display_value() const override;
    void setWidgetFocus(bool on) override;
    bool widgetHasFocus() const override;
    QVariant currentValue() const override;
    void updateStyle(int theme) override;
    void setEditable(bool enabled, bool clearWhenDisabled) override;
    QWidget* widget() override { return this; }
    bool onSetBoundValue(const QVariant& value) override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    MyPropertyButton* subtract_ = nullptr;
    MySlider* slider_ = nullptr;
    MyPropertyButton* add_ = nullptr;
    Qt::FocusPolicy focusPolicy_ = Qt::TabFocus;
};
} // namespace zorvpro
