#include "PrivateDesktop.h"

#include "LoopWait.h"
#include "XConnection.h"

#include <optional>

namespace zorvpro::acceptance
{
namespace
{
constexpr int kStartDeadline = 10000;

void End(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    process.waitForFinished();
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
        failed = StartManager();
    if (failed.isEmpty() && desktop.managed && desktop.panel)
        failed = StartPanel();
    return failed;
}

void PrivateDesktop::Stop()
{
    End(panel_);
    End(manager_);
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

QByteArray PrivateDesktop::StartManager()
{
    manager_.setProcessEnvironment(env_);
    manager_.setProcessChannelMode(QProcess::MergedChannels);
    manager_.start(QStringLiteral("openbox"), QStringList());
    if (!manager_.waitForStarted())
        return "openbox did not start (scripts/deps.sh installs it): " + manager_.errorString().toUtf8();
    // A window mapped before the manager has taken the screen is not framed as a user sees it, and
    // one mapped while it still starts waits until something else wakes it.
    XConnection server(env_.value(QStringLiteral("DISPLAY")).toLocal8Bit());
    const bool running =
        LoopWaitFor([&] { return server.ManagerAnswers() || manager_.state() == QProcess::NotRunning; },
                    kStartDeadline, Looks::OnlyTimed);
    if (manager_.state() == QProcess::NotRunning)
        return "openbox ended with " + QByteArray::number(manager_.exitCode()) +
               " before it took the screen:\n" + manager_.readAll();
    return running ? QByteArray() : QByteArray("openbox did not take the screen in time");
}

// A program started with a work area that still holds the panel's strip would place its window
// under the panel and then see the area change.
QByteArray PrivateDesktop::StartPanel()
{
    panel_.setProcessEnvironment(env_);
    panel_.setProcessChannelMode(QProcess::MergedChannels);
    panel_.start(QStringLiteral(ZORV_DOCK_CLIENT), QStringList());
    if (!panel_.waitForStarted())
        return "the dock client did not start: " + panel_.errorString().toUtf8();
    XConnection server(env_.value(QStringLiteral("DISPLAY")).toLocal8Bit());
    std::optional<QRect> area;
    const bool reserved = LoopWaitFor(
        [&]
        {
            area = server.WorkArea();
            return (area && area->y() == kPanelHeight) || panel_.state() == QProcess::NotRunning;
        },
        kStartDeadline, Looks::OnlyTimed);
    if (panel_.state() == QProcess::NotRunning)
        return "the dock client ended: " + panel_.readAll();
    if (!reserved)
        return "the work area " + QByteArray::fromStdString(area ? Text(*area) : std::string("(none)")) +
               " leaves no panel's strip out";
    return {};
}
} // namespace zorvpro::acceptance
