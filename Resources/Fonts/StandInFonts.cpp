#include "Resources/Fonts/StandInFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QtDebug>

// Referencing the resource's initialiser keeps the linker from dropping the
// compiled-in fonts out of a static library. Must be outside any namespace.
static void InitFontResources()
{
    Q_INIT_RESOURCE(zorv_fonts);
}

namespace zorvpro
{

QStringList StandInFontFamilies()
{
    const QStringList names{"Gotham", "Gotham Book", "Gotham Bold"};
    QStringList families = names;
    for (const QString& name : names)
        families << QLatin1Char('"') + name + QLatin1Char('"');
    return families;
}

QString RegisterStandInFonts()
{
    static QString registered;
    static bool attempted = false;
    if (attempted)
        return registered;
    attempted = true;

    InitFontResources();
    for (const char* file : {":/Resources/Fonts/Gotham-Book.otf", ":/Resources/Fonts/Gotham-Bold.otf"})
    {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || families.isEmpty())
        {
            qWarning() << "Cannot load the application font" << file;
            continue;
        }
        registered = families.front();
    }
    if (registered.isEmpty())
        return registered;
    for (const QString& family : StandInFontFamilies())
        QFont::insertSubstitution(family, registered);
    return registered;
}

} // namespace zorvpro
