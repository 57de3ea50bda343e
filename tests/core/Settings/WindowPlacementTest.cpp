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
// reported.
struct ManagerStep
{
    std::optional<QRect> put;
    Qt::WindowStates state;
};
ManagerStep Put(const QRect& geometry)
{
    return {geometry, {}};
}
ManagerStep Report(Qt::WindowStates state)
{
    return {std::nullopt, state};
}
} // namespace

// Managers zoom a window in their own order: some report the state first and move the window after,
// others move it there, in one step or several, and report the state after or between. On a slow
// machine each step may reach the program seconds after the one before, as far apart as a user's
// move and zoom; the placement reads no clock, so the rows give the steps' shapes only, as the
// window system delivers them (spontaneous events, in order). The shapes are those seen under
// openbox, metacity, icewm, xfwm4 and fluxbox.
TEST_F(WindowPlacementTest, AZoomedWindowIsStoredWhereTheUserLeftItWhateverTheManagersSteps)
{
    const QRect screen = QGuiApplication::screens().at(0)->geometry();
    const QRect first(screen.x() + 10, screen.y() + 10, 300, 200);
    const QRect place(screen.x() + 40, screen.y() + 50, 300, 200);  // the user's move
    const QRect moved(screen.x() + 120, screen.y() + 90, 300, 200); // a later move
    // The maximised window under a 19 px title, and the steps a manager takes to it from `place`.
    const QRect maximised(screen.x(), screen.y() + 19, screen.width(), screen.height() - 19);
    const QRect tall(place.topLeft(), QSize(place.width(), maximised.height() - 2));
    const QRect raised(QPoint(place.x(), maximised.y() + 1), tall.size());
    const QRect wide(raised.topLeft(), maximised.size());
    const QRect widened(place.topLeft(), maximised.size());
    const QRect full = screen;
    const QRect fullFromPlace(place.topLeft(), screen.size());
    // A manager that takes the frame's border off first shifts the window by it.
    const QRect shifted = place.translated(-1, -1);
    const QRect fullFromShifted(shifted.topLeft(), screen.size());
    // A maximise cut short after its height: the window reaches past the screen's bottom.
    const QRect halfway(place.topLeft(), QSize(place.width(), maximised.height()));
    // Where the user may leave the window: at the zoomed corner, at the left edge, made taller by
    // its bottom edge, or resized by its top-left corner.
    const QRect corner(maximised.topLeft(), place.size());
    const QRect leftEdge(screen.x(), place.y(), place.width(), place.height());
    const QRect taller(place.topLeft(), place.size() + QSize(0, 150));
    const QRect resized(place.topLeft() - QPoint(20, 30), place.size() + QSize(20, 30));
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
        {"maximised, the size then the corner, then the state",
         {Put(widened), Put(maximised), Report(max)},
         place,
         true},
        {"maximised in one configure before the state", {Put(maximised), Report(max)}, place, true},
        {"maximised in four steps before the state",
         {Put(tall), Put(raised), Put(wide), Put(maximised), Report(max)},
         place,
         true},
        {"maximised in four steps, the state between them",
         {Put(tall), Put(raised), Report(max), Put(wide), Put(maximised)},
         place,
         true},
        {"maximised in four steps, the border taken off as the top comes to the area's",
         {Put(tall), Put(QRect(QPoint(place.x(), raised.y()), tall.size())),
          Put(QRect(raised.topLeft() - QPoint(1, 1), tall.size())),
          Put(QRect(raised.topLeft() - QPoint(1, 1), maximised.size())), Put(maximised), Report(max)},
         place,
         true},
        {"maximised in three steps, the border taken off with the move to the area's top",
         {Put(tall), Put(QRect(QPoint(place.x() - 1, maximised.y()), tall.size())),
          Put(QRect(QPoint(place.x() - 1, maximised.y()), maximised.size())), Put(maximised), Report(max)},
         place,
         true},
        {"maximised, the state before the configure",
         {Report(max), Put(widened), Put(maximised)},
         place,
         true},
        {"full screen, the size then the corner, then the state",
         {Put(fullFromPlace), Put(full), Report(fs)},
         place,
         false},
        {"full screen after the frame's border is taken off",
         {Put(shifted), Put(fullFromShifted), Put(full), Report(fs)},
         place,
         false},
        {"full screen, the state before the configure",
         {Report(fs), Put(fullFromPlace), Put(full)},
         place,
         false},
        {"full screen from maximised, each configure before its state, full screen reported alone",
         {Put(widened), Put(maximised), Report(max), Put(QRect(maximised.topLeft(), full.size())), Put(full),
          Report(fs)},
         place,
         true},
        {"full screen from maximised, each configure before its state, both reported",
         {Put(widened), Put(maximised), Report(max), Put(full), Report(max | fs)},
         place,
         true},
        {"full screen from maximised in four steps, the state between them",
         {Put(tall), Put(raised), Report(max), Put(wide), Put(maximised), Put(full), Report(max | fs)},
         place,
         true},
        {"full screen from a maximise the manager left at its height and top, the states reported together",
         {Put(halfway), Put(QRect(QPoint(place.x(), maximised.y()), halfway.size())), Report(max | fs),
          Put(QRect(QPoint(place.x(), maximised.y()), full.size())), Put(full)},
         place,
         true},
        {"full screen from maximised, each state before its configure",
         {Report(max), Put(widened), Put(maximised), Report(max | fs), Put(full)},
         place,
         true},
        {"moved, then maximised",
         {Put(moved), Put(QRect(moved.topLeft(), maximised.size())), Put(maximised), Report(max)},
         moved,
         true},
        {"moved, then put in full screen", {Put(moved), Put(full), Report(fs)}, moved, false},
        {"dragged on in ever smaller steps, then maximised",
         {Put(place.translated(10, 6)), Put(place.translated(24, 16)), Put(place.translated(29, 19)),
          Put(place.translated(30, 20)), Put(QRect(place.topLeft() + QPoint(30, 20), maximised.size())),
          Put(maximised), Report(max)},
         place.translated(30, 20),
         true},
        {"moved to the zoomed corner, then maximised",
         {Put(corner), Put(maximised), Report(max)},
         corner,
         true},
        {"moved to the left edge, then maximised in four steps",
         {Put(leftEdge), Put(QRect(leftEdge.topLeft(), tall.size())),
          Put(QRect(leftEdge.x(), raised.y(), tall.width(), tall.height())),
          Put(QRect(leftEdge.x(), raised.y(), wide.width(), wide.height())), Put(maximised), Report(max)},
         leftEdge,
         true},
        {"made taller by its bottom edge and moved to the area's top, then maximised",
         {Put(taller), Put(QRect(QPoint(place.x(), maximised.y()), taller.size())),
          Put(QRect(QPoint(place.x(), maximised.y()), maximised.size())), Put(maximised), Report(max)},
         QRect(QPoint(place.x(), maximised.y()), taller.size()),
         true},
        {"resized by its top-left corner, then maximised, the state first",
         {Put(resized), Report(max), Put(QRect(resized.topLeft(), maximised.size())), Put(maximised)},
         resized,
         true},
        {"resized by its top-left corner, then maximised, the configure first",
         {Put(resized), Put(QRect(resized.topLeft(), maximised.size())), Put(maximised), Report(max)},
         resized,
         true},
        {"given back to the moved place, then maximised again, the configure first",
         {Put(maximised), Report(max), Put(moved), Report({}), Put(QRect(moved.topLeft(), maximised.size())),
          Put(maximised), Report(max)},
         moved,
         true},
        {"given back at the zoomed geometry and then moved, then maximised again, the state first",
         {Report(max), Put(maximised), Report({}), Put(QRect(moved.topLeft(), maximised.size())), Put(moved),
          Report(max), Put(QRect(moved.topLeft(), maximised.size())), Put(maximised)},
         moved,
         true},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        QMainWindow window;
        window.setObjectName(QStringLiteral("zorvpro__MainWindow"));
        window.setGeometry(first);
        FollowZoomedState(&window);
        window.show();
        std::vector<ManagerStep> steps{Put(place)};
        steps.insert(steps.end(), row.steps.begin(), row.steps.end());
        Qt::WindowStates reported;
        for (const ManagerStep& step : steps)
        {
            if (step.put)
            {
                QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(
                    window.windowHandle(), *step.put);
                continue;
            }
            QWindowSystemInterface::handleWindowStateChanged<QWindowSystemInterface::SynchronousDelivery>(
                window.windowHandle(), step.state);
            reported = step.state;
        }
        ASSERT_EQ(window.windowState(), reported);
        SaveWindowPlacement(&window, settings);
        const WindowSettings stored = settings.GetWindowSettings(window.objectName());
        EXPECT_EQ(std::make_pair(stored.x, stored.y), std::make_pair(row.stored.x(), row.stored.y()));
        EXPECT_EQ(stored.maximized, row.maximised);
    }
}
