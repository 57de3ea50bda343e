#include "data/Settings/WindowPlacement.h"

#include "data/Settings/AppSettings.h"
#include "data/Settings/HeldPlace.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace zorvpro
{
namespace
{
QString ScreenConfiguration(const QRect& geometry)
{
    return QStringLiteral("%1;%2;%3;%4")
        .arg(geometry.x())
        .arg(geometry.y())
        .arg(geometry.width())
        .arg(geometry.height());
}

// What the window's state changes and moves tell of the place to store: whether it was maximised
// when it went full screen (a window manager may report full screen alone while it keeps the
// maximised state to give back after), and the place the user left it at as a normal window.
class ZoomMemory : public QObject
{
public:
    explicit ZoomMemory(QWidget* widget) : QObject(widget), held(widget->geometry(), widget->windowState())
    {
        setObjectName(Name());
        widget->installEventFilter(this);
    }
    static QString Name() { return QStringLiteral("zorvpro__ZoomMemory"); }

    bool maximisedUnderFullScreen = false;
    HeldPlace held;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QWidget* widget = static_cast<QWidget*>(watched);
        switch (event->type())
        {
        case QEvent::Move:
        case QEvent::Resize:
            held.Moved(widget->geometry(), widget->windowState(), event->spontaneous());
            break;
        case QEvent::WindowStateChange:
        {
            const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
            if ((widget->windowState() & Qt::WindowFullScreen) == 0)
                maximisedUnderFullScreen = false;
            else if ((before & Qt::WindowFullScreen) == 0)
                maximisedUnderFullScreen = (before & Qt::WindowMaximized) != 0;
            held.StateChanged(before, widget->windowState(), widget->geometry(), event->spontaneous());
            break;
        }
        default:
            break;
        }
        return false;
    }
};

ZoomMemory* MemoryOf(const QWidget* widget)
{
    // Found by name: the class has no meta-object of its own to be told apart by.
    return static_cast<ZoomMemory*>(
        widget->findChild<QObject*>(ZoomMemory::Name(), Qt::FindDirectChildrenOnly));
}

// A window's section in Settings.xml: its object name with "::" as "__", so
// that a class-qualified name is also a valid tag.
QString SectionName(const QWidget* widget)
{
    return widget->objectName().replace(QStringLiteral("::"), QStringLiteral("__"));
}
} // namespace

void DeferWindowPlacement(QWidget* widget, bool restore)
{
    if (widget == nullptr)
        return;
    FollowZoomedState(widget);
    QTimer::singleShot(0, widget, [widget, restore] { ApplyWindowPlacement(widget, restore); });
}

void FollowZoomedState(QWidget* widget)
{
    if (widget != nullptr && MemoryOf(widget) == nullptr)
        new ZoomMemory(widget);
}

void ApplyWindowPlacement(QWidget* widget, bool restore)
{
    ApplyWindowPlacement(widget, restore, AppSettings::Instance());
}

bool ReadWindowPlacement(QWidget* widget, WindowSettings& settings)
{
    return ReadWindowPlacement(widget, settings, AppSettings::Instance());
}

void SaveWindowPlacement(QWidget* widget)
{
    SaveWindowPlacement(widget, AppSettings::Instance());
}

bool ReadWindowPlacement(QWidget* widget, WindowSettings& out, const AppSettings& settings)
{
    if (qobject_cast<QDialog*>(widget) == nullptr && qobject_cast<QMainWindow*>(widget) == nullptr)
        return false;
    out = settings.GetWindowSettings(SectionName(widget));
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (out.screenNumber < 0 || out.screenNumber >= screens.size())
        return false;
    return ScreenConfiguration(screens.at(out.screenNumber)->geometry()) == out.screenConfiguration;
}

void ApplyWindowPlacement(QWidget* widget, bool restore, AppSettings& settings)
{
    if (widget == nullptr)
        return;
    if (!restore)
    {
        SaveWindowPlacement(widget, settings);
        return;
    }
    WindowSettings placement;
    if (!ReadWindowPlacement(widget, placement, settings))
    {
        if (qobject_cast<QMainWindow*>(widget) != nullptr)
            widget->setWindowState(widget->windowState() | Qt::WindowMaximized);
        return;
    }
    QRect geometry = widget->geometry();
    geometry.moveLeft(placement.x);
    geometry.moveTop(placement.y);
    geometry.setSize(widget->sizeHint());
    widget->setGeometry(geometry);
    if (placement.maximized)
    {
        widget->setWindowState(widget->windowState() | Qt::WindowMaximized);
        return;
    }
    QTimer::singleShot(0, widget,
                       [widget] { widget->resize(widget->minimumWidth(), widget->minimumHeight()); });
}

void SaveWindowPlacement(QWidget* widget, AppSettings& settings)
{
    if (widget == nullptr)
        return;
    // A maximised or full-screen window fills the area for now: its place is the one the user left it
    // at as a normal window. Qt's normal geometry is that only where the manager reports the state
    // before it moves the window; it is the followed place where there is one.
    const bool zoomed = (widget->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
    const ZoomMemory* memory = MemoryOf(widget);
    QRect geometry = widget->geometry();
    if (zoomed && memory != nullptr && memory->held.Place())
        geometry = *memory->held.Place();
    else if (zoomed && widget->normalGeometry().isValid())
        geometry = widget->normalGeometry();
    const bool maximised = widget->isMaximized() ||
                           (widget->isFullScreen() && memory != nullptr && memory->maximisedUnderFullScreen);
    QScreen* screen = widget->screen();
    if (screen == nullptr)
        return;
    const QRect screenGeometry = screen->geometry();
    if (!screenGeometry.contains(geometry) && !maximised)
        return;
    WindowSettings placement;
    placement.name = SectionName(widget);
    placement.screenNumber = QGuiApplication::screens().indexOf(screen);
    placement.screenConfiguration = ScreenConfiguration(screenGeometry);
    placement.x = geometry.x();
    placement.y = geometry.y();
    placement.maximized = maximised;
    settings.SetWindowSettings(placement);
}
} // namespace zorvpro
