#include "PrivateDesktop.h"

#include "LoopWait.h"
#include "XConnection.h"

#include <QDir>
#include <QFile>

#include <optional>

#include <signal.h>

namespace zorvpro::acceptance
{
namespace
{
constexpr int kStartDeadline = 10000;
// A manager starting on two loaded cores, beside the X server, has been seen to take over 10 s.
constexpr int kManagerDeadline = 60000;
constexpr int kEndGrace = 3000;

void End(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    process.waitForFinished();
}

// Ends a process that leads a session of its own, and every process in its group.
void EndGroup(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    // Nothing of a test's desktop is to be saved: a manager that has not ended in a moment is killed.
    ::kill(-static_cast<pid_t>(process.processId()), SIGTERM);
    if (!process.waitForFinished(kEndGrace))
    {
        ::kill(-static_cast<pid_t>(process.processId()), SIGKILL);
        process.waitForFinished();
    }
}

// The server's arguments: it writes its display's number on standard output once it listens.
QStringList ServerArguments(const Desktop& desktop)
{
    QStringList arguments{QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                          QStringLiteral("tcp")};
    if (desktop.monitors == Desktop::Monitors::One)
        return arguments + QStringList{QStringLiteral("-screen"), QStringLiteral("0"), desktop.screen};
    // Each screen is a window on the display this process runs on; Xinerama joins them left to
    // right. Without RandR, Qt takes the Xinerama heads as its screens.
    return arguments + QStringList{QStringLiteral("+xinerama"), QStringLiteral("-extension"),
                                   QStringLiteral("RANDR"),     QStringLiteral("-screen"),
                                   QStringLiteral("1920x1080"), QStringLiteral("-screen"),
                                   QStringLiteral("1920x1080")};
}
} // namespace

QString ManagerName(Desktop::Manager manager)
{
    switch (manager)
    {
    case Desktop::Manager::Icewm:
        return QStringLiteral("icewm");
    case Desktop::Manager::Fluxbox:
        return QStringLiteral("fluxbox");
    case Desktop::Manager::Openbox:
        break;
    }
    return QStringLiteral("openbox");
}

bool ClientSucceeds(const QProcessEnvironment& env, const QString& program, const QStringList& arguments,
                    const QByteArray& expected)
{
    QProcess client;
    client.setProcessEnvironment(env);
    client.start(program, arguments);
    return client.waitForFinished() && client.exitStatus() == QProcess::NormalExit &&
           client.exitCode() == 0 && client.readAllStandardOutput().contains(expected);
}

QByteArray PrivateDesktop::Start(const Desktop& desktop)
{
    QByteArray failed = StartServer(desktop);
    if (failed.isEmpty() && desktop.managed)
        failed = StartManager(desktop.manager);
    if (failed.isEmpty() && desktop.managed && desktop.panel)
        failed = StartPanel(desktop);
    return failed;
}

void PrivateDesktop::Stop()
{
    End(panel_);
    EndGroup(manager_);
    End(server_);
}

QByteArray PrivateDesktop::StartServer(const Desktop& desktop)
{
    const bool xvfb = desktop.monitors == Desktop::Monitors::One;
    const QString program = xvfb ? QStringLiteral("Xvfb") : QStringLiteral("Xephyr");
    // Xephyr shows its screens on this process's display; its warnings are not read.
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(program, ServerArguments(desktop));
    if (!server_.waitForStarted())
        return program.toUtf8() + " did not start (scripts/deps.sh installs it)";
    QByteArray number;
    const bool named = LoopWaitFor(
        [&]
        {
            number += server_.readAllStandardOutput();
            return number.contains('\n') || server_.state() == QProcess::NotRunning;
        },
        kStartDeadline);
    if (!named || !number.contains('\n'))
        return program.toUtf8() + " names no display";
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(number.trimmed()));
    if (!LoopWaitFor([&] { return ClientSucceeds(env_, QStringLiteral("xdpyinfo"), {}); }, kStartDeadline,
                     Looks::OnlyTimed))
        return "no client connects to " + program.toUtf8() + " on " + number.trimmed();
    return {};
}

QByteArray PrivateDesktop::StartManager(Desktop::Manager manager)
{
    const QByteArray name = ManagerName(manager).toUtf8();
    managerHome_ = std::make_unique<QTemporaryDir>();
    if (!managerHome_->isValid())
        return "no home for " + name + ": " + managerHome_->errorString().toUtf8();
    // fluxbox sets the style's background by a script of its own, which shows a message where no
    // image tool answers it: the desktop keeps the server's background.
    if (manager == Desktop::Manager::Fluxbox)
    {
        QDir(managerHome_->path()).mkpath(QStringLiteral(".fluxbox"));
        QFile overlay(managerHome_->filePath(QStringLiteral(".fluxbox/overlay")));
        if (!overlay.open(QIODevice::WriteOnly) || overlay.write("background: none\n") <= 0)
            return "no style overlay for fluxbox: " + overlay.errorString().toUtf8();
    }
    QProcessEnvironment env = env_;
    env.insert(QStringLiteral("HOME"), managerHome_->path());
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    manager_.setProcessEnvironment(env);
    manager_.setProcessChannelMode(QProcess::MergedChannels);
    manager_.start(QStringLiteral("setsid"), {ManagerName(manager)});
    if (!manager_.waitForStarted())
        return name + " did not start (scripts/deps.sh installs it): " + manager_.errorString().toUtf8();
    // A window mapped before the manager has taken the screen is not framed as a user sees it, and
    // one mapped while it still starts waits until something else wakes it.
    XConnection server(env_.value(QStringLiteral("DISPLAY")).toLocal8Bit());
    // fluxbox answers no request for the frame of a window it does not manage.
    const auto taken = [&] {
        return manager == Desktop::Manager::Fluxbox ? server.ManagerHoldsTheScreen()
                                                    : server.ManagerAnswers();
    };
    const bool running = LoopWaitFor([&] { return taken() || manager_.state() == QProcess::NotRunning; },
                                     kManagerDeadline, Looks::OnlyTimed);
    if (manager_.state() == QProcess::NotRunning)
        return name + " ended with " + QByteArray::number(manager_.exitCode()) +
               " before it took the screen:\n" + manager_.readAll();
    if (running)
        return {};
    const QByteArray awaited = manager == Desktop::Manager::Fluxbox
                                   ? "its check window named on the root and the root's redirect held"
                                   : "an answer to a frame-extents request for a window of the test's own";
    return name + " did not take the screen in " + QByteArray::number(kManagerDeadline / 1000) +
           " s: awaited " + awaited + "; it had " + (server.CheckWindowNamed() ? "" : "not ") +
           "named its check window; its output:\n" + manager_.readAll();
}

// A program started with a work area that still holds the panel's strip would place its window
// under the panel and then see the area change.
QByteArray PrivateDesktop::StartPanel(const Desktop& desktop)
{
    panel_.setProcessEnvironment(env_);
    panel_.start(QStringLiteral(ZORV_DOCK_CLIENT), QStringList());
    if (!panel_.waitForStarted())
        return "the dock client did not start: " + panel_.errorString().toUtf8();
    XConnection server(env_.value(QStringLiteral("DISPLAY")).toLocal8Bit());
    // icewm keeps the whole desktop's work area for a strip along one monitor of several: there the
    // panel is in place once the manager has taken it.
    const bool areaKeepsTheStrip =
        desktop.manager == Desktop::Manager::Icewm && desktop.monitors == Desktop::Monitors::TwoSideBySide;
    QByteArray id;
    std::optional<QRect> area;
    const bool reserved = LoopWaitFor(
        [&]
        {
            id += panel_.readAllStandardOutput();
            area = server.WorkArea();
            if (panel_.state() == QProcess::NotRunning)
                return true;
            if (areaKeepsTheStrip)
                return area && id.contains('\n') && server.Managed(id.trimmed().toUInt());
            return area && area->y() == kPanelHeight;
        },
        kStartDeadline, Looks::OnlyTimed);
    if (panel_.state() == QProcess::NotRunning)
        return "the dock client ended: " + panel_.readAllStandardError();
    if (!reserved && areaKeepsTheStrip)
        return "the manager did not take the dock";
    if (!reserved)
        return "the work area " + QByteArray::fromStdString(area ? Text(*area) : std::string("(none)")) +
               " leaves no panel's strip out";
    return {};
}
} // namespace zorvpro::acceptance
