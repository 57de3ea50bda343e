#include "views/Shell/ScreenFit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <xcb/xcb.h>

namespace zorvpro
{
using Step = FitSteps::Step;

ScreenFit::ScreenFit(QWidget* window, const QSize& wanted) : QObject(window), window_(window), steps_(wanted)
{
    window_->setMinimumSize(wanted);
    window_->installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
    Apply(Step::ScreenChanged);
}

ScreenFit::~ScreenFit()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
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
                        Apply(Step::ScreenChanged);
                    });
            WatchScreen(window_->windowHandle()->screen());
        }
        Apply(Step::Shown);
        break;
    case QEvent::WindowStateChange:
        if (window_->isVisible())
        {
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool restored = change->oldState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
            Apply(restored ? Step::Restored : Step::StateChanged);
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (window_->isVisible())
            Apply(Step::MovedOrResized);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ScreenFit::nativeEventFilter(const QByteArray& eventType, void* message, long* /*result*/)
{
    if (eventType != "xcb_generic_event_t" || frameCheckQueued_)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* property = static_cast<const xcb_property_notify_event_t*>(message);
    if (window_->internalWinId() == 0 || property->window != window_->internalWinId())
        return false;
    // Looked at after Qt has handled the notice and so knows the frame may be new.
    frameCheckQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this]
        {
            frameCheckQueued_ = false;
            if (window_->isVisible())
                Apply(Step::FrameMayHaveChanged);
        },
        Qt::QueuedConnection);
    return false;
}

void ScreenFit::WatchScreen(QScreen* screen)
{
    disconnect(screenConnection_);
    if (screen != nullptr)
        screenConnection_ =
            connect(screen, &QScreen::availableGeometryChanged, this, [this] { Apply(Step::AreaChanged); });
}

void ScreenFit::Apply(Step step)
{
    QScreen* screen = window_->screen();
    if (screen == nullptr)
        return;
    const QWindow* handle = window_->windowHandle();
    const bool placeable =
        window_->isVisible() && !(window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    const FitSteps::Outcome outcome =
        steps_.Take(step, {window_->geometry(), handle != nullptr ? handle->frameMargins() : QMargins(),
                           screen->availableGeometry(), placeable});
    if (window_->minimumSize() != outcome.minimum)
        window_->setMinimumSize(outcome.minimum);
    if (!outcome.geometry)
        return;
    const QRect placed = *outcome.geometry;
    if (placed.size() != window_->size())
        window_->resize(placed.size());
    if (placed.topLeft() != window_->geometry().topLeft())
        window_->move(window_->pos() + (placed.topLeft() - window_->geometry().topLeft()));
}
} // namespace zorvpro
