#pragma once

// What the suites that drive the real main window share: the private folders the program runs in
// and the answering of its modal windows.

#include <QProcessEnvironment>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace zorvpro
{
class MainWindow;
}

namespace zorvpro::windowtest
{
// Makes the home, data and config folders below root, with the generated data set.
bool MakeFolders(const QString& root);
// Makes the folders below root and points the home, data, config and cache locations there.
bool UseFolders(const QString& root);
// This process's environment with the home, data, config and cache locations below root, for a
// program started as a child.
QProcessEnvironment FolderEnvironment(const QString& root);

// The main of a suite that drives the main window. Takes GoogleTest's flags and lists the tests
// without a display; otherwise chooses the X display and a scale of 1, makes the private folders
// below a temporary root (home names it), and starts the program as main does, with argv[0] and
// options for its command line, running the tests while window is the shown main window.
int RunWindowSuite(int argc, char** argv, const std::vector<const char*>& options, MainWindow*& window,
                   QString& home);

// Runs answer on the next modal window (message box or file dialog) that opens, from the event
// loop, while action runs; fails the test when none opened within the deadline. Returns the title
// the window had.
QString AnswerModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer);
} // namespace zorvpro::windowtest
