#pragma once

#include <QString>
#include <QStringList>

namespace zorvpro
{
// The application-wide style sheet of a theme (1 light, anything else dark),
// one rule per entry, in the order in which later rules override earlier ones.
QStringList ApplicationStyleRules(int theme);

// The rules joined into the one sheet the application is given.
QString ApplicationStyleSheet(int theme);
} // namespace zorvpro
