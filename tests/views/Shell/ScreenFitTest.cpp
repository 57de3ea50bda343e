// Where the main window goes when it is shown, framed, restored, put on another screen or its
// screen's available area changes: only a first placement and an area that held the frame and no
// longer does move or size it.
#include "views/Shell/ScreenFit.h"

#include <gtest/gtest.h>

namespace zorvpro::test
{
namespace
{
using Cause = ScreenFit::Cause;

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

TEST(ScreenFit, OnlyAFirstPlacementOrAnAreaThatNoLongerHoldsTheFrameMovesOrSizesTheWindow)
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
        const QRect placed = ScreenFit::Placement(row.cause, row.outer, kFrame, row.area, row.areaBefore);
        EXPECT_EQ(Text(placed), Text(row.expected));
        // A window brought within the area lies wholly on it, frame included.
        if (placed != row.outer)
        {
            EXPECT_TRUE(row.area.contains(placed)) << Text(placed) << " on " << Text(row.area);
        }
    }
}
} // namespace zorvpro::test
