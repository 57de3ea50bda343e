// Where the main window goes as the window manager and the screen take their steps: the manager
// places it; the program brings within the available area only a window the area does not hold,
// when it is first framed or after the area changed, and never while it is maximised or full screen.
#include "views/Shell/FitSteps.h"

#include <algorithm>
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

TEST(FitSteps, OnlyAFirstFramingOrAnAreaThatNoLongerHoldsTheFrameMovesOrSizesTheWindow)
{
    struct Row
    {
        const char* what;
        Cause cause;
        QRect outer, area, areaBefore, expected;
    };
    const Row rows[] = {
        {"first framed larger than a small screen's area: fitted into it", Cause::FirstFramed,
         QRect(100, 50, 1368, 798), QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720)},
        {"first framed within the area: left alone", Cause::FirstFramed, QRect(100, 100, 800, 600), kLeft,
         kLeft, QRect(100, 100, 800, 600)},
        {"first framed over the right edge: moved in, its size kept", Cause::FirstFramed,
         QRect(1500, 100, 600, 400), kLeft, kLeft, QRect(1320, 100, 600, 400)},
        {"dragged towards the smaller screen: left under the pointer", Cause::Other,
         QRect(1500, 100, 1400, 800), kRight, kLeft, QRect(1500, 100, 1400, 800)},
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
    // Before its first show: the wanted size within the area, centred on it.
    const std::pair<QRect, QRect> places[] = {
        {kLeft, QRect(277, 156, 1366, 768)},
        {QRect(0, 30, 1920, 1050), QRect(277, 171, 1366, 768)},
        {QRect(1920, 0, 1920, 1080), QRect(2197, 156, 1366, 768)},
        {QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720)},
        {QRect(0, 0, 1366, 700), QRect(0, 0, 1366, 700)},
    };
    for (const auto& [area, expected] : places)
        EXPECT_EQ(Text(FitSteps::NormalPlace({1366, 768}, area)), Text(expected)) << "on " << Text(area);
}

namespace
{
// openbox's frames, as it sets them on the window; a full-screen window has none.
const QMargins kNormalFrame(1, 20, 1, 5);
const QMargins kMaximisedFrame(0, 19, 0, 0);

// A desktop as the window sees it: Qt's available area, and the area the manager maximises in. On
// a desktop of several monitors, Qt reports a monitor's whole rectangle as its available area.
struct Desktop
{
    QRect screen;
    QRect area; // Qt's
    QRect work; // the manager's
};
const Desktop kBare{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}};
const Desktop kPanel{{0, 0, 1920, 1080}, {0, 30, 1920, 1050}, {0, 30, 1920, 1050}};
const Desktop kLowered{{0, 0, 1280, 720}, {0, 0, 1280, 720}, {0, 0, 1280, 720}};
const Desktop kLoweredPanel{{0, 0, 1280, 720}, {0, 30, 1280, 690}, {0, 30, 1280, 690}};
const Desktop kFirstMonitor{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {0, 30, 1920, 1050}};
const Desktop kSecondMonitor{{1920, 0, 1920, 1080}, {1920, 0, 1920, 1080}, {1920, 0, 1920, 1080}};

// A look at the shown window.
struct Look
{
    QRect geometry;
    QMargins frame;
    QRect area;
    bool zoomed;        // as the manager reports it
    bool asked = false; // the program asked for another state, not yet reported
};

// What the manager changes as it takes a window into or out of the maximised or full-screen state.
// Qt may report each on its own or several in one look.
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

// Plays looks through the decisions as a window manager does, 10 ms apart unless the program waits
// for the window to stay unchanged. A manager handles a request of the window's only after the
// steps of its own that are under way: a request made on a half-finished step lands last, and
// overrides the manager's.
class Manager
{
public:
    // One look after the manager changed the window to `look`, then every request handled and every
    // later look the program waits for taken, as time passes with no other change.
    void Settle(const Look& look)
    {
        See(look);
        Rest();
    }

    void See(const Look& look, long long after = 10)
    {
        look_ = look;
        ms_ += after;
        const FitSteps::Outcome outcome =
            steps_.Take({look_.geometry, look_.frame, look_.area, true, look_.zoomed, look_.asked, ms_});
        if (!look_.frame.isNull())
        {
            EXPECT_LE(outcome.minimum.width() + look_.frame.left() + look_.frame.right(), look_.area.width());
            EXPECT_LE(outcome.minimum.height() + look_.frame.top() + look_.frame.bottom(),
                      look_.area.height());
        }
        minimum_ = outcome.minimum;
        lookAgain_ = outcome.lookAgainMs;
        if (!outcome.geometry)
            return;
        // A request would cross the manager's answer to the program's own, or its zoomed window.
        EXPECT_FALSE(look_.asked && answers_)
            << "asked for " << Text(*outcome.geometry) << " while the manager had a state to give";
        EXPECT_FALSE(look_.zoomed) << "asked for " << Text(*outcome.geometry) << " while zoomed";
        asks_ += 1;
        asked_ = outcome.geometry;
    }

    // The manager gives the window the geometry it asked for.
    void Grant()
    {
        Look granted = look_;
        granted.geometry = *std::exchange(asked_, std::nullopt);
        See(granted);
    }

    // Time passes: the manager grants what was asked, and the program looks again when it said it
    // would. A state the program asked for is answered before the program stops waiting for it.
    void Rest()
    {
        for (int round = 0; round < 8; ++round)
        {
            if (asked_)
                Grant();
            else if (lookAgain_ && (!look_.asked || !answers_))
                See(look_, *lookAgain_);
            else
                return;
        }
        ADD_FAILURE() << "the window never came to rest at " << Text(look_.geometry);
    }

    // `ms` pass with no step of the manager's: the program takes the looks it waits for meanwhile.
    void Pass(long long ms)
    {
        const long long until = ms_ + ms;
        for (int round = 0; round < 16 && (asked_ || (lookAgain_ && ms_ + *lookAgain_ <= until)); ++round)
        {
            if (asked_)
                Grant();
            else
                See(look_, *lookAgain_);
        }
        ms_ = std::max(ms_, until);
    }

    // The manager's steps from the window as it is now to `to`, in `order`. The client lies within
    // the frame: a new frame moves it while the frame stays where it is, until the manager moves
    // the frame.
    void Step(const Look& to, const std::vector<unsigned>& order, long long pauseAfterFirst = 0)
    {
        const Look from = look_;
        QPoint framePosition = from.geometry.topLeft() - QPoint(from.frame.left(), from.frame.top());
        const QPoint toFramePosition = to.geometry.topLeft() - QPoint(to.frame.left(), to.frame.top());
        for (const unsigned block : order)
        {
            Look look = look_;
            look.area = to.area;
            look.zoomed = (block & State) ? to.zoomed : look.zoomed;
            look.asked = (block & State) ? false : look.asked;
            look.frame = (block & Frame) ? to.frame : look.frame;
            framePosition = (block & Position) ? toFramePosition : framePosition;
            // A manager configures only what it changes.
            if (block & Size)
                look.geometry.setSize(to.geometry.size());
            look.geometry.moveTopLeft(framePosition + QPoint(look.frame.left(), look.frame.top()));
            See(look);
            if (block == order.front())
                Pass(pauseAfterFirst);
        }
        Rest();
    }

    // A desktop with no window manager: nothing answers a state the program asks for.
    void Unmanaged() { answers_ = false; }

    const Look& Now() const { return look_; }
    int Asks() const { return asks_; }
    // A manager gives a window back no smaller than the minimum it last asked for.
    QSize Minimum() const { return minimum_; }

private:
    FitSteps steps_{{1366, 768}};
    Look look_;
    std::optional<QRect> asked_;
    std::optional<long long> lookAgain_;
    int asks_ = 0;
    QSize minimum_;
    long long ms_ = 0;
    bool answers_ = true;
};

// How the window came to be a framed normal window before it was zoomed.
enum class Start
{
    User,          // shown, then put at `at` by the user
    FirstStart,    // shown at its normal place, the maximised state asked for at once; framed at `at`
    ProgramPlaced, // shown and framed, then moved to `at` and maximised by the program in one go
};

struct Row
{
    const char* what;
    Desktop desktop;
    Start start;
    QRect at;
    bool fullScreen;
    QMargins zoomedFrame;            // the frame the manager gives the zoomed window
    std::optional<QSize> zoomedSize; // where the manager kept it larger than its area
    std::optional<Desktop> lowered;  // the desktop changed while zoomed
    QRect given;                     // the manager's normal geometry as it gives the window back
    QRect expected;                  // the geometry at the end
};

QRect Zoomed(const Row& row, const Desktop& desktop)
{
    if (row.fullScreen)
        return desktop.screen;
    return desktop.work.marginsRemoved(row.zoomedFrame);
}

// The window shown and framed as a normal window, as the row's start has it.
void StartWindow(Manager& manager, const Row& row)
{
    const QRect area = row.desktop.area;
    const QRect place = FitSteps::NormalPlace({1366, 768}, area);
    switch (row.start)
    {
    case Start::User:
        manager.Settle({place, QMargins(), area, false});
        manager.Settle({place, kNormalFrame, area, false});
        manager.Settle({row.at, kNormalFrame, area, false});
        break;
    case Start::FirstStart:
        manager.Settle({place, QMargins(), area, false, true});
        manager.Settle({row.at, kNormalFrame, area, false, true});
        break;
    case Start::ProgramPlaced:
        manager.Settle({place, QMargins(), area, false});
        manager.Settle({place, kNormalFrame, area, false});
        manager.Settle({row.at, kNormalFrame, area, false, true});
        break;
    }
}

std::vector<Row> Rows()
{
    const QRect users(200, 100, 1366, 768);
    const QRect pastTheEdge(1000, 100, 1366, 768);
    const QRect fitted(1, 20, 1278, 695);           // exactly within 1280 x 720 with openbox's frame
    const QRect fittedUnderPanel(1, 50, 1278, 665); // within 1280 x 690 below a panel
    const QRect firstStart(277, 163, 1366, 768);    // where openbox frames the window centred
    const QRect secondMonitor(2200, 100, 1366, 768);
    const QRect exactly(1, 50, 1918, 1025); // fills the area below the panel, frame and all
    const QRect programs(300, 150, 1366, 768);
    const QRect underPanel(277, 171, 1366, 768);
    const QRect lowered(1, 20, 1280, 720); // the size shown at, framed by the manager
    const QRect at(520, 250, 1366, 768);
    // clang-format off
    return {
        {"the user's window: back where the user left it",
         kBare, Start::User, users, false, kMaximisedFrame, {}, {}, users, users},
        {"the user's window partly past the right edge: back there",
         kBare, Start::User, pastTheEdge, false, kMaximisedFrame, {}, {}, pastTheEdge, pastTheEdge},
        {"full screen under a panel: back where the user left it",
         kPanel, Start::User, users, true, QMargins(), {}, {}, users, users},
        {"full screen partly past the edge: back there",
         kPanel, Start::User, pastTheEdge, true, QMargins(), {}, {}, pastTheEdge, pastTheEdge},
        {"two monitors, maximised within the panel Qt does not see: back where the user left it",
         kFirstMonitor, Start::User, users, false, kMaximisedFrame, {}, {}, users, users},
        {"two monitors, full screen over the panel: back where the user left it",
         kFirstMonitor, Start::User, users, true, QMargins(), {}, {}, users, users},
        {"the second monitor: back where the user left it",
         kSecondMonitor, Start::User, secondMonitor, false, kMaximisedFrame, {}, {}, secondMonitor, secondMonitor},
        {"a manager that frames a maximised window as a normal one: back where the user left it",
         kPanel, Start::User, users, false, kNormalFrame, {}, {}, users, users},
        {"a manager that frames a maximised window as a normal one, the window exactly filling the area: left",
         kPanel, Start::User, exactly, false, kNormalFrame, {}, {}, exactly, exactly},
        {"moved and maximised by the program in one go: back where the program put it",
         kBare, Start::ProgramPlaced, programs, false, kMaximisedFrame, {}, {}, programs, programs},
        {"a first start: the manager's normal size where it puts it",
         kBare, Start::FirstStart, firstStart, false, kMaximisedFrame, {}, {}, firstStart, firstStart},
        {"a first start under a panel on one of two monitors: where the manager puts it",
         kFirstMonitor, Start::FirstStart, underPanel, false, kMaximisedFrame, {}, {}, underPanel, underPanel},
        {"a first start on a lower resolution: within the screen",
         kLowered, Start::FirstStart, lowered, false, kMaximisedFrame, {}, {}, lowered, fitted},
        {"a first start on a lower resolution, maximised at the minimum the screen's size gave it: within",
         kLowered, Start::FirstStart, lowered, false, kMaximisedFrame, QSize(1280, 720), {}, lowered, fitted},
        {"a window fitted within a lower resolution, maximised and restored: given back as it was",
         kLowered, Start::User, fitted, false, kMaximisedFrame, {}, {}, fitted, fitted},
        {"maximised, the resolution lowered: within the screen",
         kBare, Start::User, at, false, kMaximisedFrame, {}, kLowered, at, fitted},
        {"full screen, the resolution lowered: within the area below the panel",
         kPanel, Start::User, at, true, QMargins(), {}, kLoweredPanel, at, fittedUnderPanel},
        {"maximised under a panel, the resolution lowered: within the area below the panel",
         kPanel, Start::User, at, false, kMaximisedFrame, {}, kLoweredPanel, at, fittedUnderPanel},
        {"maximised partly past the edge, the resolution lowered: back there",
         kBare, Start::User, pastTheEdge, false, kMaximisedFrame, {}, kLowered, pastTheEdge, pastTheEdge},
    };
    // clang-format on
}
} // namespace

// The manager gives a zoomed window back its last normal frame as it leaves that state; the window
// keeps it, wherever it lies, unless the area does not hold it after a first start or an area
// changed while it was zoomed. Qt reports the manager's steps into and out of that state in any
// order; whichever order they arrive in, the window ends at the same frame, and nothing is asked
// for it while the manager's steps are still arriving but what the end needs.
TEST(FitSteps, EnteringAndLeavingTheZoomedStateEndsAtTheSameFrameInEveryOrderTheManagersStepsArriveIn)
{
    const std::vector<std::vector<unsigned>> orders = Orders(State | Frame | Position | Size);
    ASSERT_EQ(orders.size(), 75u);
    // A manager slow to follow its state with its geometry: the program sees the window steady in
    // the normal state with the zoomed geometry.
    std::vector<std::pair<std::vector<unsigned>, long long>> leaves;
    for (const std::vector<unsigned>& leave : orders)
        leaves.emplace_back(leave, 0);
    leaves.emplace_back(std::vector<unsigned>{State, Frame | Position | Size}, 1000);
    for (const Row& row : Rows())
        for (const std::vector<unsigned>& enter : orders)
            for (const auto& [leave, pause] : leaves)
            {
                SCOPED_TRACE(std::string(row.what) + "; in: " + Text(enter) + "; out: " + Text(leave) +
                             (pause > 0 ? ", the state " + std::to_string(pause) + " ms ahead" : ""));
                Manager manager;
                StartWindow(manager, row);
                const int asksBefore = manager.Asks();
                QRect zoomed = Zoomed(row, row.desktop);
                if (row.zoomedSize)
                    zoomed.setSize(*row.zoomedSize);
                manager.Step({zoomed, row.zoomedFrame, row.desktop.area, true}, enter);
                ASSERT_TRUE(manager.Now().zoomed);
                if (row.lowered)
                {
                    manager.Settle({manager.Now().geometry, row.zoomedFrame, row.lowered->area, true});
                    manager.Settle({Zoomed(row, *row.lowered), row.zoomedFrame, row.lowered->area, true});
                }
                const QSize givenSize = row.given.size().expandedTo(manager.Minimum());
                manager.Step({QRect(row.given.topLeft(), givenSize), kNormalFrame, manager.Now().area, false},
                             leave, pause);
                EXPECT_EQ(Text(manager.Now().geometry), Text(row.expected));
                EXPECT_LE(manager.Asks() - asksBefore, row.given == row.expected ? 0 : 1);
                // A later look (a property notice, a repaint's move) leaves it there.
                manager.Settle(manager.Now());
                EXPECT_EQ(Text(manager.Now().geometry), Text(row.expected));
                if (::testing::Test::HasFailure())
                    return;
            }
}

// Looks that are no round trip through the zoomed state: what the user and the screen do to a
// normal window, a desktop with no window manager, and a manager that changes nothing as it gives a
// zoomed window back. Only a changed area or a first framing moves the window, and never one the
// user put past an edge.
TEST(FitSteps, OnlyAChangedAreaOrAFirstFramingMovesANormalWindow)
{
    struct Step
    {
        Look look;
        long long after; // ms since the step before
    };
    struct Sequence
    {
        const char* what;
        bool managed;
        std::vector<Step> steps;
        QRect expected;
        int asks;
    };
    const QRect at(520, 250, 1366, 768);
    const QRect pastTheEdge(1000, 100, 1366, 768);
    const QRect exactly(1, 50, 1918, 1025);
    const QRect shown = FitSteps::NormalPlace({1366, 768}, kBare.area);
    const QRect lowered1700(0, 0, 1700, 900);
    const Sequence sequences[] = {
        {"a lower resolution that holds the frame's size: moved the least",
         true,
         {{{at, kNormalFrame, kBare.area, false}, 10}, {{at, kNormalFrame, lowered1700, false}, 5000}},
         QRect(333, 127, 1366, 768),
         1},
        {"a lower resolution before the window came to rest where it was put: moved the least",
         true,
         {{{at, kNormalFrame, kBare.area, false}, 10}, {{at, kNormalFrame, lowered1700, false}, 20}},
         QRect(333, 127, 1366, 768),
         1},
        {"a panel added over a window partly past the edge: left there",
         true,
         {{{pastTheEdge, kNormalFrame, kBare.area, false}, 10},
          {{pastTheEdge, kNormalFrame, kPanel.area, false}, 5000}},
         pastTheEdge,
         0},
        {"moved partly past the edge by the user, then looked at again: left there",
         true,
         {{{at, kNormalFrame, kBare.area, false}, 10},
          {{pastTheEdge, kNormalFrame, kBare.area, false}, 5000},
          {{pastTheEdge, kNormalFrame, kBare.area, false}, 5000}},
         pastTheEdge,
         0},
        {"no window manager, the maximised state asked for and never answered, then a lower "
         "resolution: fitted",
         false,
         {{{shown, QMargins(), kBare.area, false, true}, 10},
          {{shown, QMargins(), kLowered.area, false, true}, 5000}},
         QRect(0, 0, 1280, 720),
         1},
        {"no window manager, a lower resolution before the unanswered state is given up on: fitted",
         false,
         {{{shown, QMargins(), kBare.area, false, true}, 10},
          {{shown, QMargins(), kLowered.area, false, true}, 100}},
         QRect(0, 0, 1280, 720),
         1},
        {"a manager that frames a maximised window as a normal one, exactly filling the area, given "
         "back unchanged; the user moves it partly past the edge at once: left there",
         true,
         {{{exactly, kNormalFrame, kPanel.area, false}, 10},
          {{exactly, kNormalFrame, kPanel.area, true}, 1000},
          {{exactly, kNormalFrame, kPanel.area, false}, 1000},
          {{exactly.translated(-300, 0), kNormalFrame, kPanel.area, false}, 300}},
         exactly.translated(-300, 0),
         0},
        {"a first start the manager frames and maximises exactly filling the area, and gives back "
         "unchanged; the user moves it partly past the edge later: left there",
         true,
         {{{exactly, kNormalFrame, kPanel.area, false, true}, 10},
          {{exactly, kNormalFrame, kPanel.area, true}, 10},
          {{exactly, kNormalFrame, kPanel.area, false}, 1000},
          {{exactly.translated(-300, 0), kNormalFrame, kPanel.area, false}, 5000}},
         exactly.translated(-300, 0),
         0},
        {"a first start on a lower resolution whose maximised state the manager answers late: nothing asked "
         "before, fitted once given back",
         true,
         {{{QRect(1, 20, 1280, 720), kNormalFrame, kLowered.area, false, true}, 10},
          {{QRect(0, 19, 1280, 701), kMaximisedFrame, kLowered.area, true}, 1000},
          {{QRect(1, 20, 1280, 720), kNormalFrame, kLowered.area, false}, 1000}},
         QRect(1, 20, 1278, 695),
         1},
        {"the same, moved later: left there",
         true,
         {{{exactly, kNormalFrame, kPanel.area, false}, 10},
          {{exactly, kNormalFrame, kPanel.area, true}, 1000},
          {{exactly, kNormalFrame, kPanel.area, false}, 1000},
          {{exactly.translated(-300, 0), kNormalFrame, kPanel.area, false}, 5000}},
         exactly.translated(-300, 0),
         0},
    };
    for (const Sequence& sequence : sequences)
    {
        SCOPED_TRACE(sequence.what);
        Manager manager;
        if (!sequence.managed)
            manager.Unmanaged();
        const bool firstStart = sequence.steps.front().look.asked;
        manager.Settle({shown, QMargins(), kBare.area, false, firstStart});
        if (sequence.managed && !firstStart)
            manager.Settle({shown, kNormalFrame, kBare.area, false});
        const int asksBefore = manager.Asks();
        for (const Step& step : sequence.steps)
        {
            manager.Pass(step.after - 10);
            manager.See(step.look);
        }
        manager.Rest();
        EXPECT_EQ(Text(manager.Now().geometry), Text(sequence.expected));
        EXPECT_EQ(manager.Asks() - asksBefore, sequence.asks);
    }
}
} // namespace zorvpro::test
