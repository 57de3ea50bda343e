#pragma once

// A test that needs an X server of its own (another screen size, two monitors, a window manager, a
// panel, a changed root window) runs in a child of this suite on a private desktop, so the shared
// server never sees it.

#include "PrivateDesktop.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

#include <functional>
#include <vector>

namespace zorvpro::acceptance
{
// True in the child a test started on its own server: there the test checks the window.
bool InPrivateServerChild();

// The full name of the test running now, as --gtest_filter takes it.
QString ThisTest();

struct ChildRun
{
    int exitCode = -1;
    QByteArray output;
};

// Run on the private desktop before the child starts (its environment names the display): empty
// when it succeeded, else what failed.
using ServerSetUp = std::function<QString(const QProcessEnvironment&)>;

// Starts the desktop, runs setUp, then the test named by filter in a child of this suite there,
// and closes them all. A desktop or set-up that failed is tried again on a new server, up to three
// times; then the exit code is left at -1 and the output says what failed.
ChildRun RunOnPrivateServer(const Desktop& desktop, const QString& filter, const ServerSetUp& setUp = {});
// The same with one child after another on the one desktop, each with its own variables added (a
// program quit, then started again), until one fails; the output of them all.
ChildRun RunOnPrivateServer(const Desktop& desktop, const QString& filter,
                            const std::vector<QProcessEnvironment>& starts);
} // namespace zorvpro::acceptance
