#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"
#include "views/GridControl/IPropertyOptions.h"
#include "views/GridControl/IconRenderer.h"
#include "views/GridControl/MyPropertyButton.h"

namespace zorvpro
{
// A flat button that shows only a themed icon: two-state (bound to its
// checked state) or a plain command button. Its pixmap follows theme,
// selection, enabled state, hover and value; see refreshIcon.
class IconPropertyImpl : public MyPropertyButton, public IBindablePropertyImpl, public ISelectableProperty
{
    Q_OBJECT
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit IconPropertyImpl(const QString& name);

    // Takes a copy of the renderer's icons and theme; checkable exactly when
    // twoState is set.
    void setRenderer(const IconRenderer& renderer, bool twoState);
    bool hasIconsForBothThemes() const { return renderer_.hasBothThemes(); }
    void setSelected(bool selected) override;
    bool isSelected() const { return selected_; }

    // "ON" or "OFF" in any case: a checkable button is clicked only to reach
    // the other state, a command button for either.
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
    IconPropertyImpl(const QString& name, std::uint32_t kind);

    // Shows the pixmap for the current look and the given state.
    void refreshIcon(bool on);

    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    IconRenderer renderer_;
    Qt::FocusPolicy focusPolicy_;
    bool selected_ = false;
    bool hovered_ = false;
};
} // namespace zorvpro
