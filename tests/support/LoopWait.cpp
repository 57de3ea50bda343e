#include "LoopWait.h"

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zorvpro
{
namespace
{
// Often enough that a test sees a state soon after it comes, seldom enough to leave the loop idle.
constexpr int kLookMs = 5;
} // namespace

bool LoopWaitFor(const std::function<bool()>& done, int deadlineMs, Looks looks)
{
    // Handling events first could undo a state that already holds.
    if (done())
        return true;
    const QDeadlineTimer deadline(deadlineMs, Qt::PreciseTimer);
    QEventLoop loop;
    bool met = false;
    // A look may itself turn a loop (a click, a child process): it is not looked at again inside.
    bool looking = false;
    const auto look = [&]
    {
        if (looking || met)
            return;
        looking = true;
        met = done();
        looking = false;
        if (met || deadline.hasExpired())
            loop.quit();
    };
    QTimer often;
    often.setTimerType(Qt::PreciseTimer);
    QObject::connect(&often, &QTimer::timeout, &loop, look);
    often.start(kLookMs);
    QTimer end;
    end.setTimerType(Qt::PreciseTimer);
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(static_cast<int>(deadline.remainingTime()));
    // Emitted once the loop has handled what arrived and is about to sleep.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (looks == Looks::AlsoAfterEachPass && dispatcher != nullptr)
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &loop, look);
    loop.exec();
    return met || done();
}

bool LoopWaitForApart(const std::function<bool()>& done, int deadlineMs)
{
    std::atomic<bool> met{false};
    std::mutex lock;
    std::condition_variable wake;
    bool stop = false;
    std::thread looker(
        [&]
        {
            std::unique_lock<std::mutex> held(lock);
            while (!stop)
            {
                held.unlock();
                const bool now = done();
                held.lock();
                if (now)
                {
                    met.store(true);
                    return;
                }
                wake.wait_for(held, std::chrono::milliseconds(kLookMs), [&] { return stop; });
            }
        });
    // The flag is cheap: looked at after each pass too.
    LoopWaitFor([&] { return met.load(); }, deadlineMs);
    {
        std::lock_guard<std::mutex> guard(lock);
        stop = true;
    }
    wake.notify_one();
    looker.join();
    return met.load() || done();
}

bool LoopWaitForExposed(const QWindow* window, int deadlineMs)
{
    return window != nullptr && LoopWaitFor([window] { return window->isExposed(); }, deadlineMs);
}

bool LoopWaitForExposed(const QWidget* widget, int deadlineMs)
{
    return LoopWaitFor(
        [widget]
        {
            const QWindow* window = widget->window()->windowHandle();
            return window != nullptr && window->isExposed();
        },
        deadlineMs);
}

void LoopWait(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace zorvpro
