#pragma once

// Waits that keep the event loop free, as a running program's is: the loop sleeps in its own wait
// and handles each event as it arrives. QTest::qWait and qWaitFor sleep between passes without
// handling any, so that what arrives within a sleep reaches the program in one pass, as it never
// does for a user; a test of how the program answers the window system waits with these instead.

#include <functional>

class QWindow;
class QWidget;

namespace zorvpro
{
// When the condition is looked at besides every few milliseconds: also after each pass of the
// event loop over what arrived, unless it costs much: a look that starts a process or makes round
// trips to the X server holds the loop, so that what arrives meanwhile is handled in one pass.
enum class Looks
{
    AlsoAfterEachPass,
    OnlyTimed
};

// Waits until `done` holds, under a deadline in milliseconds; returns whether it held. Looked at
// once first (no event is handled when it already holds), then as `looks` says, and a last time
// at the deadline.
bool LoopWaitFor(const std::function<bool()>& done, int deadlineMs, Looks looks = Looks::AlsoAfterEachPass);

// LoopWaitFor for a look that takes long, as round trips to the X server do: made on a thread of
// its own every few milliseconds, so that it never holds the event loop, which handles each event
// as it arrives. `done` must be safe to call off the program's thread, and is called on it once
// more at the deadline.
bool LoopWaitForApart(const std::function<bool()>& done, int deadlineMs);

// Waits until the window system has exposed the window (the widget's, once it has one); by default
// as long as QTest::qWaitForWindowExposed does.
constexpr int kExposeDeadlineMs = 5000;
bool LoopWaitForExposed(const QWindow* window, int deadlineMs = kExposeDeadlineMs);
bool LoopWaitForExposed(const QWidget* widget, int deadlineMs = kExposeDeadlineMs);

// Lets `ms` milliseconds pass with the event loop free, as at a user's pace.
void LoopWait(int ms);
} // namespace zorvpro
