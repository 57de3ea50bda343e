#include "PrivateServer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
constexpr char kChildVariable[] = "ZORV_PRIVATE_SERVER_CHILD";
constexpr int kChildDeadline = 180000;
constexpr int kServerAttempts = 3;
} // namespace

bool InPrivateServerChild()
{
    return std::getenv(kChildVariable) != nullptr;
}

QString ThisTest()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test == nullptr ? QString()
                           : QString::fromUtf8(test->test_suite_name()) + QLatin1Char('.') +
                                 QString::fromUtf8(test->name());
}

namespace
{
ChildRun RunChild(const QProcessEnvironment& env, const QString& filter)
{
    QProcess child;
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
    return run;
}

ChildRun RunChildren(const Desktop& desktop, const QString& filter, const ServerSetUp& setUp,
                     const std::vector<QProcessEnvironment>& starts)
{
    PrivateDesktop server;
    // A server that another process closes as this one starts can take the socket file of the
    // display it had with it, though this server was given the same number: nothing connects to
    // it then, and a new server is started.
    QByteArray failed;
    for (int attempt = 0; attempt < kServerAttempts; ++attempt)
    {
        failed = server.Start(desktop);
        if (failed.isEmpty() && setUp)
            failed = setUp(server.Environment()).toUtf8();
        if (failed.isEmpty())
            break;
        server.Stop();
    }
    if (!failed.isEmpty())
        return {-1, failed};

    ChildRun all{0, QByteArray()};
    for (const QProcessEnvironment& start : starts)
    {
        QProcessEnvironment env = server.Environment();
        env.insert(QLatin1String(kChildVariable), QStringLiteral("1"));
        env.insert(start);
        const ChildRun run = RunChild(env, filter);
        all.exitCode = run.exitCode;
        all.output += run.output;
        if (run.exitCode != 0)
            break;
    }
    return all;
}
} // namespace

ChildRun RunOnPrivateServer(const Desktop& desktop, const QString& filter, const ServerSetUp& setUp)
{
    return RunChildren(desktop, filter, setUp, {QProcessEnvironment()});
}

ChildRun RunOnPrivateServer(const Desktop& desktop, const QString& filter,
                            const std::vector<QProcessEnvironment>& starts)
{
    return RunChildren(desktop, filter, {}, starts);
}
} // namespace zorvpro::acceptance
