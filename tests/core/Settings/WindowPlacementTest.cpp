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
