#pragma once

// A test that needs an X server of its own (another screen size, a window manager, a changed root
// window) runs in a child of this suite on a private Xvfb, so the shared server never sees it.

#include <QByteArray>
#include <QString>

namespace zorvpro::acceptance
{
// True in the child a test started on its own server: there the test checks the window.
bool InPrivateServerChild();

struct ChildRun
{
    int exitCode = -1;
    QByteArray output;
};

// Starts Xvfb with one screen ("1366x768x24"), with openbox on it when managed, runs the test
// named by filter in a child of this suite there, and closes both. A server or manager that did
// not start leaves the exit code at -1 and says so in the output.
ChildRun RunOnPrivateServer(const QString& screen, bool managed, const QString& filter);
} // namespace zorvpro::acceptance
