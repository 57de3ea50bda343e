#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"

#include <QPlainTextEdit>

namespace zorvpro
{
// Free text of several lines, at most maxLength characters; the text is
// reported when the editor loses the keyboard focus.
class MultiLineEditPropertyImpl : public QPlainTextEdit, public IBindablePropertyImpl
{
    Q_OBJECT
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit MultiLineEditPropertyImpl(const QString& name);

    // Throws std::logic_error for a length below 1.
    void setMaxLength(int maxLength);
    int maxLength() const { return maxLength_; }

    // Types the text key by key, as a user would; the editor keeps the focus.
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
    void keyPressEvent(QKeyEvent* event) override;

private:
    void guardLength();
    void trimBeforeCursor();

    QString textAtFocusIn_;
    int maxLength_ = 280;
    Qt::FocusPolicy focusPolicy_;
};
} // namespace zorvpro
