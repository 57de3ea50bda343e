#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"
#include "views/GridControl/UnitType.h"

#include <QMetaObject>
#include <QWidget>

class QFocusEvent;
class QLabel;

namespace zorvpro
{
class MyLineEdit;

// A single-line edit for free text or for a number with a unit. Numbers are
// shown in the user's display units and kept in model units; an entry is
// clamped and committed when the edit loses focus or Return is pressed.
class LineEditPropertyImpl : public QWidget, public IBindablePropertyImpl
{
    Q_OBJECT
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit LineEditPropertyImpl(const QString& name);

    // Throws std::out_of_range for a number that names no unit type.
    void setUnitType(std::uint32_t unitType);
    void setMaxLength(int length);
    // Model units; each bound must stay strictly on its side of the other.
    void setMinimum(double value);
    void setMaximum(double value);
    void setPrecision(int precision);
    // Fixed notation with the precision, never showing "-0.00".
    QString formatValue(double value) const;

    void squish_set_display_value(const QVariant& value) override;
    QVariant squish_display_value() const override;
    void setWidgetFocus(bool on) override;
    bool widgetHasFocus() const override;
    QVariant currentValue() const override;
    void updateStyle(int theme) override;
    void setEditable(bool enabled, bool clearWhenDisabled) override;
    QWidget* widget() override { return this; }
    bool onSetBoundValue(const QVariant& value) override;

    MyLineEdit* edit() const { return edit_; }
    QLabel* unitLabel() const { return unitLabel_; }

public slots:
    // Rewrites the shown number, taken as being in the units before the
    // change, in the units now chosen. Raises nothing.
    void handleUnitsChanged();
    // The setting that selects this edit's units: temperature for
    // temperatures, measurement otherwise.
    std::uint32_t indexOfEventEnumeration() const;
    bool doesRequireConversion() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void handleFocusIn(QFocusEvent* event);
    void handleFocusOut(QFocusEvent* event);
    void handleReturnPressed();
    bool isNumeric() const { return unitType_ != static_cast<std::uint32_t>(UnitType::Text); }
    double toModel(double value) const;
    double toDisplay(double value) const;
    void showCommitted(double value);

    MyLineEdit* edit_ = nullptr;
    QLabel* unitLabel_ = nullptr;
    std::uint32_t unitType_ = 0;
    int precision_ = 2;
    double minimum_;
    double maximum_;
    QString textAtFocusIn_;
    double displayValue_ = 0.0;
    Qt::FocusPolicy editFocusPolicy_;
    bool edited_ = false;
    QMetaObject::Connection unitsConnection_;
};
} // namespace zorvpro
