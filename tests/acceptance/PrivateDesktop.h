#pragma once

// A desktop of a test's own: its X server (one monitor on Xvfb, or two side by side on Xephyr),
// the window manager and a panel, started and stopped together.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

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
    // A window manager manages the desktop.
    bool managed = true;
    enum class Manager
    {
        Openbox,
        Icewm,
        Fluxbox
    };
    Manager manager = Manager::Openbox;
    // A dock reserves the top kPanelHeight px of the first monitor (with a manager only).
    bool panel = false;
};

// The manager's name as its program is called.
QString ManagerName(Desktop::Manager manager);

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
    QByteArray StartManager(Desktop::Manager manager);
    QByteArray StartPanel(const Desktop& desktop);

    QProcess server_;
    // The manager runs in a session of its own (with the helpers it may start), ended as one,
    // and with a home of its own, where it may write its first configuration.
    QProcess manager_;
    std::unique_ptr<QTemporaryDir> managerHome_;
    QProcess panel_;
    QProcessEnvironment env_;
};
} // namespace zorvpro::acceptance
