#pragma once

// The start page's tile images, the product logo and the licence document.

#include <QDir>
#include <QImage>
#include <QStringList>

namespace zorvpro::resgen
{
// The open tile's glyph: a folder with an arrow out of it.
QImage DrawOpenFileTile(bool lightTheme, bool hover);
// A recent-file tile's glyph: a page with a clock face.
QImage DrawRecentFileTile(bool lightTheme, bool hover);
// The product logo: a steerable column sending its beam over a floor.
QImage DrawLogo();
// The project's own short end-user licence as a one-page PDF.
bool WriteLicensePdf(const QString& path);

// Writes all of the above below root and appends their ":/"-relative paths
// to files; false (with a message on stderr) when one cannot be written.
bool WriteShellResources(const QDir& root, QStringList& files);
} // namespace zorvpro::resgen
