#include "views/Shell/ScreenFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace zorvpro
{
ScreenFit::ScreenFit(QWidget* window, const QSize& wanted) : QObject(window), window_(window), wanted_(wanted)
{
    window_->setMinimumSize(wanted_);
    window_->installEventFilter(this);
    Apply();
}

QSize ScreenFit::FittedMinimum(const QSize& wanted, const QRect& available, const QMargins& frame)
{
    const int width = available.width() - frame.left() - frame.right();
    const int height = available.height() - frame.top() - frame.bottom();
    return {std::max(0, std::min(wanted.width(), width)), std::max(0, std::min(wanted.height(), height))};
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
            connect(window_->windowHandle(), &QWindow::screenChanged, this, &ScreenFit::FollowScreen);
            FollowScreen(window_->windowHandle()->screen());
        }
        Apply();
        break;
    case QEvent::WindowStateChange:
        if (window_->isVisible())
            Apply();
        break;
    // The window manager frames the window after it is shown and tells by moving it into the
    // frame; its frame margins are known from then. A window the user moves or sizes is only
    // brought back within the area when its frame changed.
    case QEvent::Move:
    case QEvent::Resize:
        if (window_->isVisible())
            Apply(FrameMargins() != frame_);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ScreenFit::FollowScreen(QScreen* screen)
{
    disconnect(screenConnection_);
    if (screen != nullptr)
        screenConnection_ = connect(screen, &QScreen::availableGeometryChanged, this, [this] { Apply(); });
    Apply();
}

QMargins ScreenFit::FrameMargins() const
{
    const QWindow* handle = window_->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

void ScreenFit::Apply(bool place)
{
    QScreen* screen = window_->screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins frame = FrameMargins();
    frame_ = frame;
    const QSize minimum = FittedMinimum(wanted_, available, frame);
    if (window_->minimumSize() != minimum)
        window_->setMinimumSize(minimum);
    if (!place || !window_->isVisible() ||
        (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    // A window held larger than the area while its frame was unknown is brought within it.
    const QRect outer = window_->frameGeometry();
    if (available.contains(outer))
        return;
    const QSize inner(std::min(window_->width(), available.width() - frame.left() - frame.right()),
                      std::min(window_->height(), available.height() - frame.top() - frame.bottom()));
    if (inner != window_->size())
        window_->resize(inner);
    const QSize outerSize = inner.grownBy(frame);
    const int x = std::max(available.left(), std::min(outer.x(), available.right() + 1 - outerSize.width()));
    const int y = std::max(available.top(), std::min(outer.y(), available.bottom() + 1 - outerSize.height()));
    if (QPoint(x, y) != outer.topLeft())
        window_->move(x, y);
}
} // namespace zorvpro
