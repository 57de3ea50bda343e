#include "WindowManagerSteps.h"

#include "ControlTable.h"
#include "PrivateServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
// Runs xrandr with these arguments on the display env names; true when it succeeded.
bool Xrandr(const QStringList& arguments, const QProcessEnvironment& env)
{
    return ClientSucceeds(env, QStringLiteral("xrandr"), arguments);
}

int Field(const QString& text, const char* pattern)
{
    const QRegularExpressionMatch match = QRegularExpression(QLatin1String(pattern)).match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}
} // namespace

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// The server keeps a mode only while a client is connected or an output uses it: this one is used.
QString LowerResolution(const QStringList& modeline, const QProcessEnvironment& env)
{
    if (!Xrandr(QStringList{QStringLiteral("--newmode")} + modeline, env))
        return QStringLiteral("xrandr --newmode (scripts/deps.sh installs xrandr)");
    if (!Xrandr({QStringLiteral("--addmode"), QStringLiteral("screen"), modeline.first()}, env))
        return QStringLiteral("xrandr --addmode");
    if (!Xrandr({QStringLiteral("--output"), QStringLiteral("screen"), QStringLiteral("--mode"),
                 modeline.first()},
                env))
        return QStringLiteral("xrandr --output screen --mode ") + modeline.first();
    return QString();
}

QStringList Mode1280x720()
{
    return {QStringLiteral("1280x720"), QStringLiteral("74.50"),  QStringLiteral("1280"),
            QStringLiteral("1344"),     QStringLiteral("1472"),   QStringLiteral("1664"),
            QStringLiteral("720"),      QStringLiteral("723"),    QStringLiteral("728"),
            QStringLiteral("748"),      QStringLiteral("-hsync"), QStringLiteral("+vsync")};
}

// showNormal would also show the window again, which restores its saved placement, maximised.
void Unmaximise(QWidget* window)
{
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->isMaximized() && window->windowHandle()->frameMargins().top() > 0; },
        kDeadline));
    const QMargins maximisedFrame = window->windowHandle()->frameMargins();
    window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !window->isMaximized() && window->windowHandle()->frameMargins() != maximisedFrame; },
        kDeadline))
        << Text(window->geometry()) << (window->isMaximized() ? ", maximised" : ", framed as maximised");
}

void Maximise(QWidget* window)
{
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    OnServer seen;
    ASSERT_TRUE(WaitOnServer(
        window,
        [&](const OnServer& on)
        {
            // Qt has learnt the maximised frame too.
            const QRect area = window->screen()->availableGeometry();
            return window->isMaximized() && on.Outer() == area &&
                   window->windowHandle()->frameGeometry() == area;
        },
        seen))
        << Text(seen.Outer()) << (window->isMaximized() ? ", maximised" : "");
}

void MaximiseAndRestore(QWidget* window)
{
    Maximise(window);
    if (!::testing::Test::HasFatalFailure())
        Unmaximise(window);
}

// A manager whose own steps of an earlier request (the size it keeps for a window leaving the
// maximised state) land after this one overrides it: asked again every second.
bool PutAt(QWidget* window, const QRect& put)
{
    QElapsedTimer asked;
    asked.start();
    window->setGeometry(put);
    OnServer seen;
    return WaitOnServer(
        window,
        [&](const OnServer& on)
        {
            if (on.client == put)
                return true;
            if (asked.elapsed() > 1000)
            {
                window->setGeometry(put);
                asked.restart();
            }
            return false;
        },
        seen);
}

std::optional<OnServer> ReadOnServer(const QWidget* window)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window->winId()),
                                                QStringLiteral("-stats"), QStringLiteral("-wm")});
    if (!xwininfo.waitForFinished() || xwininfo.exitCode() != 0)
        return std::nullopt;
    const QString text = QString::fromLatin1(xwininfo.readAllStandardOutput());
    const QRegularExpressionMatch extents =
        QRegularExpression(QStringLiteral("Frame extents: (\\d+), (\\d+), (\\d+), (\\d+)")).match(text);
    OnServer on;
    on.client = QRect(Field(text, "Absolute upper-left X: +(-?\\d+)"),
                      Field(text, "Absolute upper-left Y: +(-?\\d+)"), Field(text, "Width: (\\d+)"),
                      Field(text, "Height: (\\d+)"));
    // "left, right, top, bottom"
    if (extents.hasMatch())
        on.frame = QMargins(extents.captured(1).toInt(), extents.captured(3).toInt(),
                            extents.captured(2).toInt(), extents.captured(4).toInt());
    return on;
}

bool WaitOnServer(const QWidget* window, const std::function<bool(const OnServer&)>& done, OnServer& seen)
{
    return QTest::qWaitFor(
        [&]
        {
            const std::optional<OnServer> on = ReadOnServer(window);
            if (on)
                seen = *on;
            return on && done(*on);
        },
        kDeadline);
}
} // namespace zorvpro::acceptance
