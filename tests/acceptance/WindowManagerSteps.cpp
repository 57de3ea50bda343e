#include "WindowManagerSteps.h"

#include "ControlTable.h"
#include "PrivateServer.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
// The program takes its look a turn of its event loop after the manager's last step, and asks
// for a place of its own at once: half a second without a change on the server is rest.
constexpr int kRestMs = 500;
constexpr int kRestDeadline = 2 * kDeadline;

constexpr char kMaximisedVertically[] = "_NET_WM_STATE_MAXIMIZED_VERT";
constexpr char kMaximisedHorizontally[] = "_NET_WM_STATE_MAXIMIZED_HORZ";
constexpr char kFullScreen[] = "_NET_WM_STATE_FULLSCREEN";

uint32_t Id(const QWidget* window)
{
    return static_cast<uint32_t>(window->winId());
}

// Runs xrandr with these arguments on the display env names; true when it succeeded.
bool Xrandr(const QStringList& arguments, const QProcessEnvironment& env)
{
    return ClientSucceeds(env, QStringLiteral("xrandr"), arguments);
}

// Sends the request, waits until the server shows the step `reached`, then until the window rests.
void Step(const QWidget* window, const char* what, bool sent,
          const std::function<bool(const OnServer&)>& reached)
{
    ASSERT_TRUE(sent) << what << ": the request did not reach the server";
    OnServer seen;
    ASSERT_TRUE(WaitOnServer(window, reached, seen))
        << what << ": the manager did not take the step; the server shows " << Text(seen);
    ASSERT_TRUE(WaitSteady(window, seen))
        << what << ": the window does not rest; the server shows " << Text(seen);
}

void ChangeState(const QWidget* window, const char* what, XConnection::Change change,
                 std::initializer_list<const char*> states,
                 const std::function<bool(const OnServer&)>& reached)
{
    Step(window, what, Server().ChangeState(Id(window), change, states), reached);
}
} // namespace

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

XConnection& Server()
{
    static XConnection connection;
    return connection;
}

std::optional<OnServer> ReadOnServer(const QWidget* window)
{
    return Server().Read(Id(window));
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

bool WaitSteady(const QWidget* window, OnServer& seen)
{
    std::optional<OnServer> last;
    QElapsedTimer unchanged;
    return QTest::qWaitFor(
        [&]
        {
            const std::optional<OnServer> on = ReadOnServer(window);
            if (!on)
            {
                last.reset();
                return false;
            }
            seen = *on;
            if (!last || *last != *on)
            {
                last = on;
                unchanged.start();
                return false;
            }
            return unchanged.elapsed() >= kRestMs;
        },
        kRestDeadline);
}

bool WaitForWorkArea(XConnection& server, const QSize& screen, QRect& area)
{
    return QTest::qWaitFor(
        [&]
        {
            area = server.WorkArea().value_or(QRect());
            return area.isValid() && QRect(QPoint(0, 0), screen).contains(area);
        },
        kDeadline);
}

void WaitForManagedShow(const QWidget* window)
{
    OnServer seen;
    ASSERT_TRUE(WaitOnServer(
        window, [](const OnServer& on) { return on.frame.top() > 0; }, seen))
        << "the manager does not frame the window: the server shows " << Text(seen);
    ASSERT_TRUE(WaitSteady(window, seen)) << "the window does not rest after its show: " << Text(seen);
}

void RestoreTheFirstStart(const QWidget* window)
{
    WaitForManagedShow(window);
    if (!::testing::Test::HasFatalFailure())
        Restore(window);
}

void Maximise(const QWidget* window)
{
    ChangeState(window, "maximise", XConnection::Change::Add, {kMaximisedVertically, kMaximisedHorizontally},
                [](const OnServer& on) { return on.Maximised(); });
}

void Restore(const QWidget* window)
{
    ChangeState(window, "un-maximise", XConnection::Change::Remove,
                {kMaximisedVertically, kMaximisedHorizontally},
                [](const OnServer& on) { return on.Normal(); });
}

void FullScreenOn(const QWidget* window)
{
    ChangeState(window, "full screen on", XConnection::Change::Add, {kFullScreen},
                [](const OnServer& on) { return on.fullScreen; });
}

void FullScreenOff(const QWidget* window)
{
    ChangeState(window, "full screen off", XConnection::Change::Remove, {kFullScreen},
                [](const OnServer& on) { return !on.fullScreen; });
}

void ReportNormalStateAhead(const QWidget* window)
{
    Step(window, "normal state reported ahead", Server().ReportNormalState(Id(window)),
         [](const OnServer& on) { return on.Normal(); });
}

void Close(const QWidget* window)
{
    ASSERT_TRUE(Server().Close(Id(window))) << "close: the request did not reach the server";
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->isVisible(); }, kDeadline))
        << "the window is still shown after the manager was asked to close it";
}

void MoveTo(const QWidget* window, const QRect& client)
{
    const std::string what = "move to " + Text(client);
    Step(window, what.c_str(), Server().MoveResize(Id(window), client),
         [&](const OnServer& on) { return on.Normal() && on.client == client; });
    if (::testing::Test::HasFatalFailure())
        return;
    const std::optional<OnServer> rest = ReadOnServer(window);
    ASSERT_TRUE(rest && rest->client == client)
        << "the user put the window's client at " << Text(client) << "; it was moved to "
        << (rest ? Text(*rest) : std::string("(gone)"));
}
} // namespace zorvpro::acceptance
