// The main window where the user put it: it stays there while the screen's available area changes
// and still holds it, and is brought within the area, moved the least and shrunk only as it must
// be, once the area no longer holds it, by its size or where it stands: a panel that appears, a
// lower resolution, also one that came while the window was maximised or full screen.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "LoopWait.h"
#include "PrivateServer.h"
#include "WindowManagerSteps.h"

#include "views/Shell/MainWindow.h"

#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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
    ASSERT_TRUE(LoopWaitFor([&] { return restored; }, kDeadline));
    ASSERT_FALSE(window->isMaximized());
    // Beyond the right edge, as a window spread over two screens lies beyond each.
    const QRect beyond(600, 100, 1500, 900);
    window->setGeometry(beyond);
    ASSERT_TRUE(
        LoopWaitFor([&] { return !window->isMaximized() && window->frameGeometry() == beyond; }, kDeadline))
        << Text(window->frameGeometry()) << (window->isMaximized() ? ", maximised" : "");
    // A panel along the bottom, then a taller one than the window: an area that never held the
    // window leaves it where it was put.
    for (const QRect& area : {QRect(0, 0, 1920, 1040), QRect(0, 0, 1920, 800)})
    {
        ASSERT_TRUE(SetWorkArea(area)) << "xprop (scripts/deps.sh installs it)";
        ASSERT_TRUE(LoopWaitFor([&] { return screen->availableGeometry() == area; }, kDeadline));
        // A size asked after the area changed: once the window has it, a move made for the area
        // change has come back from the server before it.
        const QRect sized = window->frameGeometry().adjusted(0, 0, 0, 1);
        window->resize(window->width(), window->height() + 1);
        ASSERT_TRUE(LoopWaitFor([&] { return window->height() == sized.height(); }, kDeadline));
        EXPECT_EQ(Text(window->frameGeometry()), Text(sized))
            << "moved by the area's change to " << Text(area);
    }

    // Wholly within the screen once the panel is gone.
    const QRect whole(0, 0, 1920, 1080);
    ASSERT_TRUE(SetWorkArea(whole));
    ASSERT_TRUE(LoopWaitFor([&] { return screen->availableGeometry() == whole; }, kDeadline));
    const QRect put(400, 100, 1500, 900);
    window->setGeometry(put);
    ASSERT_TRUE(LoopWaitFor([&] { return window->frameGeometry() == put; }, kDeadline))
        << Text(window->frameGeometry());
    // A panel over its bottom edge: the area still holds its height, not where it stands; it is
    // moved up the least, its size kept.
    ASSERT_TRUE(SetWorkArea({0, 0, 1920, 960}));
    const QRect raised(400, 60, 1500, 900);
    EXPECT_TRUE(LoopWaitFor([&] { return window->frameGeometry() == raised; }, kDeadline))
        << Text(window->frameGeometry()) << " on an area of 1920x960";
    // A taller panel: the area no longer holds the window, which is fitted into it.
    ASSERT_TRUE(SetWorkArea({0, 0, 1920, 800}));
    const QRect fitted(400, 0, 1500, 800);
    EXPECT_TRUE(LoopWaitFor([&] { return window->frameGeometry() == fitted; }, kDeadline))
        << Text(window->frameGeometry()) << " on an area of 1920x800";
}

// The window the user put at 520,250, on a screen openbox manages.
void PutWhereTheUserDoes(const QWidget* window)
{
    RestoreTheFirstStart(window);
    if (::testing::Test::HasFatalFailure())
        return;
    MoveTo(window, QRect(520, 250, 1366, 768));
}

// On the 1920 x 1080 screen the parent run started, under openbox: the window where a user put
// it, then the resolution lowered to 1700 x 900 by a RandR mode.
void CheckALowerResolutionBringsTheWindowWithinTheScreen()
{
    MainWindow* window = Window();
    PutWhereTheUserDoes(window);
    if (::testing::Test::HasFatalFailure())
        return;
    // Framed as a normal window, with its borders, where it was put.
    const QRect framed = ReadOnServer(window).value_or(OnServer()).Outer();
    const QRect lowered(0, 0, 1700, 900);
    ASSERT_TRUE(framed.right() > lowered.right() && framed.bottom() > lowered.bottom()) << Text(framed);

    // The mode as `cvt 1700 900` gives it, its width not rounded up to a multiple of 8.
    const QString lowering = LowerResolution(
        {QStringLiteral("1700x900"), QStringLiteral("125.75"), QStringLiteral("1700"), QStringLiteral("1800"),
         QStringLiteral("1976"), QStringLiteral("2248"), QStringLiteral("900"), QStringLiteral("903"),
         QStringLiteral("913"), QStringLiteral("934"), QStringLiteral("-hsync"), QStringLiteral("+vsync")});
    ASSERT_TRUE(lowering.isEmpty()) << lowering.toStdString();
    QRect area;
    ASSERT_TRUE(WaitForWorkArea(Server(), lowered.size(), area))
        << "the manager's work area is " << Text(area);

    // Its size still fits, its right and bottom edges did not: moved up and left the least.
    const QRect moved(QPoint(lowered.right() + 1 - framed.width(), lowered.bottom() + 1 - framed.height()),
                      framed.size());
    // Once there, it stays.
    OnServer seen;
    const bool there = WaitOnServer(
        window, [&](const OnServer& on) { return on.Outer() == moved; }, seen);
    EXPECT_TRUE(!there || WaitSteady(window, seen)) << "the window does not rest: " << Text(seen);
    EXPECT_EQ(Text(seen.Outer()), Text(moved))
        << "on a screen of 1700x900, the server shows " << Text(seen) << "; from a frame of " << Text(framed);
}

// The window where the user put it, maximised or full screen under the panel of the desktop the
// parent run started, when the resolution is lowered to 1280 x 720, then taken out of that state:
// its frame lies within the area the panel leaves, its client shrunk only as far as it must be.
// With `stateAhead`, the normal state is reported a while before the manager gives the window back,
// and the window rests in between with the geometry it had in that state.
void CheckLeavingAfterALowerResolution(bool fullScreen, bool stateAhead = false)
{
    MainWindow* window = Window();
    PutWhereTheUserDoes(window);
    if (::testing::Test::HasFatalFailure())
        return;
    fullScreen ? FullScreenOn(window) : Maximise(window);
    if (::testing::Test::HasFatalFailure())
        return;
    const QString lowering = LowerResolution(Mode1280x720());
    ASSERT_TRUE(lowering.isEmpty()) << lowering.toStdString();
    QRect area;
    ASSERT_TRUE(WaitForWorkArea(Server(), QSize(1280, 720), area))
        << "the manager's work area is " << Text(area);
    ASSERT_EQ(area.top(), kPanelHeight) << "the work area " << Text(area) << " leaves no panel out";
    OnServer seen;
    ASSERT_TRUE(WaitSteady(window, seen)) << "the window does not rest on the lowered screen: " << Text(seen);
    if (stateAhead)
        ReportNormalStateAhead(window);
    if (::testing::Test::HasFatalFailure())
        return;
    fullScreen ? FullScreenOff(window) : Restore(window);
    if (::testing::Test::HasFatalFailure())
        return;
    const std::optional<OnServer> left = ReadOnServer(window);
    ASSERT_TRUE(left) << "the window is gone from the server";
    seen = *left;
    const QSize least(std::min(1366, area.width() - seen.frame.left() - seen.frame.right()),
                      std::min(768, area.height() - seen.frame.top() - seen.frame.bottom()));
    EXPECT_TRUE(area.contains(seen.Outer()) && seen.client.size() == least)
        << "left " << (fullScreen ? "full screen" : "the maximised state")
        << " at 1280x720, the server shows " << Text(seen) << "; expected a frame within " << Text(area)
        << " around a client of " << least.width() << "x" << least.height();
}

// In the child, the check; in this process, the child on one monitor with a panel.
void RunLeavingAfterALowerResolution(bool fullScreen, bool stateAhead = false)
{
    if (InPrivateServerChild())
    {
        CheckLeavingAfterALowerResolution(fullScreen, stateAhead);
        return;
    }
    Desktop withAPanel;
    withAPanel.panel = true;
    const ChildRun run = RunOnPrivateServer(withAPanel, ThisTest());
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
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
    Desktop bare;
    bare.managed = false;
    const ChildRun run = RunOnPrivateServer(bare, ThisTest());
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
    const ChildRun run = RunOnPrivateServer(Desktop(), ThisTest());
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
}

TEST(ScreenArea, LeavingMaximisedAfterALowerResolutionBringsTheWindowWithinTheAreaThePanelLeaves)
{
    RunLeavingAfterALowerResolution(false);
}

TEST(ScreenArea, LeavingFullScreenAfterALowerResolutionBringsTheWindowWithinTheAreaThePanelLeaves)
{
    RunLeavingAfterALowerResolution(true);
}
// A manager may report the normal state before it gives the window back: until it does, the
// window still has the geometry it had full screen, which the lowered area does not hold either.
TEST(ScreenArea, LeavingFullScreenReportedAheadOfTheWindowsGeometryStillBringsItWithinTheArea)
{
    RunLeavingAfterALowerResolution(true, true);
}

TEST(ScreenArea, LeavingMaximisedReportedAheadOfTheWindowsGeometryStillBringsItWithinTheArea)
{
    RunLeavingAfterALowerResolution(false, true);
}
} // namespace zorvpro::acceptance
