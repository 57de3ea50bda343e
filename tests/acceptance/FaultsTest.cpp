// What a user reaches through the real window: the send to the DSP application with its debug
// copy, the group gain, the beam-handle drag and its undo, the coverage-map switch, the about
// box's version, imperial units and the cursors over the views.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "data/Nodes/LoudspeakerClusterNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace zorvpro::acceptance
{
namespace
{
constexpr int kDeadline = 15000;
constexpr quint16 kDesignerPort = 10003;

QString Text(const char* name)
{
    auto* edit = FindAs<QLineEdit>(QLatin1String(name));
    EXPECT_NE(edit, nullptr) << name;
    return edit != nullptr ? edit->text() : QString();
}

int UndoSteps()
{
    QString result;
    QObject* processor = Window()->findChild<QObject*>(QStringLiteral("SquishCommandProcessor"));
    int size = -1;
    QMetaObject::invokeMethod(processor, "getUndoStackSize", Qt::DirectConnection, Q_RETURN_ARG(int, size));
    return size;
}

view::VenueView3D* View(const char* name)
{
    return FindAs<view::VenueView3D>(QLatin1String(name));
}

// Moves the pointer over the view, as a hand does, until the view shows the cursor; the point.
std::optional<QPoint> HoverUntil(QWidget* view, Qt::CursorShape shape, int step = 4)
{
    // A move through the window system arrives later, so the cursor seen after it may belong to a
    // point a little before: around the point found, moves delivered at once find where it shows.
    auto shows = [view, shape](QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        return view->cursor().shape() == shape;
    };
    for (int y = step; y < view->height() - step; y += step)
        for (int x = step; x < view->width() - step; x += step)
        {
            QTest::mouseMove(view, QPoint(x, y));
            if (view->cursor().shape() != shape)
                continue;
            for (int dy = -2 * step; dy <= 2 * step; ++dy)
                for (int dx = -2 * step; dx <= 2 * step; ++dx)
                    if (shows(QPoint(x + dx, y + dy)))
                    {
                        QTest::mouseMove(view, QPoint(x + dx, y + dy));
                        return QPoint(x + dx, y + dy);
                    }
            return QPoint(x, y);
        }
    return std::nullopt;
}

// One listener on the DSP application's port that keeps what one connection sent.
struct DesignerListener
{
    QTcpServer server;
    QByteArray received;
    bool closed = false;

    bool Listen()
    {
        // Another suite may hold the port for a moment.
        return QTest::qWaitFor([this] { return server.listen(QHostAddress::LocalHost, kDesignerPort); },
                               kDeadline);
    }
    void Accept()
    {
        QObject::connect(&server, &QTcpServer::newConnection,
                         [this]
                         {
                             QTcpSocket* socket = server.nextPendingConnection();
                             QObject::connect(socket, &QTcpSocket::readyRead,
                                              [this, socket] { received += socket->readAll(); });
                             QObject::connect(socket, &QTcpSocket::disconnected,
                                              [this, socket]
                                              {
                                                  received += socket->readAll();
                                                  closed = true;
                                              });
                         });
    }
};

TEST(Acceptance, SendToKvdDeliversTheSelectedArraysBeamXmlAndItsDebugCopy)
{
    NewProjectWithOneArray();
    const QString copy =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/beamInfo.xml");
    QFile::remove(copy);
    DesignerListener designer;
    ASSERT_TRUE(designer.Listen()) << "127.0.0.1:" << kDesignerPort << " stays busy";
    designer.Accept();
    ASSERT_TRUE(Click(QStringLiteral("buttonSendToKVD"))) << "buttonSendToKVD";
    ASSERT_TRUE(QTest::qWaitFor([&] { return designer.closed; }, kDeadline))
        << "buttonSendToKVD: nothing reached port 10003";
    EXPECT_TRUE(designer.received.startsWith("<")) << designer.received.left(200).toStdString();
    EXPECT_TRUE(designer.received.contains("TQR40V Array 1")) << "buttonSendToKVD sends another array";
    EXPECT_TRUE(designer.received.contains("<Arrays")) << designer.received.left(200).toStdString();
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "--dx: no beamInfo.xml beside the send";
    EXPECT_EQ(file.readAll(), designer.received + "\n");
    // The button is back for the next send once the transfer has ended.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return FindAs<QAbstractButton>(QStringLiteral("buttonSendToKVD"))->isEnabled(); }, kDeadline));
}

TEST(Acceptance, SetMaxGainRaisesTheSelectedArrayToTheEnginesMaximum)
{
    NewProjectWithOneArray();
    Type(Find(QStringLiteral("Cluster_GainEdit")), QStringLiteral("-9"));
    ASSERT_EQ(Text("Cluster_GainEdit").toDouble(), -9.0);
    LoudspeakerClusterNodePtr array;
    for (const NodePtr& node : ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren())
        if (auto speaker = std::dynamic_pointer_cast<LoudspeakerClusterNode>(node))
            array = speaker;
    ASSERT_NE(array, nullptr);
    const double maximum = array->GetGain() + array->GetGainHeadroom();
    ASSERT_GT(maximum, -9.0);
    const int steps = UndoSteps();
    ASSERT_TRUE(Click(QStringLiteral("setMaxGainButton"))) << "setMaxGainButton";
    EXPECT_NEAR(Text("Cluster_GainEdit").toDouble(), maximum, 0.05) << "setMaxGainButton is dead";
    EXPECT_EQ(UndoSteps(), steps + 1);
}

TEST(Acceptance, ABeamHandleDragInTheSideViewChangesTheBeamAndOneUndoRestoresIt)
{
    NewProjectWithOneArray();
    ASSERT_TRUE(Click(QStringLiteral("Toolbar_ZoomToFit"), SpeakerFrame("planToolbarContainerFrame")));
    view::VenueView3D* side = View("openGLSideSpkr");
    ASSERT_NE(side, nullptr);
    // The user aims at the handles the view has drawn: picking follows the frame last painted, so
    // once nothing waits for the refresh the frame is painted before the pointer looks for them.
    auto drawn = [side]
    {
        if (!QTest::qWaitFor([side] { return !side->NeedsRepaint(); }, kDeadline))
            return false;
        return !side->grabFramebuffer().isNull();
    };
    ASSERT_TRUE(drawn());
    const std::optional<QPoint> handle = HoverUntil(side, Qt::SizeAllCursor);
    ASSERT_TRUE(handle) << "no beam handle shows the move cursor in the side view";
    const char* fields[] = {"Beam_TopRearDistance1Edit", "Beam_TopRearAngle1Edit",
                            "Beam_BottomFrontDistance1Edit", "Beam_BottomFrontAngle1Edit"};
    QStringList before;
    for (const char* f : fields)
        before << Text(f);
    const int steps = UndoSteps();
    auto drag = [&]
    {
        QTest::mousePress(side, Qt::LeftButton, Qt::NoModifier, *handle);
        for (int i = 1; i <= 6; ++i)
            QTest::mouseMove(side, *handle + QPoint(12 * i, -4 * i));
        QTest::mouseRelease(side, Qt::LeftButton, Qt::NoModifier, *handle + QPoint(72, -24));
    };
    drag();
    QStringList after;
    for (const char* f : fields)
        after << Text(f);
    EXPECT_NE(after, before) << "the beam-handle drag changes nothing";
    EXPECT_EQ(UndoSteps(), steps + 1) << "a drag leaves one undo step";
    // Keys go to the active window, as the desktop makes the window the user works in.
    ASSERT_TRUE(windowtest::Activate(Window()));
    QTest::keyClick(Window(), Qt::Key_Z, Qt::ControlModifier);
    auto shown = [&]
    {
        QStringList texts;
        for (const char* f : fields)
            texts << Text(f);
        return texts;
    };
    // The tool bar's button takes the shortcut with its short click animation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == before; }, kDeadline))
        << "Ctrl+Z does not take the drag back: " << shown().join(' ').toStdString();
    EXPECT_EQ(UndoSteps(), steps + 1) << "the undone step stays for redo";
    // Once the view shows the beam as it was, the handle is back where the first drag began: the
    // same drag again reshapes the beam as the first did, as one step in place of the undone one.
    ASSERT_TRUE(drawn());
    drag();
    EXPECT_EQ(shown(), after) << "a second drag after the undo: " << shown().join(' ').toStdString();
    EXPECT_EQ(UndoSteps(), steps + 1);
    QTest::keyClick(Window(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == before; }, kDeadline))
        << "Ctrl+Z does not take the second drag back: " << shown().join(' ').toStdString();
}

TEST(Acceptance, TheAboutBoxShowsTheBuildsVersion)
{
    // The menu offers the box on the tab pages, not on the start page.
    NewProjectWithOneArray();
    QAction* about = Window()->findChild<QAction*>(QStringLiteral("actionAbout"));
    ASSERT_NE(about, nullptr);
    about->trigger();
    QWidget* dialog = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("zorvpro__AboutDialog") && w->isVisible())
                    dialog = w;
            return dialog != nullptr;
        },
        kDeadline));
    auto* info = dialog->findChild<QLabel*>(QStringLiteral("labelInfo"));
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->text().contains(QStringLiteral("Version " ZORV_EXPECTED_VERSION "\n")))
        << info->text().toStdString();
    ASSERT_TRUE(Click(QStringLiteral("buttonOk"), dialog));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, kDeadline));
}

TEST(Acceptance, ACursorSetOverAViewIsGoneOverAPanel)
{
    NewProjectWithOneArray();
    view::VenueView3D* plan = View("openGLPlanSpkr");
    ASSERT_NE(plan, nullptr);
    const std::optional<QPoint> over = HoverUntil(plan, Qt::SizeAllCursor, 3);
    ASSERT_TRUE(over) << "no array in the plan view shows the move cursor";
    // The real pointer: over the array, then over the entity list beside the views.
    QCursor::setPos(plan->mapToGlobal(*over));
    QWidget* panel = Find(QStringLiteral("speakerSelectionFrame"));
    ASSERT_NE(panel, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(plan->cursor().shape(), Qt::SizeAllCursor, kDeadline);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr)
        << "the view's cursor is set for the whole application";
    QCursor::setPos(panel->mapToGlobal(panel->rect().center()));
    QTRY_VERIFY_WITH_TIMEOUT(plan->cursor().shape() != Qt::SizeAllCursor, kDeadline);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(panel->cursor().shape(), Qt::ArrowCursor);
}

TEST(Acceptance, ShowSplMapHidesAndShowsTheMapsInBothViews)
{
    NewProjectWithOneArray();
    auto* show = FindAs<QAbstractButton>(QStringLiteral("Spl_ShowSplMap"));
    ASSERT_NE(show, nullptr);
    if (!show->isChecked())
        QTest::mouseClick(show, Qt::LeftButton);
    ASSERT_TRUE(show->isChecked());
    const QImage shown[] = {Frame("openGLPlanSpkr"), Frame("openGLSideSpkr")};
    QTest::mouseClick(show, Qt::LeftButton);
    ASSERT_FALSE(show->isChecked());
    EXPECT_TRUE(FrameChanges("openGLPlanSpkr", shown[0])) << "Spl_ShowSplMap: the plan view's map stays";
    EXPECT_TRUE(FrameChanges("openGLSideSpkr", shown[1])) << "Spl_ShowSplMap: the side view's map stays";
    const QImage hidden[] = {Frame("openGLPlanSpkr"), Frame("openGLSideSpkr")};
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_TRUE(FrameChanges("openGLPlanSpkr", hidden[0]))
        << "Spl_ShowSplMap: the plan view's map does not come back";
    EXPECT_TRUE(FrameChanges("openGLSideSpkr", hidden[1]))
        << "Spl_ShowSplMap: the side view's map does not come back";
}

TEST(Acceptance, ImperialUnitsChangeThePanelsUnits)
{
    NewProjectWithOneArray();
    const QString metricLabel = FindAs<QLabel>(QStringLiteral("Beam_TopPositionLabel"))->text();
    const double metricTop = Text("Beam_TopPositionEdit").toDouble();
    ASSERT_GT(metricTop, 1.0);
    // The start page's switch, as the user reaches it from "New Project".
    QAction* newProject = Window()->findChild<QAction*>(QStringLiteral("actionNew"));
    DiscardIfAsked([newProject] { newProject->trigger(); });
    auto* units = FindAs<QAbstractButton>(QStringLiteral("MeasurementUnits"));
    ASSERT_NE(units, nullptr) << "MeasurementUnits on the start page";
    const bool metric = units->isChecked();
    QTest::mouseClick(units, Qt::LeftButton);
    ASSERT_NE(units->isChecked(), metric);
    NewProjectWithOneArray();
    EXPECT_NE(FindAs<QLabel>(QStringLiteral("Beam_TopPositionLabel"))->text(), metricLabel);
    // In feet (a new array may sit on a round height of its own units).
    EXPECT_NEAR(Text("Beam_TopPositionEdit").toDouble(), metricTop / 0.3048, 0.5);
    // Back to metric for the other tests.
    DiscardIfAsked([newProject] { newProject->trigger(); });
    QTest::mouseClick(FindAs<QAbstractButton>(QStringLiteral("MeasurementUnits")), Qt::LeftButton);
}
} // namespace
} // namespace zorvpro::acceptance
