#pragma once

// A test that needs an X server of its own (another screen size, a window manager, a changed root
// window) runs in a child of this suite on a private Xvfb, so the shared server never sees it.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace zorvpro::acceptance
{
// True in the child a test started on its own server: there the test checks the window.
bool InPrivateServerChild();

// Whether an X client run on the display env names ends well, its output holding `expected`.
bool ClientSucceeds(const QProcessEnvironment& env, const QString& program, const QStringList& arguments,
                    const QByteArray& expected = QByteArray());

struct ChildRun
{
    int exitCode = -1;
    QByteArray output;
};

// Run on the private server before the child starts (its environment names the display): empty
// when it succeeded, else what failed.
using ServerSetUp = std::function<QString(const QProcessEnvironment&)>;

// Starts Xvfb with one screen ("1366x768x24"), with openbox on it when managed (waited for until it
// manages the screen), runs setUp, then the test named by filter in a child of this suite there,
// and closes them all. A server, manager or set-up that failed is tried again on a new server, up
// to three times; then the exit code is left at -1 and the output says what failed.
ChildRun RunOnPrivateServer(const QString& screen, bool managed, const QString& filter,
                            const ServerSetUp& setUp = {});
} // namespace zorvpro::acceptance
