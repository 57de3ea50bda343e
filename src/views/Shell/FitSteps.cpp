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
    // is one the manager gives back where the area no longer holds it.
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

int FitSteps::LikenessOf(const Window& window)
{
    const QRect outer = window.geometry.marginsAdded(window.frame);
    if (outer == window.area)
        return 2;
    const bool covers = outer.width() >= window.area.width() && outer.height() >= window.area.height();
    return outer.topLeft() == window.area.topLeft() && covers ? 1 : 0;
}

void FitSteps::Hold(const Window& window)
{
    // While the manager maximises or restores, Qt may report the geometry and the frame in either
    // order, and the frame late: the look most like the maximised window itself stands for it, the
    // last of them. A window larger than the area looks maximised as long as its frame starts at
    // the area's corner, also once the manager has framed it anew to restore it: of those, the
    // first stands.
    const int likeness = LikenessOf(window);
    if (!held_ || likeness > held_->likeness || (likeness == held_->likeness && likeness != 1))
        held_ = Held{window.frame, likeness};
}

bool FitSteps::RestoreMayFit() const
{
    // A window the user put partly past an edge comes back there. One whose last normal frame lay
    // within the area is given back there, unless the area has since changed (a lower resolution
    // while maximised) or the manager kept a size from before the window was first placed.
    return !normal_ || normal_->area.contains(normal_->outer);
}

bool FitSteps::GivenBack(const Window& window) const
{
    // A manager may move the maximised window to its restored place before it sizes it, or size it
    // before it moves its frame there: a window still of the maximised size is not yet given back.
    // That size is the one the area and the maximised frame make: the one Qt saw may be older, taken
    // while the window's minimum, set before its frame was known, kept it larger than the area. A
    // window sized but not yet moved lies at the area's corner: what is asked for it then, position
    // and size together, lands after the manager's move.
    const bool framed =
        window.frame != held_->frame || window.frame.isNull() || (normal_ && window.frame == normal_->frame);
    return framed && window.geometry.size() != window.area.marginsRemoved(held_->frame).size();
}

FitSteps::Cause FitSteps::CauseOf(const Window& window, const QRect& areaBefore, bool screenChanged,
                                  bool framed, bool restored) const
{
    if (restored)
        return Cause::Restored;
    if (screenChanged)
        return Cause::ScreenChanged;
    if (window.area != areaBefore)
        return Cause::AreaChanged;
    // The manager frames the window after it is shown: a window shown at a size or place the area
    // cannot hold before its frame was known is brought within it once, when it is first framed.
    if (framed && !normal_ && !restoring_)
        return Cause::Framed;
    return Cause::Other;
}

FitSteps::Outcome FitSteps::Take(const Window& window, bool screenChanged)
{
    // The minimum is the normal window's: while maximised, or while the manager's steps of a
    // restore arrive, the frame may be the maximised one, and a manager gives a window back no
    // smaller than its minimum.
    QMargins frame = window.frame;
    if (normal_)
        frame = QMargins(std::max(frame.left(), normal_->frame.left()),
                         std::max(frame.top(), normal_->frame.top()),
                         std::max(frame.right(), normal_->frame.right()),
                         std::max(frame.bottom(), normal_->frame.bottom()));
    Outcome outcome{FittedMinimum(wanted_, window.area, frame), std::nullopt};
    const bool firstShown = window.shown && !shown_;
    const bool wasMaximised = maximised_;
    const bool framed = window.frame != frame_;
    const QRect areaBefore = area_;
    shown_ = shown_ || window.shown;
    frame_ = window.frame;
    area_ = window.area;
    // A window hidden and shown again was not given back by the manager.
    if (!window.shown)
    {
        maximised_ = false;
        restoring_ = false;
        return outcome;
    }
    maximised_ = window.maximised;
    if (window.maximised)
    {
        if (!wasMaximised)
            held_.reset();
        restoring_ = false;
        Hold(window);
        return outcome;
    }
    if (wasMaximised && held_)
        restoring_ = RestoreMayFit();
    // A state the program asked for is the manager's to give: until it has, nothing is decided.
    if (window.asked)
        return outcome;
    // Until the manager has given the window back, its geometry may be the maximised one, or half
    // of it: nothing is decided on it.
    const bool restored = restoring_ && GivenBack(window);
    const Cause cause =
        firstShown ? Cause::FirstShown : CauseOf(window, areaBefore, screenChanged, framed, restored);
    if (restored)
        restoring_ = false;
    const QRect outer = window.geometry.marginsAdded(window.frame);
    const QRect placed = Placement(cause, outer, window.frame, window.area, areaBefore);
    if (!restoring_ && !window.frame.isNull())
        normal_ = Place{placed, window.frame, window.area};
    if (placed != outer)
        outcome.geometry = placed.marginsRemoved(window.frame);
    return outcome;
}
} // namespace zorvpro
