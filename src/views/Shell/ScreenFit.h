#pragma once

#include <QMargins>
#include <QMetaObject>
#include <QObject>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace zorvpro
{
// Keeps a top-level window's minimum size within what its screen offers: the wanted minimum
// wherever the screen's available area holds it with the window's frame, else that area less the
// frame, so no part of the window is pushed off the screen. The frame is known only once the
// window manager has framed the shown window, and the screen may change: both are followed.
// The window itself is moved or sized only when it is first shown and framed, restored from the
// maximised state, or when the available area of its screen held its frame and no longer does; on
// a screen change only the minimum follows.
class ScreenFit : public QObject
{
public:
    // What made the fit be looked at again.
    enum class Cause
    {
        FirstShown,    // the window was shown for the first time
        Framed,        // the window manager framed it: its frame margins changed
        Restored,      // it left the maximised or full-screen state
        ScreenChanged, // Qt put it on another screen, perhaps in the middle of a drag
        AreaChanged,   // the available area of its screen changed
        Other,         // moved, sized, minimised or shown again
    };

    ScreenFit(QWidget* window, const QSize& wanted);

    // The minimum a window whose frame has these margins can keep within the available area.
    static QSize FittedMinimum(const QSize& wanted, const QRect& available, const QMargins& frame);

    // The frame geometry a window at `outer` takes after the cause: brought within `area`, no
    // larger than it and moved the least, when first shown, framed or restored, or when the area
    // changed from `areaBefore`, which held the frame; else `outer` as it is. A window dragged
    // towards another screen or spread over two is never pulled onto one because Qt reported a
    // screen change or the area changed.
    static QRect Placement(Cause cause, const QRect& outer, const QMargins& frame, const QRect& area,
                           const QRect& areaBefore);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchScreen(QScreen* screen);
    QMargins FrameMargins() const;
    // Sets the minimum for the present screen and frame, then places the window as the cause asks.
    void Apply(Cause cause);

    QWidget* window_;
    QSize wanted_;
    bool handleWatched_ = false;
    bool shown_ = false;
    QMargins frame_;
    QRect area_;
    QMetaObject::Connection screenConnection_;
};
} // namespace zorvpro
