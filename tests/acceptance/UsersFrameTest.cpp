// The main window where the user put it, on an area that did not change, ends where a plain window
// would after each of the manager's state changes: maximised and restored, full screen on and off,
// the server shows exactly its client and frame again, inside the area or partly past its edge, on
// one monitor or two, under a panel the area leaves out or with none. Also at a user's pace: put
// by another client's configure requests, maximised and restored by double clicks on the title
// bar, the state turned off a second after it came and the place looked at two seconds later,
// whether or not the window has settled.
#include "AcceptanceEnv.h"
#include "PrivateServer.h"
#include "WindowManagerSteps.h"

#include "views/Shell/MainWindow.h"

#include <QPoint>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zorvpro::acceptance
{
namespace
{
// Round trips with each step waited for until the window rests. A restore the program overrode with
// a place of its own shows at once or at the next trip, when the manager keeps the overriding place
// as the normal one.
constexpr int kTripsAtRest = 2;
// Round trips at a user's pace from each place the user puts the window: a second apart, each costs
// five seconds.
constexpr int kTripsAtPace = 1;
// A second between a user's steps; the place is looked at two seconds after the last.
constexpr int kUsersPaceMs = 1000;
constexpr int kLookAfterMs = 2000;
const QSize kUsersSize(1366, 768);

enum class Toggle
{
    Maximise,
    FullScreen
};

struct RoundTripRow
{
    Desktop desktop;
    Toggle toggle;
    // Where the user puts the client's top-left, one place after another.
    std::vector<QPoint> places;
};

Desktop OneMonitor(bool panel)
{
    Desktop desktop;
    desktop.panel = panel;
    return desktop;
}

Desktop TwoMonitorsWithAPanel()
{
    Desktop desktop;
    desktop.monitors = Desktop::Monitors::TwoSideBySide;
    desktop.panel = true;
    return desktop;
}

// Inside, and partly past the right edge.
const std::vector<QPoint> kOnOneMonitor{{200, 100}, {1000, 100}};
// Inside each monitor, and partly past the desktop's outer edge of each, never reaching onto the
// other monitor.
const std::vector<QPoint> kOnTwoMonitors{{200, 100}, {-150, 300}, {2200, 100}, {3000, 100}};

// On and off again; false when a step failed the test.
bool RoundTrip(const QWidget* window, Toggle toggle)
{
    if (toggle == Toggle::Maximise)
        Maximise(window);
    else
        FullScreenOn(window);
    if (::testing::Test::HasFatalFailure())
        return false;
    if (toggle == Toggle::Maximise)
        Restore(window);
    else
        FullScreenOff(window);
    return !::testing::Test::HasFatalFailure();
}

// Round trips from where the window rests now: each gives back exactly its client and frame.
void CheckTripsFromHere(const QWidget* window, Toggle toggle)
{
    const std::optional<OnServer> left = ReadOnServer(window);
    ASSERT_TRUE(left) << "the window is gone from the server";
    for (int trip = 1; trip <= kTripsAtRest; ++trip)
    {
        if (!RoundTrip(window, toggle))
            return;
        const std::optional<OnServer> back = ReadOnServer(window);
        ASSERT_TRUE(back) << "the window is gone from the server";
        // Once moved, the later trips start elsewhere.
        if (back->client != left->client || back->frame != left->frame)
        {
            ADD_FAILURE() << "round trip " << trip << " of " << kTripsAtRest << ": the window was "
                          << Text(*left) << "; the server shows " << Text(*back);
            return;
        }
    }
}

// On and off again a second apart, as the user does it: maximise by the title bar, full screen by
// the state's message, which has no button there.
void TripAtPace(const QWidget* window, Toggle toggle)
{
    if (toggle == Toggle::Maximise)
        DoubleClickTitleBar(window, true, kUsersPaceMs);
    else
        FullScreenAtPace(window, true, kUsersPaceMs);
    if (::testing::Test::HasFatalFailure())
        return;
    if (toggle == Toggle::Maximise)
        DoubleClickTitleBar(window, false, kLookAfterMs);
    else
        FullScreenAtPace(window, false, kLookAfterMs);
}

// Each trip starts with the user putting the window at `place` by another client's requests, its
// size and then its place a second apart, and gives back exactly the client and frame it rested at.
void CheckTripsAtPace(const QWidget* window, Toggle toggle, const QPoint& place)
{
    for (int trip = 1; trip <= kTripsAtPace; ++trip)
    {
        ResizeByRequest(window, kUsersSize, kUsersPaceMs);
        if (::testing::Test::HasFatalFailure())
            return;
        OnServer left;
        MoveByRequest(window, place, kUsersPaceMs, left);
        if (::testing::Test::HasFatalFailure())
            return;
        TripAtPace(window, toggle);
        if (::testing::Test::HasFatalFailure())
            return;
        const std::optional<OnServer> back = ReadOnServer(window);
        ASSERT_TRUE(back) << "the window is gone from the server";
        if (back->client != left.client || back->frame != left.frame)
        {
            ADD_FAILURE() << "round trip at a user's pace " << trip << " of " << kTripsAtPace
                          << ": the window was " << Text(left) << "; the server shows " << Text(*back);
            return;
        }
    }
}

void CheckRoundTrips(const RoundTripRow& row)
{
    MainWindow* window = Window();
    RestoreTheFirstStart(window);
    if (::testing::Test::HasFatalFailure())
        return;
    {
        SCOPED_TRACE("where the first start was un-maximised");
        CheckTripsFromHere(window, row.toggle);
    }
    // A place that failed leaves the window elsewhere; the next is tried all the same. The trips
    // at a user's pace come first, so that the user's requests move the window from the last place.
    for (const QPoint& place : row.places)
    {
        const QRect put(place, kUsersSize);
        {
            SCOPED_TRACE("at a user's pace, the user put the window at " + Text(put));
            CheckTripsAtPace(window, row.toggle, place);
            if (::testing::Test::HasFatalFailure())
                return;
        }
        SCOPED_TRACE("the user put the client at " + Text(put));
        MoveTo(window, put);
        if (::testing::Test::HasFatalFailure())
            return;
        CheckTripsFromHere(window, row.toggle);
    }
}

// In the child on the row's desktop, the round trips; in this process, the child.
void RunRoundTrips(const RoundTripRow& row)
{
    if (InPrivateServerChild())
    {
        CheckRoundTrips(row);
        return;
    }
    const ChildRun run = RunOnPrivateServer(row.desktop, ThisTest());
    EXPECT_EQ(run.exitCode, 0) << run.output.right(4000).toStdString();
}
} // namespace

TEST(ScreenArea, UsersFrameComesBackFromMaximisedOnOneMonitorWithAPanel)
{
    RunRoundTrips({OneMonitor(true), Toggle::Maximise, kOnOneMonitor});
}

TEST(ScreenArea, UsersFrameComesBackFromFullScreenOnOneMonitorWithAPanel)
{
    RunRoundTrips({OneMonitor(true), Toggle::FullScreen, kOnOneMonitor});
}

TEST(ScreenArea, UsersFrameComesBackFromMaximisedOnTwoMonitorsWithAPanel)
{
    RunRoundTrips({TwoMonitorsWithAPanel(), Toggle::Maximise, kOnTwoMonitors});
}

TEST(ScreenArea, UsersFrameComesBackFromFullScreenOnTwoMonitorsWithAPanel)
{
    RunRoundTrips({TwoMonitorsWithAPanel(), Toggle::FullScreen, kOnTwoMonitors});
}

// Partly past the edge of an area that never held it, with no panel, it stays there too.
TEST(ScreenArea, UsersFrameComesBackFromMaximisedOnOneMonitor)
{
    RunRoundTrips({OneMonitor(false), Toggle::Maximise, kOnOneMonitor});
}
} // namespace zorvpro::acceptance
