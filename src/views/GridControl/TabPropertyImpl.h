#pragma once

#include "views/GridControl/IconPropertyImpl.h"

namespace zorvpro
{
// A checkable text button styled as a tab (bold and underlined while
// checked), or, when given icons for both themes, an icon button.
class TabPropertyImpl : public IconPropertyImpl
{
    Q_OBJECT
    Q_PROPERTY(QVariant squish_display_value READ squish_display_value WRITE squish_set_display_value)
    Q_PROPERTY(QVariant squish_bound_value READ squish_bound_value WRITE squish_set_bound_value)
    Q_PROPERTY(bool squish_has_focus READ squish_has_focus WRITE squish_set_has_focus)

public:
    explicit TabPropertyImpl(const QString& name);

    // The text, and the renderer's icons when it has both themes.
    void setTextAndIcons(const QString& text, const IconRenderer& renderer);

    // Clicks the tab whatever the value.
    void squish_set_display_value(const QVariant& value) override;
    QVariant squish_display_value() const override;
    void updateStyle(int theme) override;
    bool onSetBoundValue(const QVariant& value) override;

private:
    void applyTabStyle(bool checked);

    bool lightTheme_ = true;
};
} // namespace zorvpro
