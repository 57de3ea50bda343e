#include "views/Common/NumberLocale.h"

#include <QLocale>

namespace zorvpro
{
void UseLocaleWithoutGroupSeparators()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
}
} // namespace zorvpro
