#include "PrivateServer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <cstdlib>

namespace zorvpro::acceptance
{
namespace
{
constexpr char kChildVariable[] = "ZORV_PRIVATE_SERVER_CHILD";
constexpr int kStartDeadline = 10000;
constexpr int kChildDeadline = 180000;
constexpr int kServerAttempts = 3;

ChildRun Failed(const char* what)
{
    return {-1, QByteArray(what)};
}

void Stop(QProcess& process)
{
    process.terminate();
    process.waitForFinished();
}

// Starts Xvfb on a free display, with openbox on it when managed, and waits until a client
// connects and the manager has taken the screen; env then names the display. Empty when done,
// else what failed.
QByteArray StartServer(QProcess& server, QProcess& manager, const QString& screen, bool managed,
                       QProcessEnvironment& env)
{
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                  QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server.waitForStarted())
        return "Xvfb did not start";
    QByteArray number;
    const bool named = QTest::qWaitFor(
        [&]
        {
            number += server.readAllStandardOutput();
            return number.contains('\n');
        },
        kStartDeadline);
    if (!named)
        return "Xvfb names no display";
    env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(number.trimmed()));
    if (!QTest::qWaitFor([&] { return ClientSucceeds(env, QStringLiteral("xdpyinfo"), {}); }, kStartDeadline))
        return "no client connects to Xvfb on " + number.trimmed();
    if (!managed)
        return {};
    manager.setProcessEnvironment(env);
    manager.setProcessChannelMode(QProcess::MergedChannels);
    manager.start(QStringLiteral("openbox"), QStringList());
    if (!manager.waitForStarted())
        return "openbox did not start (scripts/deps.sh installs it): " + manager.errorString().toUtf8();
    // A window mapped before the manager has taken the screen is not framed as a user sees it. A
    // manager announces itself on the root window.
    const bool running = QTest::qWaitFor(
        [&]
        {
            return ClientSucceeds(env, QStringLiteral("xprop"),
                                  {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")},
                                  "window id #") ||
                   manager.state() == QProcess::NotRunning;
        },
        kStartDeadline);
    if (manager.state() == QProcess::NotRunning)
        return "openbox ended with " + QByteArray::number(manager.exitCode()) +
               " before it took the screen:\n" + manager.readAll();
    return running ? QByteArray() : QByteArray("openbox did not take the screen in time");
}

void StopServer(QProcess& server, QProcess& manager)
{
    if (manager.state() != QProcess::NotRunning)
        Stop(manager);
    if (server.state() != QProcess::NotRunning)
        Stop(server);
}
} // namespace

bool InPrivateServerChild()
{
    return std::getenv(kChildVariable) != nullptr;
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

ChildRun RunOnPrivateServer(const QString& screen, bool managed, const QString& filter,
                            const ServerSetUp& setUp)
{
    QProcess server;
    QProcess manager;
    QProcessEnvironment env;
    // A server that another process closes as this one starts can take the socket file of the
    // display it had with it, though this server was given the same number: nothing connects to
    // it then, and a new server is started.
    QByteArray failed;
    for (int attempt = 0; attempt < kServerAttempts; ++attempt)
    {
        failed = StartServer(server, manager, screen, managed, env);
        if (failed.isEmpty() && setUp)
            failed = setUp(env).toUtf8();
        if (failed.isEmpty())
            break;
        StopServer(server, manager);
    }
    if (!failed.isEmpty())
        return Failed(failed.constData());

    QProcess child;
    env.insert(QLatin1String(kChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filter});
    ChildRun run;
    if (!child.waitForFinished(kChildDeadline))
    {
        child.kill();
        child.waitForFinished();
    }
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.output = child.readAll();
    // A filter that names no test passes with nothing run.
    if (run.exitCode == 0 && !run.output.contains("[  PASSED  ] 1 test."))
    {
        run.exitCode = -1;
        run.output += "\nthe child ran no test of that name";
    }
    StopServer(server, manager);
    return run;
}
} // namespace zorvpro::acceptance
