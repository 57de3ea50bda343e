#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

namespace zorvpro
{
// Where a top-level window goes as the window manager and the screen take their steps: the
// decisions of ScreenFit free of Qt's events, so that any order in which those steps arrive can be
// played through them.
//
// The window manager places the window. The program only brings within the available area a window
// whose frame that area does not hold, moved the least and shrunk only as needed, and only:
// - when it is first framed as a normal window, before the user has placed it (a first start);
// - after the area changed (a lower resolution, a panel added), where the area before held it;
//   also when the window is given back from the maximised or full-screen state into a changed area.
// A maximised or full-screen window is never placed. Nothing else moves it: a move, a resize, a
// screen change, a restore to where the user left it, partly past an edge or not. Where a look does
// not tell which of these happened, nothing is done.
class FitSteps
{
public:
    // Why a window may be placed.
    enum class Cause
    {
        FirstFramed, // framed as a normal window for the first time
        AreaChanged,
        Other,
    };

    // The window as it stands when it is looked at.
    struct Window
    {
        QRect geometry; // without its frame
        QMargins frame; // as last reported; none before the window manager has framed it
        QRect area;     // the available area of its screen
        bool shown;
        bool zoomed; // maximised or full screen, as the window manager last reported it
        // The program asked for another state than the one the manager last reported, and the
        // manager has not yet answered: its steps are still to come.
        bool asked;
        long long ms; // when the look was taken, on a clock that only goes forward
    };

    struct Outcome
    {
        QSize minimum;
        std::optional<QRect> geometry; // the geometry, without its frame, to give the window
        // Look again this much later if nothing changes before: the window is not yet steady.
        std::optional<long long> lookAgainMs;
    };

    // How long the window must stay unchanged before anything is decided on it: the manager's
    // steps for one request (state, frame, position, size) reach the program one by one, and a
    // look between them shows half of them.
    static constexpr long long kSteadyMs = 200;
    // How long a state the program asked for is waited for: with no window manager, nothing answers.
    static constexpr long long kAnswerMs = 3000;
    // How long after leaving the maximised or full-screen state the window may still be given back:
    // a manager that gives it back exactly as it was zoomed shows no change to wait for.
    static constexpr long long kGiveBackMs = 3000;

    explicit FitSteps(const QSize& wanted) : wanted_(wanted) {}

    // The place of a window not yet shown: the wanted size within the area, centred on it. The
    // manager gives the window back there when it is shown maximised.
    static QRect NormalPlace(const QSize& wanted, const QRect& area);

    // Looks at the window once more: the minimum for its screen and frame, and where to put it, if
    // anywhere. Only a look at a window unchanged for kSteadyMs places it.
    Outcome Take(const Window& window);

    // The minimum a window whose frame has these margins can keep within the available area.
    static QSize FittedMinimum(const QSize& wanted, const QRect& available, const QMargins& frame);

    // The frame geometry a window at `outer` takes after the cause: brought within `area`, no
    // larger than it and moved the least, when first framed, or when the area changed from
    // `areaBefore`, which held the frame; else `outer` as it is. A window dragged towards another
    // screen or spread over two is never pulled onto one because the area changed.
    static QRect Placement(Cause cause, const QRect& outer, const QMargins& frame, const QRect& area,
                           const QRect& areaBefore);

private:
    // The window as last seen steady while it was maximised or full screen: the geometry the
    // manager gave it, as the server showed it.
    struct Zoomed
    {
        QRect geometry;
        QMargins frame;
    };

    // The look that decisions wait on until it has stayed unchanged.
    struct Seen
    {
        QRect geometry;
        QMargins frame;
        QRect area;
        bool zoomed;
        long long since;
        bool Shows(const Window& w) const
        {
            return geometry == w.geometry && frame == w.frame && area == w.area && zoomed == w.zoomed;
        }
    };

    Outcome TakeSteady(const Window& window, Outcome outcome);
    Outcome Decide(const Window& window, Cause cause, Outcome outcome);

    QSize wanted_;
    std::optional<Seen> seen_;
    bool framed_ = false; // seen framed as a normal window, or left to the user since
    // Zoomed at the last steady look while set and leftZoomedAt_ is not; kept until given back.
    std::optional<Zoomed> held_;
    std::optional<long long> leftZoomedAt_; // left that state, not yet given back
    std::optional<long long> askedSince_;
    QRect areaNormal_;     // at the last steady look of the window as a normal window
    QMargins normalFrame_; // the thickest frame seen on the normal window
};
} // namespace zorvpro
