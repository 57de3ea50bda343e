#include "views/Shell/FitSteps.h"

#include <algorithm>

namespace zorvpro
{
namespace
{
QMargins Thickest(const QMargins& a, const QMargins& b)
{
    return {std::max(a.left(), b.left()), std::max(a.top(), b.top()), std::max(a.right(), b.right()),
            std::max(a.bottom(), b.bottom())};
}
} // namespace

QRect FitSteps::NormalPlace(const QSize& wanted, const QRect& area)
{
    const QSize size = wanted.boundedTo(area.size());
    return {
        QPoint(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2),
        size};
}

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
    case Cause::FirstFramed:
        place = true;
        break;
    // Only an area that held the whole frame and no longer does, by its size or where it stands: a
    // window spread over two screens stays spread while the area it never lay within changes.
    case Cause::AreaChanged:
        place = areaBefore.contains(outer);
        break;
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

FitSteps::Outcome FitSteps::Decide(const Window& window, Cause cause, Outcome outcome)
{
    const QRect outer = window.geometry.marginsAdded(window.frame);
    const QRect placed = Placement(cause, outer, window.frame, window.area, areaNormal_);
    if (!window.frame.isNull())
        framed_ = true;
    normalFrame_ = Thickest(normalFrame_, window.frame);
    areaNormal_ = window.area;
    if (placed != outer)
        outcome.geometry = placed.marginsRemoved(window.frame);
    return outcome;
}

FitSteps::Outcome FitSteps::Take(const Window& window)
{
    // The minimum is the normal window's: the frame of a zoomed window may be thinner, and a
    // manager gives a window back no smaller than its minimum.
    Outcome outcome{FittedMinimum(wanted_, window.area, Thickest(window.frame, normalFrame_)), std::nullopt,
                    std::nullopt};
    if (!window.shown)
    {
        // A window hidden and shown again was not given back by the manager.
        seen_.reset();
        held_.reset();
        leftZoomedAt_.reset();
        return outcome;
    }
    // The area the window was shown on, until a decision is taken on a steady look.
    if (areaNormal_.isNull())
        areaNormal_ = window.area;
    // A state the program asked for is the manager's to give: until it has, or until it is clear
    // that nothing answers, nothing is decided.
    if (!window.asked)
        askedSince_.reset();
    else if (!askedSince_)
        askedSince_ = window.ms;
    if (window.asked && window.ms - *askedSince_ < kAnswerMs)
    {
        outcome.lookAgainMs = *askedSince_ + kAnswerMs - window.ms;
        return outcome;
    }
    if (!seen_ || !seen_->Shows(window))
        seen_ = Seen{window.geometry, window.frame, window.area, window.zoomed, window.ms};
    if (window.ms - seen_->since < kSteadyMs)
    {
        outcome.lookAgainMs = seen_->since + kSteadyMs - window.ms;
        return outcome;
    }
    return TakeSteady(window, outcome);
}

FitSteps::Outcome FitSteps::TakeSteady(const Window& window, Outcome outcome)
{
    if (window.zoomed)
    {
        // Never placed in that state: the look stands for the geometry the manager gave it.
        leftZoomedAt_.reset();
        held_ = Zoomed{window.geometry, window.frame};
        return outcome;
    }
    // The first steady look out of that state.
    if (held_ && !leftZoomedAt_)
        leftZoomedAt_ = window.ms;
    if (leftZoomedAt_)
    {
        // Given back once the server shows a geometry other than the zoomed one.
        const bool givenBack = window.geometry != held_->geometry || window.frame != held_->frame;
        const bool late = window.ms - *leftZoomedAt_ > kGiveBackMs;
        if (!givenBack && !late)
        {
            outcome.lookAgainMs = *leftZoomedAt_ + kGiveBackMs + 1 - window.ms;
            return outcome;
        }
        leftZoomedAt_.reset();
        held_.reset();
        // Not seen given back in time: the window is where the manager and the user put it.
        if (late)
        {
            framed_ = true;
            return Decide(window, Cause::Other, outcome);
        }
    }
    // The manager frames the window after it is shown: one shown, or given back from a first
    // maximised state, at a size or place the area cannot hold with its frame is brought within it
    // once, when first framed.
    const Cause cause = !framed_ && !window.frame.isNull() ? Cause::FirstFramed
                        : window.area != areaNormal_       ? Cause::AreaChanged
                                                           : Cause::Other;
    return Decide(window, cause, outcome);
}
} // namespace zorvpro
