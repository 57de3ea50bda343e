#pragma once

// What the suites that drive the real main window share: the private folders the program runs in
// and the answering of its modal windows.

#include <QProcessEnvironment>
#include <QString>
#include <QWidget>
#include <functional>

namespace zorvpro::windowtest
{
// Makes the home, data and config folders below root, with the generated data set.
bool MakeFolders(const QString& root);
// Makes the folders below root and points the home, data, config and cache locations there.
bool UseFolders(const QString& root);
// This process's environment with the home, data, config and cache locations below root, for a
// program started as a child.
QProcessEnvironment FolderEnvironment(const QString& root);

// Runs answer on the next modal window (message box or file dialog) that opens, from the event
// loop, while action runs; fails the test when none opened within the deadline. Returns the title
// the window had.
QString AnswerModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer);
} // namespace zorvpro::windowtest
