// Where the main window goes when it is shown, framed, restored, put on another screen or its
// screen's available area changes: only a first placement, an area that held the frame and no
// longer does, and a restore the area cannot hold after a first start or a lower resolution move or
// size it.
#include "views/Shell/FitSteps.h"

#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

namespace zorvpro::test
{
namespace
{
using Cause = FitSteps::Cause;

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

namespace
{
// openbox's frames, as it sets them on the window, and its screen before and after a lower
// resolution.
const QMargins kNormalFrame(1, 20, 1, 5);
const QMargins kMaximisedFrame(0, 19, 0, 0);
const QRect kScreen(0, 0, 1920, 1080);
const QRect kLowered(0, 0, 1280, 720);

// A look at the shown window.
struct Look
{
    QRect geometry;
    QMargins frame;
    QRect area;
    bool maximised;     // as the manager reports it
    bool asked = false; // the program asked for another state, not yet reported
};

QRect MaximisedOn(const QRect& area)
{
    return area.marginsRemoved(kMaximisedFrame);
}

// What the manager changes as it gives a maximised window back. Qt may report each on its own or
// several in one look.
enum Change : unsigned
{
    State = 1,
    Frame = 2,
    Position = 4,
    Size = 8,
};

// Every order in which these changes can reach the window, those that arrive together in one block.
std::vector<std::vector<unsigned>> Orders(unsigned left)
{
    if (left == 0)
        return {{}};
    std::vector<std::vector<unsigned>> orders;
    for (unsigned first = left; first != 0; first = (first - 1) & left)
        for (std::vector<unsigned> rest : Orders(left & ~first))
        {
            rest.insert(rest.begin(), first);
            orders.push_back(std::move(rest));
        }
    return orders;
}

std::string Text(const std::vector<unsigned>& order)
{
    std::string text;
    for (unsigned block : order)
    {
        text += text.empty() ? "" : ", then ";
        std::string names;
        for (const auto& [change, name] : {std::pair{State, "state"}, std::pair{Frame, "frame"},
                                           std::pair{Position, "position"}, std::pair{Size, "size"}})
            if (block & change)
                names += (names.empty() ? "" : "+") + std::string(name);
        text += names;
    }
    return text;
}

// Plays looks through the decisions as a window manager does. A manager handles a request of the
// window's only after the steps of its own that are under way: a request made on a half-restored
// window lands last, and overrides the manager's restore.
class Manager
{
public:
    // One look after the manager changed the window to `look`; every request handled after it.
    void Settle(const Look& look)
    {
        See(look);
        Handle();
    }

    void See(const Look& look)
    {
        look_ = look;
        const FitSteps::Outcome outcome =
            steps_.Take({look_.geometry, look_.frame, look_.area, true, look_.maximised, look_.asked});
        EXPECT_LE(outcome.minimum.width() + look_.frame.left() + look_.frame.right(), look_.area.width());
        EXPECT_LE(outcome.minimum.height() + look_.frame.top() + look_.frame.bottom(), look_.area.height());
        minimum_ = outcome.minimum;
        if (!outcome.geometry)
            return;
        // A request would cross the manager's answer to the program's own.
        EXPECT_FALSE(look_.asked) << "asked for " << Text(*outcome.geometry)
                                  << " while the manager had a state to give";
        asks_ += 1;
        asked_ = outcome.geometry;
    }

    void Handle()
    {
        for (int round = 0; asked_ && round < 4; ++round)
        {
            Look granted = look_;
            granted.geometry = *std::exchange(asked_, std::nullopt);
            See(granted);
        }
    }

    const Look& Now() const { return look_; }
    int Asks() const { return asks_; }
    // A manager gives a window back no smaller than the minimum it last asked for.
    QSize Minimum() const { return minimum_; }

private:
    FitSteps steps_{{1366, 768}};
    Look look_;
    std::optional<QRect> asked_;
    int asks_ = 0;
    QSize minimum_;
};

// Shown maximised with no placement saved: first shown as a normal window, its maximised state
// asked for before the manager framed it as a normal window at `framed`, then maximised by the
// manager at `maximisedSize`, its maximised frame reported after its maximised geometry.
std::vector<Look> FirstStart(const QRect& area, const QRect& framed, const QSize& maximisedSize)
{
    const QRect maximised(MaximisedOn(area).topLeft(), maximisedSize);
    const QRect shown(QPoint(0, 0), QSize(1366, 768).boundedTo(area.size()));
    return {{QRect(0, 0, 1366, 768), QMargins(), area, false},
            {shown, QMargins(), area, false, true},
            {framed, kNormalFrame, area, false, true},
            {maximised, kNormalFrame, area, true},
            {maximised, kMaximisedFrame, area, true}};
}

std::vector<Look> FirstStart(const QRect& area, const QRect& framed)
{
    return FirstStart(area, framed, MaximisedOn(area).size());
}

// The same where the manager framed the normal window before the program asked for the maximised
// state, and kept the size from before the window was placed within the area as the normal one.
std::vector<Look> FirstStartFramedBeforeMaximised(const QRect& area, const QRect& fitted)
{
    return {{QRect(0, 0, 1366, 768), QMargins(), area, false},
            {QRect(1, 20, 1280, 720), kNormalFrame, area, false},
            {fitted, kNormalFrame, area, false, true},
            {MaximisedOn(area), kNormalFrame, area, true},
            {MaximisedOn(area), kMaximisedFrame, area, true}};
}

// A first start un-maximised on a lower resolution and fitted within, then maximised again.
std::vector<Look> FirstStartRestoredThenMaximised(const QRect& area, const QRect& fitted)
{
    std::vector<Look> looks = FirstStart(area, QRect(1, 20, 1280, 720));
    looks.push_back({QRect(1, 20, 1280, 720), kNormalFrame, area, false});
    looks.push_back({fitted, kNormalFrame, area, true});
    looks.push_back({MaximisedOn(area), kMaximisedFrame, area, true});
    return looks;
}

// Shown as a normal window, framed, put at `at` by the user, then maximised.
std::vector<Look> UsersWindow(const QRect& at)
{
    const QRect shown(200, 100, 1366, 768);
    return {{shown, QMargins(), kScreen, false},
            {shown, kNormalFrame, kScreen, false},
            {at, kNormalFrame, kScreen, false},
            {at, kNormalFrame, kScreen, true},
            {MaximisedOn(kScreen), kNormalFrame, kScreen, true},
            {MaximisedOn(kScreen), kMaximisedFrame, kScreen, true}};
}

// Then the resolution lowered while it is maximised: the manager fits the maximised window anew.
std::vector<Look> LoweredWhileMaximised(std::vector<Look> looks)
{
    looks.push_back({MaximisedOn(kScreen), kMaximisedFrame, kLowered, true});
    looks.push_back({MaximisedOn(kLowered), kMaximisedFrame, kLowered, true});
    return looks;
}
} // namespace

// The manager gives a maximised window back its last normal frame as it leaves that state; the
// window keeps it, wherever it lies, unless the area no longer holds it after a first start or a
// resolution lowered while it was maximised. Qt reports the manager's steps in any order, and a
// manager may move the window before it sizes it: whichever order they arrive in, the window ends
// at the same frame. The manager handles what the window asks for after its own steps.
TEST(FitSteps, LeavingTheMaximisedStateEndsAtTheSameFrameInEveryOrderTheManagersStepsArriveIn)
{
    struct Row
    {
        const char* what;
        std::vector<Look> before;
        QRect given;    // the manager's restored geometry, without its frame
        QRect expected; // the geometry at the end
    };
    const QRect users(200, 100, 1366, 768);
    const QRect pastTheEdge(1000, 100, 1366, 768);
    const QRect fitted(1, 20, 1278, 695); // exactly within 1280 x 720 with openbox's frame
    const Row rows[] = {
        {"the user's window: back where the user left it", UsersWindow(users), users, users},
        {"the user's window partly past the right edge: back there", UsersWindow(pastTheEdge), pastTheEdge,
         pastTheEdge},
        {"a first start: the manager's normal size where it puts it",
         FirstStart(kScreen, QRect(277, 163, 1366, 768)), QRect(277, 163, 1366, 768),
         QRect(277, 163, 1366, 768)},
        {"a first start on a lower resolution: within the screen",
         FirstStart(kLowered, QRect(1, 20, 1280, 720)), QRect(1, 20, 1280, 720), fitted},
        {"a first start on a lower resolution, maximised at the minimum the screen's size gave it: "
         "within the screen",
         FirstStart(kLowered, QRect(1, 20, 1280, 720), kLowered.size()), QRect(1, 20, 1280, 720), fitted},
        {"a first start on a lower resolution, framed before it was maximised: within the screen",
         FirstStartFramedBeforeMaximised(kLowered, fitted), QRect(1, 20, 1280, 720), fitted},
        {"a first start on a lower resolution fitted within, maximised and restored: within the screen",
         FirstStartRestoredThenMaximised(kLowered, fitted), fitted, fitted},
        {"a resolution lowered while maximised: within the screen",
         LoweredWhileMaximised(UsersWindow({520, 250, 1366, 768})), QRect(520, 250, 1366, 768), fitted},
        {"a resolution lowered while maximised, the window was partly past the edge: back there",
         LoweredWhileMaximised(UsersWindow(pastTheEdge)), pastTheEdge, pastTheEdge},
    };
    const std::vector<std::vector<unsigned>> orders = Orders(State | Frame | Position | Size);
    ASSERT_EQ(orders.size(), 75u);
    for (const Row& row : rows)
        for (const std::vector<unsigned>& order : orders)
        {
            SCOPED_TRACE(std::string(row.what) + "; " + Text(order));
            Manager manager;
            for (const Look& look : row.before)
                manager.Settle(look);
            ASSERT_TRUE(manager.Now().maximised);
            const int asksBefore = manager.Asks();
            // The client lies within the frame: a new frame moves it while the frame stays where
            // it is, until the manager moves the frame, and Qt reports where the client is.
            const QRect maximised = manager.Now().geometry;
            QPoint framePosition =
                maximised.topLeft() - QPoint(kMaximisedFrame.left(), kMaximisedFrame.top());
            const QPoint givenFramePosition =
                row.given.topLeft() - QPoint(kNormalFrame.left(), kNormalFrame.top());
            for (const unsigned block : order)
            {
                Look look = manager.Now();
                look.maximised = look.maximised && !(block & State);
                look.frame = (block & Frame) ? kNormalFrame : look.frame;
                framePosition = (block & Position) ? givenFramePosition : framePosition;
                // A manager configures only what it changes.
                const QSize givenSize = row.given.size().expandedTo(manager.Minimum());
                if ((block & Size) && givenSize != maximised.size())
                    look.geometry.setSize(givenSize);
                if (block & (Frame | Position))
                    look.geometry.moveTopLeft(framePosition + QPoint(look.frame.left(), look.frame.top()));
                manager.See(look);
            }
            manager.Handle();
            EXPECT_EQ(Text(manager.Now().geometry), Text(row.expected));
            // Nothing is asked while the manager's steps are still arriving but what the end needs:
            // at most one request, and none where the manager's frame is kept.
            EXPECT_LE(manager.Asks() - asksBefore, row.given == row.expected ? 0 : 1);
            // A later look (a property notice, a repaint's move) leaves it there.
            manager.Settle(manager.Now());
            EXPECT_EQ(Text(manager.Now().geometry), Text(row.expected));
        }
}
} // namespace zorvpro::test
