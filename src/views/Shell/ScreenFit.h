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
    // Sets the minimum for the present screen and frame, then places the window as the step asks.
    void Apply(FitSteps::Step step);

    QWidget* window_;
    FitSteps steps_;
    bool handleWatched_ = false;
    bool frameCheckQueued_ = false;
    QMetaObject::Connection screenConnection_;
};
} // namespace zorvpro
