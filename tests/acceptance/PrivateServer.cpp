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

ChildRun Failed(const char* what)
{
    return {-1, QByteArray(what)};
}
} // namespace

bool InPrivateServerChild()
{
    return std::getenv(kChildVariable) != nullptr;
}

// Whether a window manager has announced itself on the root window of the display.
bool ManagerRunning(const QProcessEnvironment& env)
{
    QProcess xprop;
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    return xprop.waitForFinished() && xprop.exitCode() == 0 &&
           xprop.readAllStandardOutput().contains("window id #");
}

ChildRun RunOnPrivateServer(const QString& screen, bool managed, const QString& filter,
                            const ServerSetUp& setUp)
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                  QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server.waitForStarted())
        return Failed("Xvfb did not start");
    QByteArray number;
    const bool named = QTest::qWaitFor(
        [&]
        {
            number += server.readAllStandardOutput();
            return number.contains('\n');
        },
        kStartDeadline);
    auto stopServer = [&server]
    {
        server.terminate();
        server.waitForFinished();
    };
    if (!named)
    {
        stopServer();
        return Failed("Xvfb names no display");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(number.trimmed()));
    QProcess manager;
    if (managed)
    {
        manager.setProcessEnvironment(env);
        manager.start(QStringLiteral("openbox"), QStringList());
        // A window mapped before the manager has taken the screen is not framed as a user sees it.
        if (!manager.waitForStarted() ||
            !QTest::qWaitFor([&] { return ManagerRunning(env); }, kStartDeadline))
        {
            manager.kill();
            manager.waitForFinished();
            stopServer();
            return Failed("openbox did not start (scripts/deps.sh installs it)");
        }
    }
    auto stopManager = [&]
    {
        if (managed)
        {
            manager.terminate();
            manager.waitForFinished();
        }
    };
    if (setUp)
    {
        const QString failed = setUp(env);
        if (!failed.isEmpty())
        {
            stopManager();
            stopServer();
            return Failed(qPrintable(QStringLiteral("set-up: ") + failed));
        }
    }

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
    stopManager();
    stopServer();
    return run;
}
} // namespace zorvpro::acceptance
