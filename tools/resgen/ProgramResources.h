#pragma once

// The program's own resources: the splash screen, the window icon file, the
// views' rotate cursor and the help page.

#include <QDir>
#include <QImage>
#include <QStringList>

namespace zorvpro::resgen
{
// The splash: the logo beside the product name on a dark field.
QImage DrawSplash();
// The rotate cursor: a nearly closed circular arrow, black with a white rim.
QImage DrawRotateCursor();
// The help page's HTML text.
QByteArray HelpPageHtml();

// Writes the splash, "ZorvTessary.ico", the cursor and the help page below
// root and appends their ":/"-relative paths to files; false (with a message
// on stderr) when one cannot be written.
bool WriteProgramResources(const QDir& root, QStringList& files);
} // namespace zorvpro::resgen
