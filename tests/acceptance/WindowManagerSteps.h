#pragma once

// What the window-manager tests do to a window and a screen on their private server, and how they
// read where the window really is.

#include <QMargins>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace zorvpro::acceptance
{
std::string Text(const QRect& r);

// Lowers the screen's resolution to a mode made from the modeline `cvt` gives (name first, as
// "1700x900"); empty when done, else what failed.
QString LowerResolution(const QStringList& modeline,
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());
// The mode `cvt 1280 720` gives.
QStringList Mode1280x720();

// Waits until the window is maximised and framed so by the window manager; then takes it out of
// that state as the manager's button does it, and waits until the manager has done so: the state
// left and the window framed anew. Fails the test when it does not happen.
void Unmaximise(QWidget* window);
// Asks the window manager to maximise the window, as its button does, and waits until it has: the
// window maximised, its frame covering the available area.
void Maximise(QWidget* window);
// Maximise, then Unmaximise.
void MaximiseAndRestore(QWidget* window);
// Asks for the geometry until the window has it.
bool PutAt(QWidget* window, const QRect& put);

// The window as the X server and the window manager have it: Qt's own window reports a geometry
// the program asked for before the server has granted it.
struct OnServer
{
    QRect client;
    QMargins frame; // the frame extents the manager set on the window
    QRect Outer() const { return client.marginsAdded(frame); }
};
std::optional<OnServer> ReadOnServer(const QWidget* window);
// Waits until the window on the server meets `done`; the last reading in `seen`.
bool WaitOnServer(const QWidget* window, const std::function<bool(const OnServer&)>& done, OnServer& seen);
} // namespace zorvpro::acceptance
