#pragma once

#include "views/Shell/FitSteps.h"

#include <QAbstractNativeEventFilter>
#include <QMetaObject>
#include <QObject>
#include <QSize>

class QScreen;
class QWidget;

namespace zorvpro
{
// Keeps a top-level window within what its screen offers, as FitSteps decides: it follows the
// window's events, its screen, the available area, and the window manager's frame, which is known
// only once the manager has framed the shown window and changes as the window leaves or enters the
// maximised state.
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
    // Looks at the window once Qt has handled what is queued now. Qt hands the widget a new
    // geometry as a move and a resize, one after the other, and its state before either: in
    // between, the widget's geometry is half old. Events that arrive together are looked at once.
    void QueueLook();
    // Sets the minimum for the present screen and frame, then places the window as FitSteps asks.
    void Look();

    QWidget* window_;
    FitSteps steps_;
    bool handleWatched_ = false;
    bool lookQueued_ = false;
    bool managerMaximised_ = false; // maximised or full screen, as the window manager reported it
    bool screenChanged_ = false;
    QMetaObject::Connection screenConnection_;
};
} // namespace zorvpro
