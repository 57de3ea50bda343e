#pragma once

#include <QString>

namespace zorvpro
{
// True when the file exists, can be read and its XML root is "Project".
bool IsReadableProjectFile(const QString& path);

// The project file dialog (native allowed, suffix ".tq"); the chosen file, or
// empty when cancelled.
QString showFileDialog(const QString& title, const QString& nameFilter, const QString& directory,
                       const QString& proposedFileName, bool openMode);

// "<AppDataLocation>/Help/default.htm".
QString HelpPagePath();
// Writes the compiled-in help page to path when the file is missing; false
// when it is missing and cannot be written.
bool EnsureHelpPage(const QString& path);
} // namespace zorvpro
