#include "data/Settings/HeldPlace.h"

#include <algorithm>
#include <cstdlib>

namespace zorvpro
{
namespace
{
// A user's drag moves a window through many places; the manager's zoom takes a few steps at the end.
constexpr size_t kStepsKept = 32;

bool Normal(Qt::WindowStates states)
{
    return (states & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) == 0;
}

bool Near(int a, int b)
{
    return std::abs(a - b) <= HeldPlace::kFrameSlack;
}

// Taking a frame's border off moves the window's client up and left by its width.
bool BorderTakenOff(int before, int after)
{
    return after <= before && after >= before - HeldPlace::kFrameSlack;
}

// Whether each side of the window that the step from `from` to `to` changed came to where `zoomed`
// has it: its width or height, or its left or top, which may also have moved by the frame's border
// as the manager took it off on the way.
bool StepsToward(const QRect& from, const QRect& to, const QRect& zoomed)
{
    const auto edge = [](int before, int after, int there)
    { return BorderTakenOff(before, after) || Near(after, there); };
    return edge(from.x(), to.x(), zoomed.x()) && edge(from.y(), to.y(), zoomed.y()) &&
           (to.width() == from.width() || Near(to.width(), zoomed.width())) &&
           (to.height() == from.height() || Near(to.height(), zoomed.height()));
}

bool SharesASide(const QRect& a, const QRect& b)
{
    return Near(a.width(), b.width()) || Near(a.height(), b.height());
}

// The window moved up and left by the same few pixels, its size kept: a manager that takes the
// border off a window it is about to zoom.
bool FrameShift(const QRect& from, const QRect& to)
{
    return from.size() == to.size() && from != to && to.x() - from.x() == to.y() - from.y() &&
           BorderTakenOff(from.x(), to.x());
}

// A step that changed the window's size alone, its corner kept, and took its right or bottom edge
// past the zoomed geometry's: a manager's, as no drag of the pointer, which stays on the screen, can
// take it there. One may take such a step on the way to a zoom it never finishes, when it is given
// another: half a maximise, the height only, before a full screen.
bool GrownPast(const QRect& from, const QRect& to, const QRect& zoomed)
{
    return from.topLeft() == to.topLeft() && from.size() != to.size() &&
           (to.right() > zoomed.right() + HeldPlace::kFrameSlack ||
            to.bottom() > zoomed.bottom() + HeldPlace::kFrameSlack);
}

void Append(std::vector<QRect>& steps, const QRect& geometry)
{
    if (!steps.empty() && steps.back() == geometry)
        return;
    steps.push_back(geometry);
    if (steps.size() > kStepsKept)
        steps.erase(steps.begin());
}
} // namespace

HeldPlace::HeldPlace(const QRect& geometry, Qt::WindowStates states)
{
    if (Normal(states))
        normal_.push_back(geometry);
}

void HeldPlace::Moved(const QRect& geometry, Qt::WindowStates states, bool spontaneous)
{
    if (!Normal(states))
    {
        if (!zoomed_.empty())
            Append(zoomed_, geometry);
        return;
    }
    if (spontaneous)
        Append(normal_, geometry);
    else
        normal_.assign(1, geometry); // the program's own place is no step of a manager's zoom
}

void HeldPlace::StateChanged(Qt::WindowStates before, Qt::WindowStates now, const QRect& geometry,
                             bool spontaneous)
{
    if (Normal(before) == Normal(now))
        return;
    zoomed_.clear();
    zoomedByProgram_.reset();
    if (Normal(now))
    {
        // Given back by the manager, the window may still be on its way to its place.
        normal_.assign(1, geometry);
        return;
    }
    if (!spontaneous)
    {
        zoomedByProgram_ = geometry; // the program zooms the window where it is
        return;
    }
    Append(normal_, geometry);
    zoomed_.push_back(geometry);
}

std::optional<QRect> HeldPlace::Place() const
{
    if (zoomedByProgram_)
        return zoomedByProgram_;
    if (normal_.empty())
        return std::nullopt;
    if (zoomed_.empty())
        return normal_.back();
    // The geometries the manager's steps may have led to. The first zoomed one is where the state
    // came: the zoomed geometry where the manager reports the state last, but the user's place where
    // it reports it first and moves the window after, and then it has neither side of the zoom's.
    std::vector<QRect> targets(zoomed_.begin() + 1, zoomed_.end());
    const QRect& atState = zoomed_.front();
    if (targets.empty() ||
        std::any_of(targets.begin(), targets.end(), [&](const QRect& z) { return SharesASide(atState, z); }))
        targets.push_back(atState);
    const auto toward = [&](size_t step)
    {
        return std::any_of(targets.begin(), targets.end(),
                           [&](const QRect& z)
                           {
                               return StepsToward(normal_[step - 1], normal_[step], z) ||
                                      GrownPast(normal_[step - 1], normal_[step], z);
                           });
    };
    // The steps from `first` on all lead toward the zoom. Those before the first that changed the
    // size may be a user's move to the zoomed corner; the manager's begin with it.
    size_t first = normal_.size() - 1;
    while (first > 0 && toward(first))
        --first;
    for (size_t step = first + 1; step < normal_.size(); ++step)
    {
        if (normal_[step].size() == normal_[step - 1].size())
            continue;
        size_t left = step - 1;
        if (left > 0 && FrameShift(normal_[left - 1], normal_[left]))
            --left;
        return normal_[left];
    }
    return normal_.back();
}
} // namespace zorvpro
