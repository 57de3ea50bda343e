#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"
#include "views/GridControl/MyPropertyButton.h"

class QPropertyAnimation;

namespace zorvpro
{
// A painted switch for a bool. With the labels "OFF" and "ON" it is a small
// track whose knob slides between the ends; with any other labels it is a
// two-segment selector that shows both and highlights the chosen one.
class ToggleSwitchPropertyImpl : public MyPropertyButton, public IBindablePropertyImpl
{
    Q_OBJECT
    Q_PROPERTY(int offset READ offset WRITE setOffset)
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit ToggleSwitchPropertyImpl(const QString& name);

    // Throws std::logic_error for an empty label.
    void setLabels(const QString& offLabel, const QString& onLabel);
    // The knob's horizontal position in pixels.
    int offset() const { return offset_; }
    void setOffset(int offset);
    bool isKnobLook() const;
    QPropertyAnimation* animation() const { return animation_; }

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
    void paintEvent(QPaintEvent* event) override;

private:
    void animate(bool on);
    void queueAnimation();
    void paintKnob(QPainter& painter, bool focused);
    void paintSegments(QPainter& painter, bool focused);

    bool lightTheme_ = true;
    Qt::FocusPolicy focusPolicy_;
    QString offLabel_ = QStringLiteral("OFF");
    QString onLabel_ = QStringLiteral("ON");
    int offset_ = 0;
    int knobCentreHeight_ = 7;
    int knobSize_ = 14;
    QPropertyAnimation* animation_ = nullptr;
};
} // namespace zorvpro
