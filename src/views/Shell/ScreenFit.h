#pragma once

#include "views/Shell/FitSteps.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QSize>
#include <QTimer>

class QScreen;
class QWidget;

namespace zorvpro
{
// Keeps a top-level window within what its screen offers, as FitSteps decides: it gives the window
// its normal place before it is first shown, then follows the window's events, its screen, the
// available area, and the window manager's frame and state.
class ScreenFit : public QObject, private QAbstractNativeEventFilter
{
public:
    ScreenFit(QWidget* window, const QSize& wanted);
    ~ScreenFit() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Qt learns of a new frame from a property of the native window, and raises no event for it:
    // each property change of the window is looked at once Qt has read it.
    bool nativeEventFilter(const QByteArray& eventType, void* message, long* result) override;
    void WatchScreen(QScreen* screen);
    // Looks at the window once Qt has handled the events queued now: events that arrive together
    // are looked at once.
    void QueueLook();
    // Sets the minimum for the present screen and frame, then places the window as FitSteps asks.
    void Look();

    QWidget* window_;
    FitSteps steps_;
    bool handleWatched_ = false;
    QTimer look_;
    QElapsedTimer clock_;
    bool managerZoomed_ = false; // maximised or full screen, as the window manager reported it
    QMetaObject::Connection screenConnection_;
};
} // namespace zorvpro
