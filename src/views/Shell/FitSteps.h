#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

namespace zorvpro
{
// Where a top-level window goes as the window manager and the screen take their steps: the
// decisions of ScreenFit free of Qt's events, so that any order in which those steps arrive can be
// played through them. Each look at the window compares it with the look before, so steps that
// arrive together or one by one come to the same end.
// The window keeps a minimum size within what its screen offers: the wanted minimum wherever the
// screen's available area holds it with the window's frame as a normal window, else that area less
// the frame. It is moved or sized only when it is first shown or first framed, when the available
// area held its frame and no longer does, or as it leaves the maximised state when the frame the
// manager gives back lies outside the area and either the window never had a normal place (a first
// start) or its last normal frame lay within the area (the area changed while it was maximised, a
// lower resolution). Anything else, a move, a resize, another screen, a restore to where the user
// left it, partly past an edge or not, leaves it where it is.
class FitSteps
{
public:
    // Why a window may be placed.
    enum class Cause
    {
        FirstShown,
        Framed,   // framed for the first time as a normal window
        Restored, // given back by the manager where the area no longer holds it
        ScreenChanged,
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
        bool maximised; // or full screen, as the window manager last reported it
        // The program asked for another state than the one the manager last reported, and the
        // manager has not yet answered: its steps are still to come.
        bool asked;
    };

    struct Outcome
    {
        QSize minimum;
        std::optional<QRect> geometry; // the geometry, without its frame, to give the window
    };

    explicit FitSteps(const QSize& wanted) : wanted_(wanted) {}

    // Looks at the window once more (`screenChanged`: Qt put it on another screen since the last
    // look): the minimum for its screen and frame, and where to put it, if anywhere.
    Outcome Take(const Window& window, bool screenChanged = false);

    // The minimum a window whose frame has these margins can keep within the available area.
    static QSize FittedMinimum(const QSize& wanted, const QRect& available, const QMargins& frame);

    // The frame geometry a window at `outer` takes after the cause: brought within `area`, no
    // larger than it and moved the least, when first shown, framed or restored, or when the area
    // changed from `areaBefore`, which held the frame; else `outer` as it is. A window dragged
    // towards another screen or spread over two is never pulled onto one because Qt reported a
    // screen change or the area changed.
    static QRect Placement(Cause cause, const QRect& outer, const QMargins& frame, const QRect& area,
                           const QRect& areaBefore);

private:
    // The window as it was last seen maximised: its frame tells the manager's restored geometry
    // from the maximised one Qt may still report while the manager's steps arrive.
    struct Held
    {
        QMargins frame;
        int likeness; // how surely the look was of the maximised window itself (LikenessOf)
    };
    // The last place the window had as a normal, framed window.
    struct Place
    {
        QRect outer;
        QMargins frame;
        QRect area;
    };

    // 2: its frame is the available area; 1: its frame starts at the area's corner and covers it,
    // as a maximised window held larger than the area by its minimum; 0: neither.
    static int LikenessOf(const Window& window);
    void Hold(const Window& window);
    // Whether a window leaving the maximised state now may be brought within the area.
    bool RestoreMayFit() const;
    // Whether the manager has given the window its restored size and frame: both differ from the
    // maximised ones (the frame need not, where the manager frames a maximised window as a normal
    // one).
    bool GivenBack(const Window& window) const;
    Cause CauseOf(const Window& window, const QRect& areaBefore, bool screenChanged, bool framed,
                  bool restored) const;

    QSize wanted_;
    bool shown_ = false;
    bool maximised_ = false;
    QMargins frame_;
    QRect area_;
    std::optional<Held> held_;
    std::optional<Place> normal_;
    bool restoring_ = false; // left the maximised state, to be fitted once the manager gave it back
};
} // namespace zorvpro
