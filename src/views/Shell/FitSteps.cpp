#include "views/Shell/FitSteps.h"

#include <algorithm>

namespace zorvpro
{
QSize FitSteps::FittedMinimum(const QSize& wanted, const QRect& available, const QMargins& frame)
{
    const int width = available.width() - frame.left() - frame.right();
    const int height = available.height() - frame.top() - frame.bottom();
    return {std::max(0, std::min(wanted.width(), width)), std::max(0, std::min(wanted.height(), height))};
}

QRect FitSteps::Placement(Cause cause, const QRect& outer, const QMargins& frame, const QRect& area,
                          const QRect& areaBefore)
{
    bool place = false;
    switch (cause)
    {
    // A window held larger than the area while its frame was unknown is brought within it, and so
    // is one restored to a size from before it was framed.
    case Cause::FirstShown:
    case Cause::Framed:
    case Cause::Restored:
        place = true;
        break;
    // Only an area that held the whole frame and no longer does, by its size or where it stands: a
    // window spread over two screens stays spread while the area it never lay within changes.
    case Cause::AreaChanged:
        place = areaBefore.contains(outer);
        break;
    case Cause::ScreenChanged:
    case Cause::Other:
        break;
    }
    if (!place || area.contains(outer))
        return outer;
    const int innerWidth = std::max(0, std::min(outer.width(), area.width()) - frame.left() - frame.right());
    const int innerHeight =
        std::max(0, std::min(outer.height(), area.height()) - frame.top() - frame.bottom());
    const QSize size = QSize(innerWidth, innerHeight).grownBy(frame);
    const int x = std::max(area.left(), std::min(outer.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(outer.y(), area.bottom() + 1 - size.height()));
    return {QPoint(x, y), size};
}

FitSteps::Cause FitSteps::CauseOf(Step step, const Window& window) const
{
    switch (step)
    {
    case Step::Shown:
        return shown_ ? Cause::Other : Cause::FirstShown;
    case Step::Restored:
        return Cause::Restored;
    // The window manager frames the window after it is shown, and frames it anew as it leaves or
    // enters the maximised state. The new frame may be learnt with a move, with a resize, or with
    // neither, and before or after the new state: whichever step first sees it places the window.
    case Step::MovedOrResized:
    case Step::FrameMayHaveChanged:
        return window.frame != frame_ ? Cause::Framed : Cause::Other;
    case Step::ScreenChanged:
        return Cause::ScreenChanged;
    case Step::AreaChanged:
        return Cause::AreaChanged;
    case Step::StateChanged:
        break;
    }
    return Cause::Other;
}

FitSteps::Outcome FitSteps::Take(Step step, const Window& window)
{
    const Cause cause = CauseOf(step, window);
    if (step == Step::Shown)
        shown_ = true;
    const QRect areaBefore = area_;
    area_ = window.area;
    frame_ = window.frame;
    Outcome outcome{FittedMinimum(wanted_, window.area, window.frame), std::nullopt};
    if (!window.placeable)
        return outcome;
    const QRect outer = window.geometry.marginsAdded(window.frame);
    const QRect placed = Placement(cause, outer, window.frame, window.area, areaBefore);
    if (placed != outer)
        outcome.geometry = placed.marginsRemoved(window.frame);
    return outcome;
}
} // namespace zorvpro
