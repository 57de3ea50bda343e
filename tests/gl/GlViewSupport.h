// Helpers of the OpenGL suites: waiting for views to settle, reading and saving their pixels.
#pragma once

#include "LoopWait.h"
#include "views/Render/VenueView3D.h"

#include <QDir>
#include <QEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace zorvpro::gltest
{
// How long a wait for a state may take: a window shown on two busy cores was first exposed
// after more than 3 s.
constexpr int kDeadlineMs = 20000;

// Runs the event loop until the condition holds or the deadline passes. The loop stays free, as a
// running program's: the window system's events (exposure, resize, state) are handled as they
// arrive, not gathered up in a sleep and handled in one pass.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kDeadlineMs)
{
    return LoopWaitFor(condition, timeoutMs);
}

// A view has settled when the window system has exposed its window, it is initialised, and it
// owes no frame: its last frame shows everything. A view draws its first frame when it is shown,
// before its window is exposed; the first expose paints the whole window once more.
inline bool Settled(view::VenueView3D& view)
{
    const QWindow* window = view.window()->windowHandle();
    return window != nullptr && window->isExposed() && view.isValid() && !view.NeedsRepaint();
}

inline bool Settle(view::VenueView3D& view)
{
    return WaitUntil([&] { return Settled(view); });
}

// Counts the frames a view draws from now on. Start it on a settled view: once its window has
// been exposed and painted, an expose repaints only what asked to be drawn, so every frame counted
// is one the view asked for. A grab draws without a paint event and is not counted.
class FrameCounter : public QObject
{
public:
    explicit FrameCounter(view::VenueView3D& view)
    {
        EXPECT_TRUE(Settled(view)) << "frames are counted from a settled view only";
        // The view may go first: Qt drops a filter of its own accord when either object goes.
        view.installEventFilter(this);
    }
    int Count() const { return m_count; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_count;
        return false;
    }

private:
    int m_count = 0;
};

// Waits for every view's refresh to tick that many times: counted rather than timed, so that a
// view that would redraw on its own has had as many chances to do so on a busy machine.
inline bool WaitTicks(const std::vector<view::VenueView3D*>& views, int ticks)
{
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (view::VenueView3D* view : views)
    {
        QTimer* timer = view->findChild<QTimer*>();
        if (timer == nullptr || !timer->isActive())
            return false;
        spies.push_back(std::make_unique<QSignalSpy>(timer, &QTimer::timeout));
    }
    return WaitUntil(
        [&] {
            return std::all_of(spies.begin(), spies.end(),
                               [&](const auto& s) { return s->count() >= ticks; });
        });
}

inline ::testing::AssertionResult ColorNear(const QImage& image, int x, int y, const QColor& expected,
                                            int tolerance = 3)
{
    const QColor got = image.pixelColor(x, y);
    if (std::abs(got.red() - expected.red()) <= tolerance &&
        std::abs(got.green() - expected.green()) <= tolerance &&
        std::abs(got.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << got.red() << ", " << got.green() << ", "
           << got.blue() << "), expected (" << expected.red() << ", " << expected.green() << ", "
           << expected.blue() << ") within " << tolerance;
}

// Antialiased edges and painter lines may sit one pixel either way: the best match within one
// pixel of (x, y) must be within the tolerance.
inline ::testing::AssertionResult ColorNearby(const QImage& image, int x, int y, const QColor& expected,
                                              int tolerance = 3)
{
    ::testing::AssertionResult best = ColorNear(image, x, y, expected, tolerance);
    for (int dy = -1; dy <= 1 && !best; ++dy)
        for (int dx = -1; dx <= 1 && !best; ++dx)
            if (ColorNear(image, x + dx, y + dy, expected, tolerance))
                best = ::testing::AssertionSuccess();
    return best;
}

// How white the whitest pixel within one pixel of (x, y) is: its smallest channel. A one-pixel
// painter line may be split over two pixels by multisampling.
inline int WhiteLevel(const QImage& image, int x, int y, int reach = 1)
{
    int level = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
        {
            const QColor c = image.pixelColor(x + dx, y + dy);
            level = std::max(level, std::min({c.red(), c.green(), c.blue()}));
        }
    return level;
}

// Screenshots land in gl-shots/ under the test's working folder (the build tree).
inline void SaveShot(const QImage& image, const std::string& name, bool es)
{
    QDir().mkpath("gl-shots");
    image.save(QString("gl-shots/%1-%2.png").arg(QString::fromStdString(name), es ? "es" : "desktop"));
}
} // namespace zorvpro::gltest
