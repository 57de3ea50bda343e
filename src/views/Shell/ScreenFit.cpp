#include "views/Shell/ScreenFit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace zorvpro
{
namespace
{
constexpr Qt::WindowStates kZoomed = Qt::WindowMaximized | Qt::WindowFullScreen;
} // namespace

ScreenFit::ScreenFit(QWidget* window, const QSize& wanted) : QObject(window), window_(window), steps_(wanted)
{
    clock_.start();
    look_.setSingleShot(true);
    connect(&look_, &QTimer::timeout, this, &ScreenFit::Look);
    window_->installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
    // The minimum and the normal place for the screen the window will be shown on, before it is
    // shown: a window first shown maximised is given back there.
    Look();
    if (QScreen* screen = window_->screen(); screen != nullptr && !window_->isVisible())
        window_->setGeometry(FitSteps::NormalPlace(wanted, screen->availableGeometry()));
}

ScreenFit::~ScreenFit()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    // Qt's window hears of a state from the window manager as a spontaneous event; the widget's
    // state changes as soon as the program asks for one.
    if (watched != window_)
    {
        if (event->type() == QEvent::WindowStateChange && event->spontaneous())
        {
            managerZoomed_ = (window_->windowHandle()->windowStates() & kZoomed) != 0;
            QueueLook();
        }
        return QObject::eventFilter(watched, event);
    }
    switch (event->type())
    {
    case QEvent::Show:
        // The native window exists from the first show on: follow its screen from then.
        if (!handleWatched_ && window_->windowHandle() != nullptr)
        {
            handleWatched_ = true;
            window_->windowHandle()->installEventFilter(this);
            connect(window_->windowHandle(), &QWindow::screenChanged, this,
                    [this](QScreen* screen)
                    {
                        WatchScreen(screen);
                        QueueLook();
                    });
            WatchScreen(window_->windowHandle()->screen());
        }
        QueueLook();
        break;
    case QEvent::Hide:
    case QEvent::WindowStateChange:
    case QEvent::Move:
    case QEvent::Resize:
        QueueLook();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ScreenFit::nativeEventFilter(const QByteArray& eventType, void* message, long* /*result*/)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* property = static_cast<const xcb_property_notify_event_t*>(message);
    if (window_->internalWinId() != 0 && property->window == window_->internalWinId())
        QueueLook();
    return false;
}

void ScreenFit::WatchScreen(QScreen* screen)
{
    disconnect(screenConnection_);
    if (screen != nullptr)
        screenConnection_ = connect(screen, &QScreen::availableGeometryChanged, this, &ScreenFit::QueueLook);
}

void ScreenFit::QueueLook()
{
    look_.start(0);
}

void ScreenFit::Look()
{
    QScreen* screen = window_->screen();
    if (screen == nullptr)
        return;
    QWindow* handle = window_->windowHandle();
    // Qt's window holds the whole geometry the server reported, the widget only once both events
    // reached it. The widget's state is the one the program asked for last.
    const bool zoomed = (window_->windowState() & kZoomed) != 0;
    const FitSteps::Window seen{handle != nullptr ? handle->geometry() : window_->geometry(),
                                handle != nullptr ? handle->frameMargins() : QMargins(),
                                screen->availableGeometry(),
                                window_->isVisible(),
                                managerZoomed_,
                                zoomed != managerZoomed_,
                                clock_.elapsed()};
    const FitSteps::Outcome outcome = steps_.Take(seen);
    if (window_->minimumSize() != outcome.minimum)
        window_->setMinimumSize(outcome.minimum);
    // Only a shown window is placed. Its position and size are asked for together, even where
    // Qt's window already reports one of them.
    if (outcome.geometry && handle != nullptr)
        handle->setGeometry(*outcome.geometry);
    // Nothing may change before then: the look it waits for is taken all the same.
    if (outcome.lookAgainMs && !look_.isActive())
        look_.start(static_cast<int>(*outcome.lookAgainMs));
}
} // namespace zorvpro
