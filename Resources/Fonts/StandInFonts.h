#pragma once

#include <QString>
#include <QStringList>

namespace zorvpro
{

// The family names the user interface asks for, plain and in the quoted
// form that style sheets and the grid labels use.
QStringList StandInFontFamilies();

// Registers the compiled-in application fonts and makes every family of
// StandInFontFamilies resolve to them. Needs a QGuiApplication; later calls
// do nothing. Returns the registered family, empty when the fonts could not
// be loaded (the families then fall back to the system's choice).
QString RegisterStandInFonts();

} // namespace zorvpro
