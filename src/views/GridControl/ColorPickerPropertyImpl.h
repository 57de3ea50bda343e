#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"
#include "views/GridControl/IPropertyOptions.h"

#include <QColor>
#include <QWidget>
#include <memory>

class QColorDialog;
class QLabel;

namespace zorvpro
{
class IconPropertyImpl;

// A colour swatch with a palette button that opens a colour dialog; bound
// to a QColor. Every close of the dialog reports a value change, with the
// chosen colour or, after a cancel, the last confirmed one.
class ColorPickerPropertyImpl : public QWidget, public IBindablePropertyImpl, public ISelectableProperty
{
    Q_OBJECT
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit ColorPickerPropertyImpl(const QString& name);
    ~ColorPickerPropertyImpl() override;

    void setSelected(bool selected) override;

    void squish_set_display_value(const QVariant& value) override;
    QVariant squish_display_value() const override;
    void setWidgetFocus(bool on) override;
    bool widgetHasFocus() const override;
    QVariant currentValue() const override;
    void updateStyle(int theme) override;
    void setEditable(bool enabled, bool clearWhenDisabled) override;
    QWidget* widget() override { return this; }
    bool onSetBoundValue(const QVariant& value) override;

    // The dialog the palette button opens, made on first use; exposed so that
    // automation and tests can drive it.
    QColorDialog* dialog() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showColor(const QColor& color);
    void pickColor();

    QColor current_{"#ff8632"};
    QColor confirmed_{current_};
    // Made on first use: a list shows one picker per row, and a dialog per row
    // made opening and clearing a large project slow.
    mutable std::unique_ptr<QColorDialog> dialog_;
    Qt::FocusPolicy buttonFocusPolicy_ = Qt::NoFocus;
    QLabel* label_ = nullptr;
    IconPropertyImpl* button_ = nullptr;
    int theme_ = 1;
};
} // namespace zorvpro
