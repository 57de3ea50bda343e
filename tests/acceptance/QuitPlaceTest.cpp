// The place a window is quit at is where the next start puts it, also when it was quit maximised or
// in full screen: quit maximised, it starts maximised and comes back, restored, exactly where the
// user left it; quit in full screen, it starts as the window it was before, there. Each test quits
// the program through the window manager in one child and starts it again in a second, on one
// desktop with one settings folder.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "LoopWait.h"
#include "PrivateServer.h"
#include "WindowManagerSteps.h"

#include "data/Settings/WindowPlacement.h"
#include "views/Shell/MainWindow.h"

#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvpro::acceptance
{
namespace
{
constexpr char kStartVariable[] = "ZORV_QUIT_PLACE_START";
constexpr char kQuit[] = "quit";
constexpr char kAgain[] = "again";
// Which row of its table a child runs.
constexpr char kRowVariable[] = "ZORV_QUIT_PLACE_ROW";

enum class Zoom
{
    Maximised,
    FullScreen,
    FullScreenFromMaximised
};

struct QuitRow
{
    Desktop desktop;
    Zoom zoom;
    QPoint place; // where the user put the client's top-left before
    // How long the program takes to handle each move, resize and state change the window system
    // reports from the user's move on, as on a busy machine drawing a large screen in software: the
    // manager's steps of a zoom reach the placement that far apart.
    int handlingMs = 0;
};

// Holds each move, resize and state change that the window system reports to the window before
// the window sees it.
class SlowHandling : public QObject
{
    int ms_;

public:
    SlowHandling(QWidget* window, int ms) : QObject(window), ms_(ms) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (event->spontaneous() &&
            (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange))
            QThread::msleep(static_cast<unsigned long>(ms_));
        return false;
    }
};

// Where the first child writes how the server showed the window the user put: the next start
// must show it the same.
QString LeftFile()
{
    return Home() + QStringLiteral("/left-at.txt");
}

void QuitZoomed(const QuitRow& row)
{
    MainWindow* window = Window();
    RestoreTheFirstStart(window);
    if (::testing::Test::HasFatalFailure())
        return;
    // Installed after the placement's own filter, it runs before it.
    if (row.handlingMs > 0)
        new SlowHandling(window, row.handlingMs);
    MoveTo(window, QRect(row.place, QSize(1366, 768)));
    if (::testing::Test::HasFatalFailure())
        return;
    const std::optional<OnServer> left = ReadOnServer(window);
    ASSERT_TRUE(left) << "the window is gone from the server";
    QFile file(LeftFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(Text(*left).c_str()) > 0);
    file.close();
    if (row.zoom != Zoom::FullScreen)
        Maximise(window);
    if (row.zoom != Zoom::Maximised && !::testing::Test::HasFatalFailure())
        FullScreenOn(window);
    if (::testing::Test::HasFatalFailure())
        return;
    Close(window);
    if (::testing::Test::HasFatalFailure())
        return;
    // The place is stored a turn of the event loop after the window is hidden.
    WindowSettings stored;
    ASSERT_TRUE(LoopWaitFor([&] { return ReadWindowPlacement(window, stored); }, kDeadline))
        << "no place was stored for the closed window";
}

void StartAgain(const QuitRow& row)
{
    QFile file(LeftFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the first start wrote no place";
    const std::string left = file.readAll().toStdString();
    MainWindow* window = Window();
    WaitForManagedShow(window);
    if (::testing::Test::HasFatalFailure())
        return;
    const std::optional<OnServer> shown = ReadOnServer(window);
    ASSERT_TRUE(shown) << "the window is gone from the server";
    // Quit in full screen, it starts as the window it was before.
    if (row.zoom != Zoom::FullScreen)
    {
        ASSERT_TRUE(shown->Maximised()) << "quit maximised, the window starts as " << Text(*shown);
        Restore(window);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    const std::optional<OnServer> back = ReadOnServer(window);
    ASSERT_TRUE(back) << "the window is gone from the server";
    EXPECT_EQ(Text(*back), left) << (row.zoom == Zoom::FullScreen
                                         ? "quit in full screen, it starts elsewhere"
                                         : "quit maximised, it is restored elsewhere");
}

// In the children, the quit and the start after it of one row; in this process, the two children of
// each row in turn.
void RunQuitAndStartAgain(const std::vector<QuitRow>& rows)
{
    if (InPrivateServerChild())
    {
        const int index = qEnvironmentVariableIntValue(kRowVariable);
        ASSERT_TRUE(index >= 0 && index < static_cast<int>(rows.size())) << "no row " << index;
        const QuitRow& row = rows[static_cast<size_t>(index)];
        if (qEnvironmentVariable(kStartVariable) == QLatin1String(kQuit))
            QuitZoomed(row);
        else
            StartAgain(row);
        return;
    }
    for (size_t index = 0; index < rows.size(); ++index)
    {
        const QuitRow& row = rows[index];
        SCOPED_TRACE("under " + ManagerName(row.desktop.manager).toStdString() + ", row " +
                     std::to_string(index));
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        std::vector<QProcessEnvironment> starts;
        for (const char* start : {kQuit, kAgain})
        {
            QProcessEnvironment env;
            env.insert(QLatin1String(windowtest::kKeptHomeVariable), home.path());
            env.insert(QLatin1String(kStartVariable), QLatin1String(start));
            env.insert(QLatin1String(kRowVariable), QString::number(index));
            starts.push_back(env);
        }
        const ChildRun run = RunOnPrivateServer(row.desktop, ThisTest(), starts);
        EXPECT_EQ(run.exitCode, 0) << run.output.right(4000).toStdString();
    }
}

Desktop WithAPanel(Desktop::Monitors monitors, Desktop::Manager manager = Desktop::Manager::Openbox)
{
    Desktop desktop;
    desktop.monitors = monitors;
    desktop.panel = true;
    desktop.manager = manager;
    return desktop;
}

// Each zoom on one monitor with the panel, under that manager.
std::vector<QuitRow> OnOneMonitor(Desktop::Manager manager)
{
    const Desktop desktop = WithAPanel(Desktop::Monitors::One, manager);
    return {{desktop, Zoom::Maximised, {200, 100}},
            {desktop, Zoom::FullScreen, {200, 100}},
            {desktop, Zoom::FullScreenFromMaximised, {200, 100}}};
}

// Maximised and full screen on one monitor with the panel, the program slow to handle each of the
// manager's steps.
std::vector<QuitRow> SlowlyOnOneMonitor(Desktop::Manager manager)
{
    constexpr int kHandlingMs = 400;
    const Desktop desktop = WithAPanel(Desktop::Monitors::One, manager);
    return {{desktop, Zoom::Maximised, {200, 100}, kHandlingMs},
            {desktop, Zoom::FullScreen, {200, 100}, kHandlingMs}};
}

// Maximised on the second monitor, which has no panel, and full screen on the first, under its panel.
std::vector<QuitRow> OnTwoMonitors(Desktop::Manager manager)
{
    const Desktop desktop = WithAPanel(Desktop::Monitors::TwoSideBySide, manager);
    return {{desktop, Zoom::Maximised, {2200, 100}}, {desktop, Zoom::FullScreen, {200, 100}}};
}
} // namespace

TEST(ScreenArea, QuitMaximisedOnOneMonitorWithAPanelTheWindowStartsMaximisedAndRestoresToItsPlace)
{
    RunQuitAndStartAgain({{WithAPanel(Desktop::Monitors::One), Zoom::Maximised, {200, 100}}});
}

TEST(ScreenArea, QuitInFullScreenOnOneMonitorWithAPanelTheWindowStartsAtItsPlace)
{
    RunQuitAndStartAgain({{WithAPanel(Desktop::Monitors::One), Zoom::FullScreen, {200, 100}}});
}

// The manager reports full screen alone while it keeps the maximised state under it.
TEST(ScreenArea,
     QuitInFullScreenFromMaximisedOnOneMonitorWithAPanelTheWindowStartsMaximisedAndRestoresToItsPlace)
{
    RunQuitAndStartAgain({{WithAPanel(Desktop::Monitors::One), Zoom::FullScreenFromMaximised, {200, 100}}});
}

// On the second monitor, which has no panel.
TEST(ScreenArea, QuitMaximisedOnTwoMonitorsWithAPanelTheWindowStartsMaximisedAndRestoresToItsPlace)
{
    RunQuitAndStartAgain({{WithAPanel(Desktop::Monitors::TwoSideBySide), Zoom::Maximised, {2200, 100}}});
}

// On the first monitor, under its panel.
TEST(ScreenArea, QuitInFullScreenOnTwoMonitorsWithAPanelTheWindowStartsAtItsPlace)
{
    RunQuitAndStartAgain({{WithAPanel(Desktop::Monitors::TwoSideBySide), Zoom::FullScreen, {200, 100}}});
}

// Managers that move a window to its zoomed place before they report the state: the place stored is
// still the one the user left it at.
TEST(ScreenArea, QuitZoomedOnOneMonitorUnderIcewmTheWindowStartsAgainWhereTheUserLeftIt)
{
    RunQuitAndStartAgain(OnOneMonitor(Desktop::Manager::Icewm));
}

TEST(ScreenArea, QuitZoomedOnTwoMonitorsUnderIcewmTheWindowStartsAgainWhereTheUserLeftIt)
{
    RunQuitAndStartAgain(OnTwoMonitors(Desktop::Manager::Icewm));
}

TEST(ScreenArea, QuitZoomedOnOneMonitorUnderFluxboxTheWindowStartsAgainWhereTheUserLeftIt)
{
    RunQuitAndStartAgain(OnOneMonitor(Desktop::Manager::Fluxbox));
}

TEST(ScreenArea, QuitZoomedOnTwoMonitorsUnderFluxboxTheWindowStartsAgainWhereTheUserLeftIt)
{
    RunQuitAndStartAgain(OnTwoMonitors(Desktop::Manager::Fluxbox));
}

// The manager's steps reach a slow program as far apart as a user's move and zoom: the place stored
// is still the one the user left the window at.
TEST(ScreenArea,
     QuitZoomedUnderIcewmWhileTheProgramHandlesEachStepSlowlyTheWindowStartsAgainWhereTheUserLeftIt)
{
    RunQuitAndStartAgain(SlowlyOnOneMonitor(Desktop::Manager::Icewm));
}

TEST(ScreenArea,
     QuitZoomedUnderFluxboxWhileTheProgramHandlesEachStepSlowlyTheWindowStartsAgainWhereTheUserLeftIt)
{
    RunQuitAndStartAgain(SlowlyOnOneMonitor(Desktop::Manager::Fluxbox));
}
} // namespace zorvpro::acceptance
