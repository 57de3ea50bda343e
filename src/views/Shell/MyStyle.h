#pragma once

#include <QProxyStyle>

namespace zorvpro
{
// The application style: shortcut letters always underlined, icons shown as
// drawn in every mode (the themed icon sets carry their own state images).
class MyStyle : public QProxyStyle
{
public:
    MyStyle() = default;
    ~MyStyle() override = default;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap& pixmap,
                                const QStyleOption* option) const override;
};
} // namespace zorvpro
