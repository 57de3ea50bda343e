// Where the main window goes when it is shown, framed, restored, put on another screen or its
// screen's available area changes: only a first placement and an area that held the frame and no
// longer does move or size it.
#include "views/Shell/FitSteps.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace zorvpro::test
{
namespace
{
using Cause = FitSteps::Cause;
using Step = FitSteps::Step;

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// Two screens side by side, the right one smaller; a window manager's frame.
const QRect kLeft(0, 0, 1920, 1080);
const QRect kRight(1920, 0, 1366, 768);
const QMargins kFrame(1, 29, 1, 1);
} // namespace

TEST(FitSteps, OnlyAFirstPlacementOrAnAreaThatNoLongerHoldsTheFrameMovesOrSizesTheWindow)
{
    struct Row
    {
        const char* what;
        Cause cause;
        QRect outer, area, areaBefore, expected;
    };
    const Row rows[] = {
        {"first shown larger than a small screen's area: fitted into it", Cause::FirstShown,
         QRect(100, 50, 1368, 798), QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720)},
        {"first shown within the area: left alone", Cause::FirstShown, QRect(100, 100, 800, 600), kLeft,
         kLeft, QRect(100, 100, 800, 600)},
        {"framed over the right edge: moved in, its size kept", Cause::Framed, QRect(1500, 100, 600, 400),
         kLeft, kLeft, QRect(1320, 100, 600, 400)},
        {"restored to a size from before it was framed: fitted", Cause::Restored, QRect(0, 0, 1400, 800),
         QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720)},
        {"dragged towards the smaller screen: left under the pointer", Cause::ScreenChanged,
         QRect(1500, 100, 1400, 800), kRight, kLeft, QRect(1500, 100, 1400, 800)},
        {"spread over both screens: stays spread", Cause::ScreenChanged, QRect(1000, 0, 2000, 700), kRight,
         kLeft, QRect(1000, 0, 2000, 700)},
        {"moved partly off the area by the user: left there", Cause::Other, QRect(-200, 100, 800, 600), kLeft,
         kLeft, QRect(-200, 100, 800, 600)},
        {"area shrank but still holds the frame: left alone", Cause::AreaChanged, QRect(500, 100, 1400, 700),
         QRect(0, 40, 1920, 1040), kLeft, QRect(500, 100, 1400, 700)},
        {"a panel over a window partly beyond the area's edge: left where the user put it",
         Cause::AreaChanged, QRect(1500, 0, 1400, 700), QRect(0, 40, 1920, 1040), kLeft,
         QRect(1500, 0, 1400, 700)},
        {"lower resolution holds the frame's size, not where it stands: moved the least, size kept",
         Cause::AreaChanged, QRect(519, 230, 1368, 793), QRect(0, 0, 1700, 900), kLeft,
         QRect(332, 107, 1368, 793)},
        {"a panel along the top over the frame: moved down below it", Cause::AreaChanged,
         QRect(300, 10, 800, 600), QRect(0, 40, 1920, 1040), kLeft, QRect(300, 40, 800, 600)},
        {"a panel along the left over the frame: moved right of it", Cause::AreaChanged,
         QRect(20, 100, 800, 600), QRect(64, 0, 1856, 1080), kLeft, QRect(64, 100, 800, 600)},
        {"area shrank below the frame's height: fitted and moved in", Cause::AreaChanged,
         QRect(100, 50, 1400, 1000), QRect(0, 0, 1920, 900), kLeft, QRect(100, 0, 1400, 900)},
        {"area shrank below the frame's width: fitted, frame and all", Cause::AreaChanged,
         QRect(200, 100, 1600, 800), QRect(0, 0, 1366, 1080), kLeft, QRect(0, 100, 1366, 800)},
        {"area narrowed under a window already wider than it: stays spread", Cause::AreaChanged,
         QRect(1000, 0, 2000, 700), QRect(0, 0, 1800, 1080), kLeft, QRect(1000, 0, 2000, 700)},
        {"area grew: a window it never held stays", Cause::AreaChanged, QRect(1000, 0, 2000, 700), kLeft,
         QRect(0, 0, 1920, 1040), QRect(1000, 0, 2000, 700)},
        {"the smaller screen's area changed under a window spread over both: stays spread",
         Cause::AreaChanged, QRect(1500, 100, 1400, 600), QRect(1920, 0, 1366, 728), kRight,
         QRect(1500, 100, 1400, 600)},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        const QRect placed = FitSteps::Placement(row.cause, row.outer, kFrame, row.area, row.areaBefore);
        EXPECT_EQ(Text(placed), Text(row.expected));
        // A window brought within the area lies wholly on it, frame included.
        if (placed != row.outer)
        {
            EXPECT_TRUE(row.area.contains(placed)) << Text(placed) << " on " << Text(row.area);
        }
    }
}

// A window manager's steps as a window leaves the maximised state on a screen lowered to 1280 x 720,
// in the orders they can reach the window: whichever order, the window that the manager restores
// to a size the screen cannot hold with its frame ends within the screen, frame and all, and is
// shrunk only as far as it must be. A window the user puts past an edge stays there.
TEST(FitSteps, ARestoredWindowEndsWithinTheScreenInEveryOrderTheManagersStepsArriveIn)
{
    const QRect screen(0, 0, 1280, 720);
    // Maximised, the manager keeps the title bar and drops the borders.
    const QMargins maximisedFrame(0, 24, 0, 0);
    const QMargins normalFrame(1, 24, 1, 1);
    const QRect maximised(0, 24, 1280, 696);
    // The size the manager restores a window first shown maximised to: the screen's, frame aside.
    const QRect restored(1, 24, 1280, 720);
    // What the manager does at a step: a new geometry, a new frame, either or neither.
    struct Seen
    {
        Step step;
        std::optional<QRect> geometry;
        std::optional<QMargins> frame;
        std::optional<bool> maximisedNow;
    };
    struct Row
    {
        const char* what;
        std::vector<Seen> steps;
        QRect expected; // the geometry without its frame at the end
    };
    const QRect fitted(1, 24, 1278, 695);
    const Row rows[] = {
        {"framed and resized before the state changes",
         {{Step::FrameMayHaveChanged, std::nullopt, normalFrame, std::nullopt},
          {Step::MovedOrResized, restored, std::nullopt, std::nullopt},
          {Step::Restored, std::nullopt, std::nullopt, false}},
         fitted},
        {"restored before framed: the new frame comes with a move",
         {{Step::Restored, restored, std::nullopt, false},
          {Step::MovedOrResized, std::nullopt, normalFrame, std::nullopt}},
         fitted},
        {"restored before framed: the new frame comes with no move or resize",
         {{Step::Restored, restored, std::nullopt, false},
          {Step::FrameMayHaveChanged, std::nullopt, normalFrame, std::nullopt}},
         fitted},
        {"restored at the maximised size, resized, then framed with no move or resize",
         {{Step::Restored, std::nullopt, std::nullopt, false},
          {Step::MovedOrResized, restored, std::nullopt, std::nullopt},
          {Step::FrameMayHaveChanged, std::nullopt, normalFrame, std::nullopt}},
         fitted},
        {"a window put past the right edge by the user, then a property change: stays",
         {{Step::Restored, QRect(600, 124, 900, 500), normalFrame, false},
          {Step::MovedOrResized, QRect(801, 124, 900, 500), std::nullopt, std::nullopt},
          {Step::FrameMayHaveChanged, std::nullopt, std::nullopt, std::nullopt}},
         QRect(801, 124, 900, 500)},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        FitSteps steps({1366, 768});
        FitSteps::Window window{maximised, maximisedFrame, screen, false};
        // First shown maximised and framed so.
        steps.Take(Step::Shown, window);
        for (const Seen& seen : row.steps)
        {
            window.geometry = seen.geometry.value_or(window.geometry);
            window.frame = seen.frame.value_or(window.frame);
            if (seen.maximisedNow)
                window.placeable = !*seen.maximisedNow;
            const FitSteps::Outcome outcome = steps.Take(seen.step, window);
            // The window manager grants what the window asks for.
            if (outcome.geometry)
                window.geometry = *outcome.geometry;
            EXPECT_LE(outcome.minimum.width(), screen.width() - window.frame.left() - window.frame.right());
            EXPECT_LE(outcome.minimum.height(), screen.height() - window.frame.top() - window.frame.bottom());
        }
        EXPECT_EQ(Text(window.geometry), Text(row.expected));
    }
}
} // namespace zorvpro::test
