#pragma once

// The program as the tests see it: started once per process by the same
// steps as main, in temporary data, config and home folders that hold the
// generated array data set.

#include "../support/LoopWait.h"
#include "../support/WindowTestSupport.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace zorvpro
{
class MainWindow;
}

namespace zorvpro::programtest
{
// How long a test waits for a state the program reaches by itself (a list shown, a selection, a
// value committed): well beyond what two busy cores take, and only spent when the state never comes.
constexpr int kDeadline = 10000;

MainWindow* Window();
// Sets what Window and Home give in a process that runs an end-to-end phase.
void SetWindowForPhase(MainWindow* window, const QString& home);
// Makes the home, data and config folders below root, with the generated data set.
using windowtest::MakeFolders;
// The temporary home folder of this process.
QString Home();
// The documents folder the project dialogs start in.
QString Documents();

// Runs answer on the next modal window (message box or file dialog) that
// opens, from the event loop, while action runs; fails the test when none
// opened within the deadline. Returns the title the window had.
using windowtest::AnswerModal;
// Presses the message box button with the given text; Escape when empty.
std::function<void(QWidget*)> PressButton(const QString& text);

// A check of a phase run in a child process, outside GoogleTest: a failure is named on stderr
// ("<phase> check failed: <what>") and counted.
void PhaseCheck(const char* phase, bool ok, const char* what);
// How many of this process's phase checks failed.
int PhaseFailures();

// Stands in for the desktop's URL opener.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QUrl url;
public slots:
    void open(const QUrl& u) { url = u; }
};
} // namespace zorvpro::programtest
