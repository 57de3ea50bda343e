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
class ScreenFit : public QObject
{
public:
    ScreenFit(QWidget* window, const QSize& wanted);

    // The minimum a window whose frame has these margins can keep within the available area.
    static QSize FittedMinimum(const QSize& wanted, const QRect& available, const QMargins& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowScreen(QScreen* screen);
    QMargins FrameMargins() const;
    // Sets the minimum for the present screen and frame; with place, also brings a window that
    // is larger than the available area, or outside it, within it.
    void Apply(bool place = true);

    QWidget* window_;
    QSize wanted_;
    bool handleWatched_ = false;
    QMargins frame_;
    QMetaObject::Connection screenConnection_;
};
} // namespace zorvpro
