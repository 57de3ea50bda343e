// The main window where the user put it: partly beyond the screen's edge, as a window spread over
// two screens lies beyond each, it stays there while the screen's available area changes and still
// holds it, and is brought within the area once the area shrinks below it.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "PrivateServer.h"

#include "views/Shell/MainWindow.h"

#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>

namespace zorvpro::acceptance
{
namespace
{
// The available area as a panel or a dock sets it: the work area on the root window.
bool SetWorkArea(const QRect& area)
{
    const QString value =
        QStringLiteral("%1,%2,%3,%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height());
    return QProcess::execute(QStringLiteral("xprop"),
                             {QStringLiteral("-root"), QStringLiteral("-format"),
                              QStringLiteral("_NET_WORKAREA"), QStringLiteral("32c"), QStringLiteral("-set"),
                              QStringLiteral("_NET_WORKAREA"), value}) == 0;
}

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// On the 1920 x 1080 screen the parent run started, with no window manager: the window is where
// it is asked to be, with no frame.
void CheckTheWindowStaysUntilTheAreaNoLongerHoldsIt()
{
    MainWindow* window = Window();
    QScreen* screen = window->screen();
    // With no window manager to take it out of the maximised state it was shown in, the window is
    // shown again as a normal one. The placement it saves on hiding and restores on showing is
    // applied from the event loop, one step after another: waited for before the window is moved.
    window->hide();
    window->showNormal();
    bool restored = false;
    QTimer::singleShot(0, window, [&] { QTimer::singleShot(0, window, [&] { restored = true; }); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return restored; }, kDeadline));
    ASSERT_FALSE(window->isMaximized());
    const QRect put(600, 100, 1500, 900);
    window->setGeometry(put);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !window->isMaximized() && window->frameGeometry() == put; }, kDeadline))
        << Text(window->frameGeometry()) << (window->isMaximized() ? ", maximised" : "");

    // A panel along the bottom: the area still holds the window's height.
    const QRect lowered(0, 0, 1920, 1040);
    ASSERT_TRUE(SetWorkArea(lowered)) << "xprop (scripts/deps.sh installs it)";
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->availableGeometry() == lowered; }, kDeadline));
    // A size asked after the area changed: once the window has it, a move made for the area change
    // has come back from the server before it.
    window->resize(window->width(), window->height() + 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->height() == put.height() + 1; }, kDeadline));
    EXPECT_EQ(Text(window->frameGeometry()), Text(put.adjusted(0, 0, 0, 1))) << "moved by the area's change";

    // A taller panel: the area no longer holds the window, which is fitted into it and moved the least.
    ASSERT_TRUE(SetWorkArea({0, 0, 1920, 800}));
    const QRect fitted(420, 0, 1500, 800);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == fitted; }, kDeadline))
        << Text(window->frameGeometry()) << " on an area of 1920x800";
}
} // namespace

TEST(ScreenArea, TheWindowStaysWhereTheUserPutItUntilTheAreaNoLongerHoldsIt)
{
    if (InPrivateServerChild())
    {
        CheckTheWindowStaysUntilTheAreaNoLongerHoldsIt();
        return;
    }
    // A server of its own: the work area set here must not reach the other tests.
    const ChildRun run = RunOnPrivateServer(
        QStringLiteral("1920x1080x24"), false,
        QStringLiteral("ScreenArea.TheWindowStaysWhereTheUserPutItUntilTheAreaNoLongerHoldsIt"));
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
}
} // namespace zorvpro::acceptance
