#pragma once

#include <QRect>
#include <Qt>

#include <optional>

namespace zorvpro
{
// The last place a window held as a normal window, as its moves and state changes tell. Some window
// managers put a window at its maximised or full-screen geometry, often in several steps, before
// they report the state; others report the state first. So the place a window holds when it turns
// maximised may already be one the manager put it at on the way. A place counts as the window's
// own once it has held for a moment, as a user's move does, or when the program put it there itself.
class HeldPlace
{
public:
    // Longer than a manager takes between the steps of a zoom, also on a busy machine; shorter than
    // a user takes to move a window and then maximise it.
    static constexpr qint64 kHoldMs = 250;

    // The window's place as it starts to be followed, in that state.
    HeldPlace(const QRect& geometry, Qt::WindowStates states);

    // The window came to `geometry` at `ms` in state `states`; `spontaneous` when the window system
    // moved it, not the program.
    void Moved(const QRect& geometry, Qt::WindowStates states, bool spontaneous, qint64 ms);
    // The state went from `before` to `now` at `ms`, the window at `geometry` then.
    void StateChanged(Qt::WindowStates before, Qt::WindowStates now, const QRect& geometry, bool spontaneous,
                      qint64 ms);
    // The last place the window held as a normal window; none when it was never normal.
    std::optional<QRect> Place() const { return held_; }

private:
    struct Candidate
    {
        QRect geometry;
        qint64 since = 0;
    };
    // The candidate becomes the held place if it has held since long enough before `ms`.
    void Settle(qint64 ms);

    std::optional<QRect> held_;
    std::optional<Candidate> candidate_;
};
} // namespace zorvpro
