#include "views/Shell/MyStyle.h"

namespace zorvpro
{
int MyStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                       QStyleHintReturn* returnData) const
{
    if (hint == QStyle::SH_UnderlineShortcut)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QPixmap MyStyle::generatedIconPixmap(QIcon::Mode, const QPixmap& pixmap, const QStyleOption*) const
{
    return pixmap;
}
} // namespace zorvpro
