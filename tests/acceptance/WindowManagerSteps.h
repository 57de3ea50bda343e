#pragma once

// What the window-manager tests do to a window and a screen on their private desktop, as a user
// does it: through the window manager, asked by a client of the test's own, never through the
// program's own calls. Each step waits until the manager has taken it and the window has come to
// rest: the program has taken its look after the manager's last move.

#include "XConnection.h"

#include <QPoint>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace zorvpro::acceptance
{
// Lowers the screen's resolution to a mode made from the modeline `cvt` gives (name first, as
// "1700x900"); empty when done, else what failed.
QString LowerResolution(const QStringList& modeline,
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());
// The mode `cvt 1280 720` gives.
QStringList Mode1280x720();

// The connection of the test's own to the display the program runs on.
XConnection& Server();

// The window as the server has it now; none when it cannot be read.
std::optional<OnServer> ReadOnServer(const QWidget* window);
// Waits until the window on the server meets `done`; the last reading in `seen`.
bool WaitOnServer(const QWidget* window, const std::function<bool(const OnServer&)>& done, OnServer& seen);
// Waits until the window's client geometry, frame extents and state on the server have stayed the
// same for half a second, under a deadline; the last reading in `seen`.
bool WaitSteady(const QWidget* window, OnServer& seen);

// Waits until the manager's work area on that server lies on a screen of that size, as it does
// once it has taken a new resolution; the last reading in `area`.
bool WaitForWorkArea(XConnection& server, const QSize& screen, QRect& area);

// Waits until the manager has framed the window shown at the start and it has come to rest.
void WaitForManagedShow(const QWidget* window);
// WaitForManagedShow, then the first start, shown maximised, restored through the manager.
void RestoreTheFirstStart(const QWidget* window);
// A user's maximise, un-maximise, full screen on and off: each asks the manager, waits until the
// server shows the state and then until the window rests. Fails the test when it does not happen.
void Maximise(const QWidget* window);
void Restore(const QWidget* window);
void FullScreenOn(const QWidget* window);
void FullScreenOff(const QWidget* window);
// Writes the normal state on the window without asking the manager, as a manager that reports the
// state well before it gives the window back; the window keeps its geometry until Restore or
// FullScreenOff.
void ReportNormalStateAhead(const QWidget* window);
// The user closes the window by the manager's close button: waits until the program has hidden it.
void Close(const QWidget* window);
// The user drags the window so that its client lies at `client` and leaves it there: asks the
// manager, waits until the server shows it there and the window rests, and fails the test when
// it does not come there or does not stay.
void MoveTo(const QWidget* window, const QRect& client);

// Steps at a user's pace, as a user works without watching the window settle: each sends its
// request and waits only until the server shows that the manager took it, never until the window
// rests, then for the rest of `paceMs` after the request. The pace is the user's, part of what is
// tested, not a wait for a state. Each fails the test when the manager does not take the step.
// The size alone, by a plain ConfigureWindow request of another client on the client window.
void ResizeByRequest(const QWidget* window, const QSize& size, int paceMs);
// The place alone, the same way; the manager puts the window by its gravity, so either the client's
// or the frame's top-left comes to `place`. Within the pace the user looks where the window rests
// (read in `rest`); fails the test when it does not rest there.
void MoveByRequest(const QWidget* window, const QPoint& place, int paceMs, OnServer& rest);
// A double click of the real pointer on the window's title bar, which the manager answers by
// maximising a normal window and restoring a maximised one; `maximised`: the state asked for.
void DoubleClickTitleBar(const QWidget* window, bool maximised, int paceMs);
// Full screen on or off by the state's client message (it has no button on the title bar).
void FullScreenAtPace(const QWidget* window, bool on, int paceMs);
} // namespace zorvpro::acceptance
