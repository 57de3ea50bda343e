#pragma once

class QWidget;

namespace zorvpro
{
// With ZORV_FIRST_FRAME_MARK set in the environment, writes the line "first-frame" to standard
// output once the window's first expose has been painted and flushed, so that start-up can be
// timed from outside the process. Without it, does nothing. Call before the window is shown.
void MarkFirstFrameWhenAsked(QWidget* window);
} // namespace zorvpro
