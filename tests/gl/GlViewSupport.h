// Helpers of the OpenGL suites: waiting for views to settle, reading and saving their pixels.
#pragma once

#include "views/Render/VenueView3D.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QThread>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace zorvpro::gltest
{
// Runs the event loop until the condition holds or the deadline passes.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 20000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition())
    {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// A view has settled when it is shown, initialised, and its last frame shows everything.
inline bool Settle(view::VenueView3D& view)
{
    return WaitUntil([&] { return view.isValid() && !view.NeedsRepaint(); });
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
