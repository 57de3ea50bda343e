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
// The window keeps a minimum size within what its screen offers: the wanted minimum wherever the
// screen's available area holds it with the window's frame, else that area less the frame. It is
// moved or sized only when it is first shown, framed (its frame margins change, whenever that
// becomes known), restored from the maximised state, or when the available area held its frame and
// no longer does; a screen change, a move or a resize leaves it where it is.
class FitSteps
{
public:
    // What made the window be looked at again.
    enum class Step
    {
        Shown,        // shown, for the first time or again
        Restored,     // it left the maximised or full-screen state
        StateChanged, // any other change of its state
        MovedOrResized,
        FrameMayHaveChanged, // the native window's properties changed: the frame may be new
        ScreenChanged,       // Qt put it on another screen, perhaps in the middle of a drag
        AreaChanged,         // the available area of its screen changed
    };

    // The decision a step comes to.
    enum class Cause
    {
        FirstShown,
        Framed,
        Restored,
        ScreenChanged,
        AreaChanged,
        Other,
    };

    // The window as it stands when a step is taken.
    struct Window
    {
        QRect geometry; // without its frame
        QMargins frame; // as last reported; none before the window manager has framed it
        QRect area;     // the available area of its screen
        bool placeable; // shown, and neither maximised nor full screen
    };

    struct Outcome
    {
        QSize minimum;
        std::optional<QRect> geometry; // the geometry, without its frame, to give the window
    };

    explicit FitSteps(const QSize& wanted) : wanted_(wanted) {}

    // Takes one step: the minimum for the window's screen and frame, and where to put it, if anywhere.
    Outcome Take(Step step, const Window& window);

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
    Cause CauseOf(Step step, const Window& window) const;

    QSize wanted_;
    bool shown_ = false;
    QMargins frame_;
    QRect area_;
};
} // namespace zorvpro
