#include "WindowManagerSteps.h"

#include "ControlTable.h"
#include "LoopWait.h"
#include "PrivateServer.h"

#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <optional>
#include <string>

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

// Sends the request and waits until the server shows the step `reached`, then for the rest of
// the user's pace after the request. With `rest`, waits within the pace until the window rests
// too, and reads it there.
void StepAtPace(const QWidget* window, const std::string& what, const std::function<bool()>& send,
                const std::function<bool(const OnServer&)>& reached, int paceMs, OnServer* rest = nullptr)
{
    QElapsedTimer since;
    since.start();
    ASSERT_TRUE(send()) << what << ": the request did not reach the server";
    OnServer seen;
    ASSERT_TRUE(WaitOnServer(window, reached, seen))
        << what << ": the manager did not take the step; the server shows " << Text(seen);
    if (rest)
    {
        ASSERT_TRUE(WaitSteady(window, *rest))
            << what << ": the window does not rest; the server shows " << Text(*rest);
    }
    const qint64 left = paceMs - since.elapsed();
    if (left > 0)
        LoopWait(static_cast<int>(left));
}

// A point on the title bar's label, on the part of the desktop the user sees: past the icon at
// its left end and the buttons at its right, also when the window lies partly past an edge.
std::optional<QPoint> OnTitleBar(const OnServer& on)
{
    const QRect outer = on.Outer();
    const QRect seen = QRect(outer.left(), outer.top(), outer.width(), on.frame.top())
                           .intersected(QRect(QPoint(0, 0), Server().RootSize()));
    if (on.frame.top() <= 0 || seen.width() < 200)
        return std::nullopt;
    return seen.center();
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

// A reading of the server is several round trips: made on the program's thread, it would hold back
// the manager's next event until it could be handled together with the one after, so the server
// is read on a thread of the wait's own.
bool WaitOnServer(const QWidget* window, const std::function<bool(const OnServer&)>& done, OnServer& seen)
{
    const uint32_t id = Id(window);
    return LoopWaitForApart(
        [&]
        {
            const std::optional<OnServer> on = Server().Read(id);
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
    const uint32_t id = Id(window);
    return LoopWaitForApart(
        [&]
        {
            const std::optional<OnServer> on = Server().Read(id);
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
    return LoopWaitForApart(
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
    ASSERT_TRUE(LoopWaitFor([window] { return !window->isVisible(); }, kDeadline))
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

void ResizeByRequest(const QWidget* window, const QSize& size, int paceMs)
{
    StepAtPace(
        window,
        "resize by a configure request to " + std::to_string(size.width()) + "x" +
            std::to_string(size.height()),
        [&] { return Server().ConfigureSize(Id(window), size); },
        [&](const OnServer& on) { return on.Normal() && on.client.size() == size; }, paceMs);
}

void MoveByRequest(const QWidget* window, const QPoint& place, int paceMs, OnServer& rest)
{
    const auto there = [&](const OnServer& on)
    { return on.Normal() && (on.client.topLeft() == place || on.Outer().topLeft() == place); };
    const std::string what =
        "move by a configure request to " + std::to_string(place.x()) + "," + std::to_string(place.y());
    StepAtPace(
        window, what, [&] { return Server().ConfigurePlace(Id(window), place); }, there, paceMs, &rest);
    if (::testing::Test::HasFatalFailure())
        return;
    ASSERT_TRUE(there(rest)) << what << ": the window was moved on to " << Text(rest);
}

void DoubleClickTitleBar(const QWidget* window, bool maximised, int paceMs)
{
    const std::optional<OnServer> before = ReadOnServer(window);
    ASSERT_TRUE(before) << "the window is gone from the server";
    const std::optional<QPoint> at = OnTitleBar(*before);
    ASSERT_TRUE(at) << "no title bar on the desktop to click: " << Text(*before);
    StepAtPace(
        window,
        std::string(maximised ? "maximise" : "restore") + " by a double click on the title bar at " +
            std::to_string(at->x()) + "," + std::to_string(at->y()),
        [&] { return Server().DoubleClick(*at); },
        [&](const OnServer& on) { return maximised ? on.Maximised() : on.Normal(); }, paceMs);
}

void FullScreenAtPace(const QWidget* window, bool on, int paceMs)
{
    StepAtPace(
        window, on ? "full screen on" : "full screen off",
        [&]
        {
            return Server().ChangeState(
                Id(window), on ? XConnection::Change::Add : XConnection::Change::Remove, {kFullScreen});
        },
        [&](const OnServer& seen) { return seen.fullScreen == on; }, paceMs);
}
} // namespace zorvpro::acceptance
