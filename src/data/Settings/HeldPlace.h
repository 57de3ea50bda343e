#pragma once

#include <QRect>
#include <Qt>

#include <optional>
#include <vector>

namespace zorvpro
{
// The place the user left a window at as a normal window, as its moves and state changes tell. Some window
// managers put a window at its maximised or full-screen geometry, often in several steps, before
// they report the state; others report the state first. On a slow machine those steps can come as
// far apart as a user's move and zoom, so they are told apart by their shape, not their timing: the
// manager's steps toward a zoom change the window's size to the zoomed size, or bring its edges to
// where the zoomed geometry has them, or grow it past that geometry's right or bottom edge, and may
// shift it up and left by its frame's border. The place the window held before the first of them is
// the user's.
class HeldPlace
{
public:
    // How far a manager's step may lie from the zoomed geometry it leads to, and how far a frame's
    // border may shift the window as the manager takes it off: a frame border's width.
    static constexpr int kFrameSlack = 8;

    // The window's place as it starts to be followed, in that state.
    HeldPlace(const QRect& geometry, Qt::WindowStates states);

    // The window came to `geometry` in state `states`; `spontaneous` when the window system moved
    // it, not the program.
    void Moved(const QRect& geometry, Qt::WindowStates states, bool spontaneous);
    // The state went from `before` to `now`, the window at `geometry` then.
    void StateChanged(Qt::WindowStates before, Qt::WindowStates now, const QRect& geometry, bool spontaneous);
    // Where the window was left as a normal window before it was zoomed: the last place it held
    // when it is normal; none when it was never normal.
    std::optional<QRect> Place() const;

private:
    // The geometries the window went through as a normal window since the last one known to be
    // the user's or the program's (the first), the last one where the zoomed state came.
    std::vector<QRect> normal_;
    // The geometries it held while zoomed by the window system, the first where the state came.
    std::vector<QRect> zoomed_;
    // Where the program zoomed the window itself: there, no manager's step came before the state.
    std::optional<QRect> zoomedByProgram_;
};
} // namespace zorvpro
