#include "views/Shell/FirstFrameMark.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

namespace zorvpro
{
namespace
{
// Watches the widget until it is shown, then its native window until its first expose. The
// expose is painted and flushed (views composed and swapped) while it is delivered, so the
// line, queued from here, follows the finished frame.
class FirstFrameWatch : public QObject
{
public:
    explicit FirstFrameWatch(QWidget* window) : QObject(window), window(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window && event->type() == QEvent::Show && surface == nullptr &&
            window->windowHandle() != nullptr)
        {
            surface = window->windowHandle();
            surface->installEventFilter(this);
        }
        else if (watched == surface && event->type() == QEvent::Expose && surface->isExposed())
        {
            window->removeEventFilter(this);
            surface->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this]
                {
                    std::fputs("first-frame\n", stdout);
                    std::fflush(stdout);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* window;
    QPointer<QWindow> surface;
};
} // namespace

void MarkFirstFrameWhenAsked(QWidget* window)
{
    if (window != nullptr && qEnvironmentVariableIsSet("ZORV_FIRST_FRAME_MARK"))
        new FirstFrameWatch(window);
}
} // namespace zorvpro
