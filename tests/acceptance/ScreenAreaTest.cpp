// The main window where the user put it: it stays there while the screen's available area changes
// and still holds it, and is brought within the area, moved the least, once the area no longer
// holds it, by its size or where it stands: a panel that appears, a lower resolution. Maximised and
// restored, it comes back where it was.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "PrivateServer.h"
#include "WindowManagerSteps.h"

#include "views/Shell/MainWindow.h"

#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>

namespace zorvpro::acceptance
{
namespace
{
// The available area as a panel or a dock sets it: the work area on the root window.
bool SetWorkArea(const QRect& area)
{
    const QString value =
        QStringLiteral("%1,%2,%3,%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height());
    return QProcess::execute(QStringLiteral("xprop"),
                             {QStringLiteral("-root"), QStringLiteral("-format"),
                              QStringLiteral("_NET_WORKAREA"), QStringLiteral("32c"), QStringLiteral("-set"),
                              QStringLiteral("_NET_WORKAREA"), value}) == 0;
}

// First starts tried at a lowered resolution; before the restore followed the frame, about one in
// four left the window over the screen's edges on a loaded machine.
constexpr int kFirstStarts = 12;
// Maximise and restore in a row, and first starts that try them; a restore overridden by the
// window's own request showed every time.
constexpr int kRoundTrips = 3;
constexpr int kRoundTripStarts = 3;

// Runs the named test of this suite in `starts` first starts, each in a child on a 1920 x 1080
// server of its own under openbox, set up by setUp; stops at the first that fails.
void RunFirstStarts(const char* test, int starts, const ServerSetUp& setUp = {})
{
    for (int start = 1; start <= starts; ++start)
    {
        const ChildRun run = RunOnPrivateServer(QStringLiteral("1920x1080x24"), true,
                                                QStringLiteral("ScreenArea.") + QLatin1String(test), setUp);
        ASSERT_EQ(run.exitCode, 0) << "first start " << start << " of " << starts << ":\n"
                                   << run.output.right(3000).toStdString();
    }
}

// On the 1920 x 1080 screen the parent run started, with no window manager: the window is where
// it is asked to be, with no frame.
void CheckTheWindowStaysUntilTheAreaNoLongerHoldsIt()
{
    MainWindow* window = Window();
    QScreen* screen = window->screen();
    // With no window manager to take it out of the maximised state it was shown in, the window is
    // shown again as a normal one. The placement it saves on hiding and restores on showing is
    // applied from the event loop, one step after another: waited for before the window is moved.
    window->hide();
    window->showNormal();
    bool restored = false;
    QTimer::singleShot(0, window, [&] { QTimer::singleShot(0, window, [&] { restored = true; }); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return restored; }, kDeadline));
    ASSERT_FALSE(window->isMaximized());
    // Beyond the right edge, as a window spread over two screens lies beyond each.
    const QRect beyond(600, 100, 1500, 900);
    window->setGeometry(beyond);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isMaximized() && window->frameGeometry() == beyond; },
                                kDeadline))
        << Text(window->frameGeometry()) << (window->isMaximized() ? ", maximised" : "");
    // A panel along the bottom, then a taller one than the window: an area that never held the
    // window leaves it where it was put.
    for (const QRect& area : {QRect(0, 0, 1920, 1040), QRect(0, 0, 1920, 800)})
    {
        ASSERT_TRUE(SetWorkArea(area)) << "xprop (scripts/deps.sh installs it)";
        ASSERT_TRUE(QTest::qWaitFor([&] { return screen->availableGeometry() == area; }, kDeadline));
        // A size asked after the area changed: once the window has it, a move made for the area
        // change has come back from the server before it.
        const QRect sized = window->frameGeometry().adjusted(0, 0, 0, 1);
        window->resize(window->width(), window->height() + 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->height() == sized.height(); }, kDeadline));
        EXPECT_EQ(Text(window->frameGeometry()), Text(sized))
            << "moved by the area's change to " << Text(area);
    }

    // Wholly within the screen once the panel is gone.
    const QRect whole(0, 0, 1920, 1080);
    ASSERT_TRUE(SetWorkArea(whole));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->availableGeometry() == whole; }, kDeadline));
    const QRect put(400, 100, 1500, 900);
    window->setGeometry(put);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == put; }, kDeadline))
        << Text(window->frameGeometry());
    // A panel over its bottom edge: the area still holds its height, not where it stands; it is
    // moved up the least, its size kept.
    ASSERT_TRUE(SetWorkArea({0, 0, 1920, 960}));
    const QRect raised(400, 60, 1500, 900);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == raised; }, kDeadline))
        << Text(window->frameGeometry()) << " on an area of 1920x960";
    // A taller panel: the area no longer holds the window, which is fitted into it.
    ASSERT_TRUE(SetWorkArea({0, 0, 1920, 800}));
    const QRect fitted(400, 0, 1500, 800);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == fitted; }, kDeadline))
        << Text(window->frameGeometry()) << " on an area of 1920x800";
}

// Maximise and restore, a few times over: each time the manager gives the window back at `normal`
// and it stays there. A request of the window's own that overrode a restore would be what the
// manager keeps as the normal geometry at the next maximise, and so shows at the next restore.
void CheckRoundTrips(MainWindow* window, const QRect& normal)
{
    for (int trip = 1; trip <= kRoundTrips; ++trip)
    {
        SCOPED_TRACE("round trip " + std::to_string(trip) + " to " + Text(normal));
        MaximiseAndRestore(window);
        if (::testing::Test::HasFatalFailure())
            return;
        OnServer seen;
        ASSERT_TRUE(WaitOnServer(
            window, [&](const OnServer& on) { return on.client == normal; }, seen))
            << "restored to " << Text(seen.client) << " in a frame of " << Text(seen.Outer());
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->geometry() == normal; }, kDeadline))
            << "the window has " << Text(window->geometry());
    }
}

// A first start (no settings) on the 1920 x 1080 screen the parent run started, under openbox: the
// window, shown maximised, is un-maximised to its normal size, never the whole screen, then
// maximised and restored where the manager put it, where a user put it, and partly past the right
// edge. Last, maximised where the lower resolution will not hold its normal frame: restored within.
void CheckMaximiseAndRestoreAreARoundTrip()
{
    MainWindow* window = Window();
    const QRect screen = window->screen()->availableGeometry();
    ASSERT_EQ(Text(screen), Text(QRect(0, 0, 1920, 1080)));
    Unmaximise(window);
    if (::testing::Test::HasFatalFailure())
        return;
    OnServer seen;
    ASSERT_TRUE(WaitOnServer(
        window,
        [&](const OnServer& on)
        { return on.client.size() == QSize(1366, 768) && screen.contains(on.Outer()); },
        seen))
        << "un-maximised to " << Text(seen.client) << " in a frame of " << Text(seen.Outer());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry() == seen.client; }, kDeadline))
        << "the window has " << Text(window->geometry()) << ", the server " << Text(seen.client);
    CheckRoundTrips(window, seen.client);
    for (const QRect& put : {QRect(200, 100, 1366, 768), QRect(1000, 100, 1366, 768)})
    {
        if (::testing::Test::HasFatalFailure())
            return;
        ASSERT_TRUE(PutAt(window, put)) << Text(window->geometry());
        CheckRoundTrips(window, put);
    }
    if (::testing::Test::HasFatalFailure())
        return;

    ASSERT_TRUE(PutAt(window, QRect(520, 250, 1366, 768))) << Text(window->geometry());
    Maximise(window);
    if (::testing::Test::HasFatalFailure())
        return;
    const QRect lowered(0, 0, 1280, 720);
    const QString lowering = LowerResolution(Mode1280x720());
    ASSERT_TRUE(lowering.isEmpty()) << lowering.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->screen()->availableGeometry() == lowered; }, kDeadline))
        << Text(window->screen()->availableGeometry());
    // Maximised anew on the lowered screen, then restored.
    MaximiseAndRestore(window);
    if (::testing::Test::HasFatalFailure())
        return;
    EXPECT_TRUE(WaitOnServer(
        window, [&](const OnServer& on) { return on.Outer() == lowered; }, seen))
        << "restored to " << Text(seen.client) << " in a frame of " << Text(seen.Outer())
        << " on a screen of " << Text(lowered);
}

// On the 1920 x 1080 screen the parent run started, under openbox: the window, no longer
// maximised, where a user put it, then the resolution lowered to 1700 x 900 by a RandR mode.
void CheckALowerResolutionBringsTheWindowWithinTheScreen()
{
    MainWindow* window = Window();
    QScreen* screen = window->screen();
    Unmaximise(window);
    if (::testing::Test::HasFatalFailure())
        return;
    // Framed as a normal window, with its borders, where it was put.
    const QRect put(520, 250, 1366, 768);
    ASSERT_TRUE(PutAt(window, put)) << Text(window->geometry())
                                    << (window->isMaximized() ? ", maximised" : "");
    const QRect framed = ReadOnServer(window).value_or(OnServer()).Outer();
    ASSERT_TRUE(screen->availableGeometry().contains(framed)) << Text(framed);
    const QRect lowered(0, 0, 1700, 900);
    ASSERT_TRUE(framed.right() > lowered.right() && framed.bottom() > lowered.bottom()) << Text(framed);

    // The mode as `cvt 1700 900` gives it, its width not rounded up to a multiple of 8.
    const QString lowering = LowerResolution(
        {QStringLiteral("1700x900"), QStringLiteral("125.75"), QStringLiteral("1700"), QStringLiteral("1800"),
         QStringLiteral("1976"), QStringLiteral("2248"), QStringLiteral("900"), QStringLiteral("903"),
         QStringLiteral("913"), QStringLiteral("934"), QStringLiteral("-hsync"), QStringLiteral("+vsync")});
    ASSERT_TRUE(lowering.isEmpty()) << lowering.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->geometry() == lowered; }, kDeadline))
        << Text(screen->geometry());

    // Its size still fits, its right and bottom edges did not: moved up and left the least.
    const QRect moved(QPoint(lowered.right() + 1 - framed.width(), lowered.bottom() + 1 - framed.height()),
                      framed.size());
    OnServer seen;
    EXPECT_TRUE(WaitOnServer(
        window, [&](const OnServer& on) { return on.Outer() == moved; }, seen))
        << Text(seen.Outer()) << " on a screen of 1700x900, from " << Text(framed);
}

// A first start (no settings) on a screen openbox manages, lowered to 1280 x 720 before the program
// started: shown maximised, then taken out of that state, the window lies within the screen with
// the manager's frame, shrunk only as far as it must be.
void CheckAFirstStartAtALowerResolutionRestoresWithinTheScreen()
{
    MainWindow* window = Window();
    const QRect lowered(0, 0, 1280, 720);
    ASSERT_EQ(Text(window->screen()->geometry()), Text(lowered));
    Unmaximise(window);
    if (::testing::Test::HasFatalFailure())
        return;
    // The manager restores it to the screen's size with no room for its frame: it must give up the
    // frame's width and height, and no more.
    OnServer seen;
    EXPECT_TRUE(WaitOnServer(
        window, [&](const OnServer& on) { return on.Outer() == lowered; }, seen))
        << "restored to " << Text(seen.client) << " in a frame of " << Text(seen.Outer())
        << " on a screen of " << Text(lowered);
}
} // namespace

TEST(ScreenArea, TheWindowStaysWhereTheUserPutItUntilTheAreaNoLongerHoldsIt)
{
    if (InPrivateServerChild())
    {
        CheckTheWindowStaysUntilTheAreaNoLongerHoldsIt();
        return;
    }
    // A server of its own: the work area set here must not reach the other tests.
    const ChildRun run = RunOnPrivateServer(
        QStringLiteral("1920x1080x24"), false,
        QStringLiteral("ScreenArea.TheWindowStaysWhereTheUserPutItUntilTheAreaNoLongerHoldsIt"));
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
}

TEST(ScreenArea, ALowerResolutionBringsTheWindowWithinTheScreenUnderAWindowManager)
{
    if (InPrivateServerChild())
    {
        CheckALowerResolutionBringsTheWindowWithinTheScreen();
        return;
    }
    // A server of its own whose resolution can be lowered, with a window manager that leaves a
    // window the screen no longer holds where it was.
    const ChildRun run = RunOnPrivateServer(
        QStringLiteral("1920x1080x24"), true,
        QStringLiteral("ScreenArea.ALowerResolutionBringsTheWindowWithinTheScreenUnderAWindowManager"));
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
}

// The restore races the window manager's framing: how often a first start is tried for it to show.
TEST(ScreenArea, AFirstStartAtALowerResolutionRestoresTheWindowWithinTheScreen)
{
    if (InPrivateServerChild())
    {
        CheckAFirstStartAtALowerResolutionRestoresWithinTheScreen();
        return;
    }
    RunFirstStarts("AFirstStartAtALowerResolutionRestoresTheWindowWithinTheScreen", kFirstStarts,
                   [](const QProcessEnvironment& env) { return LowerResolution(Mode1280x720(), env); });
}

// Maximise and restore race the window manager's steps: each is tried a few times, in a few first
// starts.
TEST(ScreenArea, MaximiseAndRestoreBringTheWindowBackWhereItWasUnderAWindowManager)
{
    if (InPrivateServerChild())
    {
        CheckMaximiseAndRestoreAreARoundTrip();
        return;
    }
    RunFirstStarts("MaximiseAndRestoreBringTheWindowBackWhereItWasUnderAWindowManager", kRoundTripStarts);
}
} // namespace zorvpro::acceptance
