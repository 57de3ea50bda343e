#include "data/Settings/WindowPlacement.h"

#include "../support/TempDir.h"
#include "data/Settings/AppSettings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <optional>
#include <utility>
#include <vector>

using namespace zorvpro;

namespace
{
QString CurrentScreenConfig(int index)
{
    const QRect g = QGuiApplication::screens().at(index)->geometry();
    return QStringLiteral("%1;%2;%3;%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
}

class WindowPlacementTest : public ::testing::Test
{
protected:
    test::TempDir dir;
    AppSettings settings{dir.File(QStringLiteral("Settings.xml"))};

    WindowSettings Stored(const QString& name, int screen, const QString& config)
    {
        WindowSettings record;
        record.name = name;
        record.screenNumber = screen;
        record.screenConfiguration = config;
        record.x = 30;
        record.y = 40;
        record.maximized = false;
        settings.SetWindowSettings(record);
        return record;
    }
};
} // namespace

TEST_F(WindowPlacementTest, OnlyDialogsAndMainWindowsOnAnUnchangedScreenHaveAPlacement)
{
    ASSERT_FALSE(QGuiApplication::screens().isEmpty());
    QWidget plain;
    plain.setObjectName(QStringLiteral("plain"));
    Stored(QStringLiteral("plain"), 0, CurrentScreenConfig(0));
    WindowSettings out;
    EXPECT_FALSE(ReadWindowPlacement(&plain, out, settings));
    EXPECT_FALSE(ReadWindowPlacement(nullptr, out, settings));

    QDialog dialog;
    dialog.setObjectName(QStringLiteral("zorvpro__AboutDialog"));
    Stored(dialog.objectName(), 0, CurrentScreenConfig(0));
    EXPECT_TRUE(ReadWindowPlacement(&dialog, out, settings));
    EXPECT_EQ(30, out.x);

    Stored(dialog.objectName(), 0, QStringLiteral("0;0;1;1"));
    EXPECT_FALSE(ReadWindowPlacement(&dialog, out, settings));

    const int screens = QGuiApplication::screens().size();
    Stored(dialog.objectName(), screens, CurrentScreenConfig(0));
    EXPECT_FALSE(ReadWindowPlacement(&dialog, out, settings));
    Stored(dialog.objectName(), -1, CurrentScreenConfig(0));
    EXPECT_FALSE(ReadWindowPlacement(&dialog, out, settings));
}

TEST_F(WindowPlacementTest, MainWindowWithoutUsablePlacementOpensMaximised)
{
    QMainWindow window;
    window.setObjectName(QStringLiteral("zorvpro__MainWindow"));
    Stored(window.objectName(), QGuiApplication::screens().size(), CurrentScreenConfig(0));
    ApplyWindowPlacement(&window, true, settings);
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);

    QDialog dialog;
    dialog.setObjectName(QStringLiteral("zorvpro__AboutDialog"));
    ApplyWindowPlacement(&dialog, true, settings);
    EXPECT_FALSE(dialog.windowState() & Qt::WindowMaximized);
}

TEST_F(WindowPlacementTest, StoredPlacementMovesTheWindow)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("zorvpro__SettingsPage"));
    Stored(dialog.objectName(), 0, CurrentScreenConfig(0));
    ApplyWindowPlacement(&dialog, true, settings);
    EXPECT_EQ(QPoint(30, 40), dialog.geometry().topLeft());
    EXPECT_FALSE(dialog.windowState() & Qt::WindowMaximized);
}

TEST_F(WindowPlacementTest, SavingKeepsTheOldRecordForAWindowOffItsScreen)
{
    const QRect screen = QGuiApplication::screens().at(0)->geometry();
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("zorvpro__AboutDialog"));
    dialog.setGeometry(screen.x() + 10, screen.y() + 20, 100, 80);
    ApplyWindowPlacement(&dialog, false, settings);
    WindowSettings saved = settings.GetWindowSettings(dialog.objectName());
    EXPECT_EQ(dialog.objectName(), saved.name);
    EXPECT_EQ(screen.x() + 10, saved.x);
    EXPECT_EQ(screen.y() + 20, saved.y);
    EXPECT_EQ(CurrentScreenConfig(0), saved.screenConfiguration);
    EXPECT_FALSE(saved.maximized);

    // Partly outside the screen and not maximised: the earlier record stays.
    dialog.setGeometry(screen.right() - 20, screen.y() + 5, 100, 80);
    SaveWindowPlacement(&dialog, settings);
    saved = settings.GetWindowSettings(dialog.objectName());
    EXPECT_EQ(screen.x() + 10, saved.x);
}

TEST_F(WindowPlacementTest, QualifiedObjectNamesUseTheirSectionName)
{
    // A window named after its class, "zorvpro::MainWindow", keeps its
    // placement in the section "zorvpro__MainWindow" that the settings read.
    const QRect screen = QGuiApplication::screens().at(0)->geometry();
    QMainWindow window;
    window.setObjectName(QStringLiteral("zorvpro::MainWindow"));
    window.setGeometry(screen.x() + 10, screen.y() + 20, 100, 80);
    SaveWindowPlacement(&window, settings);
    EXPECT_EQ(QStringLiteral("zorvpro__MainWindow"),
              settings.GetWindowSettings(QStringLiteral("zorvpro__MainWindow")).name);
    EXPECT_EQ(screen.x() + 10, settings.GetWindowSettings(QStringLiteral("zorvpro__MainWindow")).x);

    AppSettings reread(dir.File(QStringLiteral("Settings.xml")));
    WindowSettings out;
    ASSERT_TRUE(ReadWindowPlacement(&window, out, reread));
    EXPECT_EQ(screen.y() + 20, out.y);
    EXPECT_FALSE(out.maximized);
}

TEST_F(WindowPlacementTest, AZoomedWindowIsStoredAtItsNormalPlaceAndStartsAsTheWindowItWasBefore)
{
    struct Row
    {
        const char* what;
        std::vector<Qt::WindowStates> states; // one after another
        bool maximised;
    };
    const Row rows[] = {
        {"maximised", {Qt::WindowMaximized}, true},
        {"full screen", {Qt::WindowFullScreen}, false},
        {"full screen from maximised, both reported", {Qt::WindowMaximized | Qt::WindowFullScreen}, true},
        {"full screen from maximised, reported alone", {Qt::WindowMaximized, Qt::WindowFullScreen}, true},
    };
    const QRect screen = QGuiApplication::screens().at(0)->geometry();
    const QRect place(screen.x() + 40, screen.y() + 50, 300, 200);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        QMainWindow window;
        window.setObjectName(QStringLiteral("zorvpro__MainWindow"));
        FollowZoomedState(&window);
        window.setGeometry(place);
        window.show();
        for (const Qt::WindowStates state : row.states)
        {
            window.setWindowState(state);
            // Where the zoomed window lies once the platform has given it the screen.
            const QDeadlineTimer deadline(10000);
            while (window.geometry().topLeft() == place.topLeft() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            ASSERT_NE(window.geometry().topLeft(), place.topLeft()) << "the window stays at its normal place";
        }
        ASSERT_EQ(window.windowState(), row.states.back());
        SaveWindowPlacement(&window, settings);

        QMainWindow next;
        next.setObjectName(window.objectName());
        ApplyWindowPlacement(&next, true, settings);
        EXPECT_EQ(next.geometry().topLeft(), place.topLeft());
        EXPECT_EQ(next.isMaximized(), row.maximised);
        EXPECT_FALSE(next.isFullScreen());
    }
}

namespace
{
// A window manager's step as it reaches the program: the window put at a geometry, or a state
// reported, at a time in ms.
struct ManagerStep
{
    std::optional<QRect> put;
    Qt::WindowStates state;
    qint64 ms = 0;
};
ManagerStep Put(const QRect& geometry, qint64 ms)
{
    return {geometry, {}, ms};
}
ManagerStep Report(Qt::WindowStates state, qint64 ms)
{
    return {std::nullopt, state, ms};
}
} // namespace

// Managers zoom a window in their own order: some report the state first and move the window after,
// others move it there, in one step or several, and report the state after, or send it all at
// once. The window system delivers the steps as the platform does (spontaneous events, in order),
// each at its time on the placement's clock.
TEST_F(WindowPlacementTest, AZoomedWindowIsStoredWhereTheUserLeftItWhateverTheManagersOrder)
{
    const QRect screen = QGuiApplication::screens().at(0)->geometry();
    const QRect first(screen.x() + 10, screen.y() + 10, 300, 200);
    const QRect place(screen.x() + 40, screen.y() + 50, 300, 200);  // the user's move, at 1000 ms
    const QRect moved(screen.x() + 120, screen.y() + 90, 300, 200); // a later move, at 2000 ms
    // The maximised window under a 19 px title, and the steps a manager takes to it from `place`.
    const QRect maximised(screen.x(), screen.y() + 19, screen.width(), screen.height() - 19);
    const QRect tall(place.topLeft(), QSize(place.width(), maximised.height() - 2));
    const QRect raised(QPoint(place.x(), maximised.y()), tall.size());
    const QRect wide(raised.topLeft(), maximised.size());
    const QRect widened(place.topLeft(), maximised.size());
    const QRect full = screen;
    const QRect fullFromPlace(place.topLeft(), screen.size());
    const Qt::WindowStates max = Qt::WindowMaximized;
    const Qt::WindowStates fs = Qt::WindowFullScreen;
    struct Row
    {
        const char* what;
        std::vector<ManagerStep> steps; // after the user's move to `place`
        QRect stored;
        bool maximised;
    };
    const Row rows[] = {
        {"maximised, the configure before the state",
         {Put(widened, 2000), Put(maximised, 2008), Report(max, 2010)},
         place,
         true},
        {"maximised in four steps before the state",
         {Put(tall, 2000), Put(raised, 2010), Put(wide, 2012), Put(maximised, 2024), Report(max, 2024)},
         place,
         true},
        {"maximised, the state before the configure",
         {Report(max, 2000), Put(widened, 2004), Put(maximised, 2008)},
         place,
         true},
        {"maximised in one burst",
         {Put(widened, 2000), Put(maximised, 2000), Report(max, 2000)},
         place,
         true},
        {"maximised in one burst, the state first", {Report(max, 2000), Put(maximised, 2000)}, place, true},
        {"full screen, the configure before the state",
         {Put(fullFromPlace, 2000), Put(full, 2010), Report(fs, 2010)},
         place,
         false},
        {"full screen, the state before the configure",
         {Report(fs, 2000), Put(fullFromPlace, 2001), Put(full, 2005)},
         place,
         false},
        {"full screen in one burst",
         {Put(fullFromPlace, 2000), Put(full, 2000), Report(fs, 2000)},
         place,
         false},
        {"full screen from maximised, each configure before its state, full screen reported alone",
         {Put(widened, 2000), Put(maximised, 2008), Report(max, 2010), Put(full, 3500), Report(fs, 3510)},
         place,
         true},
        {"full screen from maximised, each state before its configure",
         {Report(max, 2000), Put(maximised, 2008), Report(max | fs, 3500), Put(full, 3510)},
         place,
         true},
        {"full screen from maximised in one burst each",
         {Put(maximised, 2000), Report(max, 2000), Put(full, 3500), Report(max | fs, 3500)},
         place,
         true},
        {"moved, then maximised a moment later, the configure before the state",
         {Put(moved, 2000), Put(maximised, 2300), Report(max, 2302)},
         moved,
         true},
        {"moved, then put in full screen a moment later, the configure before the state",
         {Put(moved, 2000), Put(full, 2300), Report(fs, 2300)},
         moved,
         false},
        {"given back to the moved place, then maximised again, the configure before the state",
         {Put(maximised, 2000), Report(max, 2000), Report({}, 3000), Put(moved, 3010), Put(maximised, 4000),
          Report(max, 4010)},
         moved,
         true},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        qint64 now = 0;
        QMainWindow window;
        window.setObjectName(QStringLiteral("zorvpro__MainWindow"));
        window.setGeometry(first);
        FollowZoomedState(&window, [&now] { return now; });
        window.show();
        std::vector<ManagerStep> steps{Put(place, 1000)};
        steps.insert(steps.end(), row.steps.begin(), row.steps.end());
        for (const ManagerStep& step : steps)
        {
            ASSERT_GE(step.ms, now) << "steps come in time order";
            now = step.ms;
            if (step.put)
                QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(
                    window.windowHandle(), *step.put);
            else
                QWindowSystemInterface::handleWindowStateChanged<QWindowSystemInterface::SynchronousDelivery>(
                    window.windowHandle(), step.state);
        }
        Qt::WindowStates reported;
        for (const ManagerStep& step : steps)
            reported = step.put ? reported : step.state;
        ASSERT_EQ(window.windowState(), reported);
        SaveWindowPlacement(&window, settings);
        const WindowSettings stored = settings.GetWindowSettings(window.objectName());
        EXPECT_EQ(std::make_pair(stored.x, stored.y), std::make_pair(row.stored.x(), row.stored.y()));
        EXPECT_EQ(stored.maximized, row.maximised);
    }
}
