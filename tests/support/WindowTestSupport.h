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

// Names the folder a suite's process keeps its private folders below instead of a temporary root:
// a quit and a later start of the program share their settings there.
constexpr char kKeptHomeVariable[] = "ZORV_KEPT_HOME";

// The main of a suite that drives the main window. Takes GoogleTest's flags and lists the tests
// without a display; otherwise chooses the X display and a scale of 1, makes the private folders
// below a temporary root, or the one kKeptHomeVariable names (home names it), and starts the program as main
// does, with argv[0] and options for its command line, running the tests while window is the shown main
// window.
int RunWindowSuite(int argc, char** argv, const std::vector<const char*>& options, MainWindow*& window,
                   QString& home);

// Makes window the one that takes the keys, as the desktop does for the window the user works in,
// and returns once Qt has it so for good: the last focus event Qt read went to the window, its
// handle is the focus window and it is the active window. The test's X server has no window
// manager: when a closed window leaves the X focus on the root, the window below the pointer is
// told of the focus only in a way Qt ignores, and Qt keeps the closed window (or a closed menu,
// or this window) as its focus until a timer deactivates the application, closing any menu open
// then. Used before every menu or key; asks for the focus until Qt has it and fails the test
// (false) at the deadline.
bool Activate(QWidget* window);

// Clicks target until holder has the keyboard focus and has kept it over a few turns of the event
// loop: a page still settling after the last click may take it back, and a field selects its text
// a moment after it takes the focus. False at the deadline.
bool ClickUntilFocused(QWidget* target, QWidget* holder, int deadlineMs = 10000);

// Runs answer on the next modal window (message box or file dialog) that opens, from the event
// loop, while action runs; fails the test when none opened within the deadline. Returns the title
// the window had.
QString AnswerModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer);
} // namespace zorvpro::windowtest
