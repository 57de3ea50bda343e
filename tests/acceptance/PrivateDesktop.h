#pragma once

// A desktop of a test's own: its X server (one monitor on Xvfb, or two side by side on Xephyr),
// the window manager and a panel, started and stopped together.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace zorvpro::acceptance
{
// The panel's strip along the first monitor's top.
constexpr int kPanelHeight = 30;

struct Desktop
{
    enum class Monitors
    {
        One,          // Xvfb's one screen, whose resolution xrandr can lower
        TwoSideBySide // two 1920 x 1080 Xinerama heads at 0,0 and 1920,0, without RandR
    };
    Monitors monitors = Monitors::One;
    // The one monitor's screen as Xvfb takes it.
    QString screen = QStringLiteral("1920x1080x24");
    // openbox manages the desktop.
    bool managed = true;
    // A dock reserves the top kPanelHeight px of the first monitor (with a manager only).
    bool panel = false;
};

// Whether an X client run on the display env names ends well, its output holding `expected`.
bool ClientSucceeds(const QProcessEnvironment& env, const QString& program, const QStringList& arguments,
                    const QByteArray& expected = QByteArray());

class PrivateDesktop
{
public:
    PrivateDesktop() = default;
    ~PrivateDesktop() { Stop(); }
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    // Starts the server on a free display and waits until a client connects, then the manager
    // until it has taken the screen, then the panel until the manager's work area leaves its
    // strip out. Empty when done, else what failed.
    QByteArray Start(const Desktop& desktop);
    // Ends what Start started, the server last.
    void Stop();
    // This process's environment with DISPLAY naming the desktop's server.
    const QProcessEnvironment& Environment() const { return env_; }

private:
    QByteArray StartServer(const Desktop& desktop);
    QByteArray StartManager();
    QByteArray StartPanel();

    QProcess server_;
    QProcess manager_;
    QProcess panel_;
    QProcessEnvironment env_;
};
} // namespace zorvpro::acceptance
