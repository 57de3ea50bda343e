#include "views/Shell/ScreenFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <algorithm>

namespace zorvpro
{
ScreenFit::ScreenFit(QWidget* window, const QSize& wanted) : QObject(window), window_(window), wanted_(wanted)
{
    window_->setMinimumSize(wanted_);
    window_->installEventFilter(this);
    Apply(Cause::ScreenChanged);
}

QSize ScreenFit::FittedMinimum(const QSize& wanted, const QRect& available, const QMargins& frame)
{
    const int width = available.width() - frame.left() - frame.right();
    const int height = available.height() - frame.top() - frame.bottom();
    return {std::max(0, std::min(wanted.width(), width)), std::max(0, std::min(wanted.height(), height))};
}

QRect ScreenFit::Placement(Cause cause, const QRect& outer, const QMargins& frame, const QRect& area,
                           const QRect& areaBefore)
{
    bool place = false;
    switch (cause)
    {
    // A window held larger than the area while its frame was unknown is brought within it, and so
    // is one restored to a size from before it was framed.
    case Cause::FirstShown:
    case Cause::Framed:
    case Cause::Restored:
        place = true;
        break;
    // Only an area that held the whole frame and no longer does, by its size or where it stands: a
    // window spread over two screens stays spread while the area it never lay within changes.
    case Cause::AreaChanged:
        place = areaBefore.contains(outer);
        break;
    case Cause::ScreenChanged:
    case Cause::Other:
        break;
    }
    if (!place || area.contains(outer))
        return outer;
    const int innerWidth = std::max(0, std::min(outer.width(), area.width()) - frame.left() - frame.right());
    const int innerHeight =
        std::max(0, std::min(outer.height(), area.height()) - frame.top() - frame.bottom());
    const QSize size = QSize(innerWidth, innerHeight).grownBy(frame);
    const int x = std::max(area.left(), std::min(outer.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(outer.y(), area.bottom() + 1 - size.height()));
    return {QPoint(x, y), size};
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::Show:
        // The native window exists from the first show on: follow its screen from then.
        if (!handleWatched_ && window_->windowHandle() != nullptr)
        {
            handleWatched_ = true;
            connect(window_->windowHandle(), &QWindow::screenChanged, this,
                    [this](QScreen* screen)
                    {
                        WatchScreen(screen);
                        Apply(Cause::ScreenChanged);
                    });
            WatchScreen(window_->windowHandle()->screen());
        }
        Apply(shown_ ? Cause::Other : Cause::FirstShown);
        shown_ = true;
        break;
    case QEvent::WindowStateChange:
        if (window_->isVisible())
        {
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool restored = change->oldState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
            Apply(restored ? Cause::Restored : Cause::Other);
        }
        break;
    // The window manager frames the window after it is shown and tells by moving it into the
    // frame; its frame margins are known from then.
    case QEvent::Move:
    case QEvent::Resize:
        if (window_->isVisible())
            Apply(FrameMargins() != frame_ ? Cause::Framed : Cause::Other);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ScreenFit::WatchScreen(QScreen* screen)
{
    disconnect(screenConnection_);
    if (screen != nullptr)
        screenConnection_ =
            connect(screen, &QScreen::availableGeometryChanged, this, [this] { Apply(Cause::AreaChanged); });
}

QMargins ScreenFit::FrameMargins() const
{
    const QWindow* handle = window_->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

void ScreenFit::Apply(Cause cause)
{
    QScreen* screen = window_->screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QRect areaBefore = area_;
    area_ = area;
    const QMargins frame = FrameMargins();
    frame_ = frame;
    const QSize minimum = FittedMinimum(wanted_, area, frame);
    if (window_->minimumSize() != minimum)
        window_->setMinimumSize(minimum);
    if (!window_->isVisible() || (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect outer = window_->frameGeometry();
    const QRect placed = Placement(cause, outer, frame, area, areaBefore);
    if (placed == outer)
        return;
    const QSize inner = placed.size().shrunkBy(frame);
    if (inner != window_->size())
        window_->resize(inner);
    if (placed.topLeft() != outer.topLeft())
        window_->move(placed.topLeft());
}
} // namespace zorvpro
