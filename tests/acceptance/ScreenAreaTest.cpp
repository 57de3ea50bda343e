// The main window where the user put it: it stays there while the screen's available area changes
// and still holds it, and is brought within the area, moved the least, once the area no longer
// holds it, by its size or where it stands: a panel that appears, a lower resolution.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "PrivateServer.h"

#include "views/Shell/MainWindow.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
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

// First starts tried at a lowered resolution; before the restore followed the frame, about one in
// four left the window over the screen's edges on a loaded machine.
constexpr int kFirstStarts = 12;

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
    // Beyond the right edge, as a window spread over two screens lies beyond each.
    const QRect beyond(600, 100, 1500, 900);
    window->setGeometry(beyond);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isMaximized() && window->frameGeometry() == beyond; },
                                kDeadline))
        << Text(window->frameGeometry()) << (window->isMaximized() ? ", maximised" : "");
    // A panel along the bottom, then a taller one than the window: an area that never held the
    // window leaves it where it was put.
    for (const QRect& area : {QRect(0, 0, 1920, 1040), QRect(0, 0, 1920, 800)})
    {
        ASSERT_TRUE(SetWorkArea(area)) << "xprop (scripts/deps.sh installs it)";
        ASSERT_TRUE(QTest::qWaitFor([&] { return screen->availableGeometry() == area; }, kDeadline));
        // A size asked after the area changed: once the window has it, a move made for the area
        // change has come back from the server before it.
        const QRect sized = window->frameGeometry().adjusted(0, 0, 0, 1);
        window->resize(window->width(), window->height() + 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->height() == sized.height(); }, kDeadline));
        EXPECT_EQ(Text(window->frameGeometry()), Text(sized))
            << "moved by the area's change to " << Text(area);
    }

    // Wholly within the screen once the panel is gone.
    const QRect whole(0, 0, 1920, 1080);
    ASSERT_TRUE(SetWorkArea(whole));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->availableGeometry() == whole; }, kDeadline));
    const QRect put(400, 100, 1500, 900);
    window->setGeometry(put);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == put; }, kDeadline))
        << Text(window->frameGeometry());
    // A panel over its bottom edge: the area still holds its height, not where it stands; it is
    // moved up the least, its size kept.
    ASSERT_TRUE(SetWorkArea({0, 0, 1920, 960}));
    const QRect raised(400, 60, 1500, 900);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == raised; }, kDeadline))
        << Text(window->frameGeometry()) << " on an area of 1920x960";
    // A taller panel: the area no longer holds the window, which is fitted into it.
    ASSERT_TRUE(SetWorkArea({0, 0, 1920, 800}));
    const QRect fitted(400, 0, 1500, 800);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == fitted; }, kDeadline))
        << Text(window->frameGeometry()) << " on an area of 1920x800";
}

// Runs xrandr with these arguments on the display env names; true when it succeeded.
bool Xrandr(const QStringList& arguments,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    return ClientSucceeds(env, QStringLiteral("xrandr"), arguments);
}

// Lowers the screen's resolution to a mode made from the modeline `cvt` gives (name first, as
// "1700x900"); empty when done, else what failed. The server keeps a mode only while a client is
// connected or an output uses it: this one is used.
QString LowerResolution(const QStringList& modeline,
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    if (!Xrandr(QStringList{QStringLiteral("--newmode")} + modeline, env))
        return QStringLiteral("xrandr --newmode (scripts/deps.sh installs xrandr)");
    if (!Xrandr({QStringLiteral("--addmode"), QStringLiteral("screen"), modeline.first()}, env))
        return QStringLiteral("xrandr --addmode");
    if (!Xrandr({QStringLiteral("--output"), QStringLiteral("screen"), QStringLiteral("--mode"),
                 modeline.first()},
                env))
        return QStringLiteral("xrandr --output screen --mode ") + modeline.first();
    return QString();
}

// Waits until the window, shown maximised with no placement saved, is framed so by the window
// manager; then takes it out of that state as the manager's button does it (showNormal would also
// show the window again, which restores its placement, maximised), and waits until the manager has
// done so: the state left and the window framed anew.
void Unmaximise(MainWindow* window)
{
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->isMaximized() && window->windowHandle()->frameMargins().top() > 0; },
        kDeadline));
    const QMargins maximisedFrame = window->windowHandle()->frameMargins();
    window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !window->isMaximized() && window->windowHandle()->frameMargins() != maximisedFrame; },
        kDeadline))
        << Text(window->geometry()) << (window->isMaximized() ? ", maximised" : ", framed as maximised");
}

// Asks for the geometry until the window has it: a manager whose own steps of an earlier request
// (the size it keeps for a window leaving the maximised state) land after this one overrides it.
bool PutAt(QWidget* window, const QRect& put)
{
    QElapsedTimer asked;
    asked.start();
    window->setGeometry(put);
    return QTest::qWaitFor(
        [&]
        {
            if (window->geometry() == put)
                return true;
            if (asked.elapsed() > 1000)
            {
                window->setGeometry(put);
                asked.restart();
            }
            return false;
        },
        kDeadline);
}

// On the 1920 x 1080 screen the parent run started, under openbox: the window, no longer
// maximised, where a user put it, then the resolution lowered to 1700 x 900 by a RandR mode.
void CheckALowerResolutionBringsTheWindowWithinTheScreen()
{
    MainWindow* window = Window();
    QScreen* screen = window->screen();
    Unmaximise(window);
    if (::testing::Test::HasFatalFailure())
        return;
    // Framed as a normal window, with its borders, where it was put.
    const QRect put(520, 250, 1366, 768);
    ASSERT_TRUE(PutAt(window, put)) << Text(window->geometry())
                                    << (window->isMaximized() ? ", maximised" : "");
    const QRect framed = window->frameGeometry();
    ASSERT_TRUE(screen->availableGeometry().contains(framed)) << Text(framed);
    const QRect lowered(0, 0, 1700, 900);
    ASSERT_TRUE(framed.right() > lowered.right() && framed.bottom() > lowered.bottom()) << Text(framed);

    // The mode as `cvt 1700 900` gives it, its width not rounded up to a multiple of 8.
    const QString lowering = LowerResolution(
        {QStringLiteral("1700x900"), QStringLiteral("125.75"), QStringLiteral("1700"), QStringLiteral("1800"),
         QStringLiteral("1976"), QStringLiteral("2248"), QStringLiteral("900"), QStringLiteral("903"),
         QStringLiteral("913"), QStringLiteral("934"), QStringLiteral("-hsync"), QStringLiteral("+vsync")});
    ASSERT_TRUE(lowering.isEmpty()) << lowering.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->geometry() == lowered; }, kDeadline))
        << Text(screen->geometry());

    // Its size still fits, its right and bottom edges did not: moved up and left the least.
    const QRect moved(QPoint(lowered.right() + 1 - framed.width(), lowered.bottom() + 1 - framed.height()),
                      framed.size());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == moved; }, kDeadline))
        << Text(window->frameGeometry()) << " on a screen of 1700x900, from " << Text(framed);
}

// The frame the window manager gives the window, as it sets it on the window; none when unread.
QMargins ManagerFrame(const QWidget* window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("_NET_FRAME_EXTENTS")});
    if (!xprop.waitForFinished())
        return {};
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    const QString text = QString::fromLatin1(xprop.readAllStandardOutput());
    const QStringList values = text.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    if (values.size() != 4)
        return {};
    return {values[0].trimmed().toInt(), values[2].trimmed().toInt(), values[1].trimmed().toInt(),
            values[3].trimmed().toInt()};
}

// A first start (no settings) on a screen openbox manages, lowered to 1280 x 720 before the program
// started: shown maximised, then taken out of that state, the window lies within the screen with
// the manager's frame, shrunk only as far as it must be.
void CheckAFirstStartAtALowerResolutionRestoresWithinTheScreen()
{
    MainWindow* window = Window();
    const QRect lowered(0, 0, 1280, 720);
    ASSERT_EQ(Text(window->screen()->geometry()), Text(lowered));
    Unmaximise(window);
    if (::testing::Test::HasFatalFailure())
        return;
    // The manager restores it to the screen's size with no room for its frame: it must give up the
    // frame's width and height, and no more.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->windowHandle()->frameGeometry() == lowered; }, kDeadline))
        << "restored to " << Text(window->geometry()) << " in a frame of "
        << Text(window->windowHandle()->frameGeometry()) << " on a screen of " << Text(lowered);
    EXPECT_EQ(Text(window->geometry().marginsAdded(ManagerFrame(window))), Text(lowered))
        << "with the frame openbox has set on the window";
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

TEST(ScreenArea, ALowerResolutionBringsTheWindowWithinTheScreenUnderAWindowManager)
{
    if (InPrivateServerChild())
    {
        CheckALowerResolutionBringsTheWindowWithinTheScreen();
        return;
    }
    // A server of its own whose resolution can be lowered, with a window manager that leaves a
    // window the screen no longer holds where it was.
    const ChildRun run = RunOnPrivateServer(
        QStringLiteral("1920x1080x24"), true,
        QStringLiteral("ScreenArea.ALowerResolutionBringsTheWindowWithinTheScreenUnderAWindowManager"));
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
}

// The restore races the window manager's framing: how often a first start is tried for it to show.
TEST(ScreenArea, AFirstStartAtALowerResolutionRestoresTheWindowWithinTheScreen)
{
    if (InPrivateServerChild())
    {
        CheckAFirstStartAtALowerResolutionRestoresWithinTheScreen();
        return;
    }
    // `cvt 1280 720`
    const QStringList mode{QStringLiteral("1280x720"), QStringLiteral("74.50"),  QStringLiteral("1280"),
                           QStringLiteral("1344"),     QStringLiteral("1472"),   QStringLiteral("1664"),
                           QStringLiteral("720"),      QStringLiteral("723"),    QStringLiteral("728"),
                           QStringLiteral("748"),      QStringLiteral("-hsync"), QStringLiteral("+vsync")};
    for (int start = 1; start <= kFirstStarts; ++start)
    {
        const ChildRun run = RunOnPrivateServer(
            QStringLiteral("1920x1080x24"), true,
            QStringLiteral("ScreenArea.AFirstStartAtALowerResolutionRestoresTheWindowWithinTheScreen"),
            [&](const QProcessEnvironment& env) { return LowerResolution(mode, env); });
        ASSERT_EQ(run.exitCode, 0) << "first start " << start << " of " << kFirstStarts << ":\n"
                                   << run.output.right(3000).toStdString();
    }
}
} // namespace zorvpro::acceptance
