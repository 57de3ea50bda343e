// What a user reaches through the real window: the send to the DSP application with its debug
// copy, the group gain, the beam-handle drag and its undo, the coverage-map switch, the about
// box's version, imperial units and the cursors over the views.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "DesignerListener.h"

#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace zorvpro::acceptance
{
namespace
{
constexpr int kDeadline = 15000;

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
// Whether the view shows the cursor with the pointer moved to at, the move delivered at once.
bool ShowsCursorAt(QWidget* view, Qt::CursorShape shape, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    return view->cursor().shape() == shape;
}

// The middle of the first spot, scanned row by row, where the view shows the cursor. The moves
// are delivered at once: the window system's would arrive later, and a late one landing in a drag
// would move the pointer back.
std::optional<QPoint> HoverUntil(QWidget* view, Qt::CursorShape shape, int step = 4)
{
    // Picking follows the frame last painted: the view is looked over once it has painted.
    if (auto* painted = dynamic_cast<view::VenueView3D*>(view))
        (void)QTest::qWaitFor([painted] { return !painted->NeedsRepaint(); }, kDeadline);
    auto shows = [view, shape](QPoint at) { return ShowsCursorAt(view, shape, at); };
    for (int y = step; y < view->height() - step; y += step)
        for (int x = step; x < view->width() - step; x += step)
        {
            if (!shows(QPoint(x, y)))
                continue;
            QPoint sum;
            int hits = 0;
            for (int dy = -2 * step; dy <= 4 * step; ++dy)
                for (int dx = -2 * step; dx <= 4 * step; ++dx)
                    if (shows(QPoint(x + dx, y + dy)))
                    {
                        sum += QPoint(x + dx, y + dy);
                        ++hits;
                    }
            const QPoint middle = sum / hits;
            return shows(middle) ? middle : QPoint(x, y);
        }
    return std::nullopt;
}

// Picks the entry of the named combo box of the speaker page by keys, as a keyboard user does.
bool Choose(const char* name, const QString& entry)
{
    auto* combo = qobject_cast<QComboBox*>(Locate(QLatin1String(name), Window()));
    if (combo == nullptr || combo->findText(entry) < 0)
        return false;
    combo->setFocus(Qt::TabFocusReason);
    const int steps = UndoSteps();
    const bool down = combo->findText(entry) > combo->currentIndex();
    while (combo->currentText() != entry)
        QTest::keyClick(combo, down ? Qt::Key_Down : Qt::Key_Up);
    return QTest::qWaitFor([&] { return UndoSteps() == steps + 1; }, kDeadline);
}

// Types into the named field and waits until the entry is an undo step of its own.
bool Enter(const char* name, const QString& text)
{
    const int steps = UndoSteps();
    Type(Find(QLatin1String(name) + QStringLiteral("Edit")), text);
    return QTest::qWaitFor([&] { return UndoSteps() == steps + 1; }, kDeadline);
}

// One beam as the sent XML gives it: its properties by name, and its drivers.
struct SentBeam
{
    QMap<QString, QString> properties;
    int drivers = 0;
};

struct SentArray
{
    QString moduleCount;
    std::vector<SentBeam> beams;
};

SentArray ReadSent(const QByteArray& xml)
{
    SentArray sent;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
    {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("Beam"))
            sent.beams.emplace_back();
        else if (reader.name() == QLatin1String("Property"))
        {
            const QXmlStreamAttributes a = reader.attributes();
            const QString name = a.value(QStringLiteral("name")).toString();
            const QString value = a.value(QStringLiteral("value")).toString();
            if (name == QLatin1String("ModuleCount"))
                sent.moduleCount = value;
            else if (!sent.beams.empty() && a.hasAttribute(QStringLiteral("driver")))
                sent.beams.back().drivers += name == QLatin1String("Delay") ? 1 : 0;
            else if (!sent.beams.empty())
                sent.beams.back().properties.insert(name, value);
        }
    }
    return sent;
}

TEST(Acceptance, SendToKvdDeliversTheSelectedArraysBeamXmlAndItsDebugCopy)
{
    NewProjectWithOneArray();
    Activate();
    // Two modules and two beams, each beam shaped apart from the defaults and from the other.
    ASSERT_TRUE(Choose("Beam_Modules", QStringLiteral("2")));
    ASSERT_TRUE(Choose("Beam_Beams", QStringLiteral("Dual (Dante)")));
    const struct
    {
        const char* field;
        const char* beam1;
        const char* beam2;
    } typed[] = {{"Beam_MainGain", "-2.5", "-4"},        {"Beam_TopRearAngle", "6", "3"},
                 {"Beam_TopRearDistance", "24", "18"},   {"Beam_BottomFrontAngle", "-9", "-5"},
                 {"Beam_BottomFrontDistance", "7", "9"}, {"Beam_SteeringAngle", "-5", "4"},
                 {"Beam_SpreadingAngle", "11", "8"}};
    for (const auto& t : typed)
        for (int beam = 1; beam <= 2; ++beam)
            ASSERT_TRUE(
                Enter(QStringLiteral("%1%2").arg(QLatin1String(t.field)).arg(beam).toLatin1().constData(),
                      QLatin1String(beam == 1 ? t.beam1 : t.beam2)))
                << t.field << beam;
    QTest::mouseClick(FindAs<QAbstractButton>(QStringLiteral("Beam_Smoothing2")), Qt::LeftButton);

    const QString copy =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/beamInfo.xml");
    QFile::remove(copy);
    DesignerListener designer;
    ASSERT_TRUE(designer.Listen()) << "127.0.0.1:" << kDesignerPort << " stays busy";
    ASSERT_TRUE(Click(QStringLiteral("buttonSendToKVD"))) << "buttonSendToKVD";
    ASSERT_TRUE(QTest::qWaitFor([&] { return designer.closed; }, kDeadline))
        << "buttonSendToKVD: nothing reached port 10003";
    EXPECT_TRUE(designer.received.startsWith("<")) << designer.received.left(200).toStdString();
    EXPECT_TRUE(designer.received.contains("TQR40V Array 1")) << "buttonSendToKVD sends another array";
    EXPECT_TRUE(designer.received.contains("<Arrays")) << designer.received.left(200).toStdString();

    // What the panel shows is what arrives: modules, and each beam's drivers (16 to a module),
    // gain, throws, steering, spreading and smoothing.
    const SentArray sent = ReadSent(designer.received);
    const QString modules =
        qobject_cast<QComboBox*>(Locate(QStringLiteral("Beam_Modules"), Window()))->currentText();
    EXPECT_EQ(sent.moduleCount, modules);
    ASSERT_EQ(sent.beams.size(), 2u) << designer.received.toStdString();
    const struct
    {
        const char* sent;
        const char* field;
    } values[] = {{"BeamGain", "Beam_MainGain"},
                  {"AngleTop", "Beam_TopRearAngle"},
                  {"DistanceTop", "Beam_TopRearDistance"},
                  {"AngleBottom", "Beam_BottomFrontAngle"},
                  {"DistanceBottom", "Beam_BottomFrontDistance"},
                  {"SteerAngle", "Beam_SteeringAngle"},
                  {"SpreadAngle", "Beam_SpreadingAngle"}};
    for (int beam = 1; beam <= 2; ++beam)
    {
        SCOPED_TRACE(beam);
        const SentBeam& b = sent.beams[size_t(beam - 1)];
        EXPECT_EQ(b.drivers, 16 * modules.toInt());
        for (const auto& v : values)
        {
            const QString field = QStringLiteral("%1%2Edit").arg(QLatin1String(v.field)).arg(beam);
            ASSERT_TRUE(b.properties.contains(QLatin1String(v.sent))) << v.sent << " is not sent";
            // The panel shows one decimal.
            EXPECT_NEAR(b.properties.value(QLatin1String(v.sent)).toDouble(),
                        Text(field.toLatin1().constData()).toDouble(), 0.051)
                << v.sent << " against " << field.toStdString();
        }
        const bool smoothing =
            FindAs<QAbstractButton>(QStringLiteral("Beam_Smoothing%1").arg(beam))->isChecked();
        EXPECT_EQ(b.properties.value(QStringLiteral("GainShade")), smoothing ? "On" : "Off");
    }

    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "--dx: no beamInfo.xml beside the send";
    EXPECT_EQ(file.readAll(), designer.received + "\n");
    // The button is back for the next send once the transfer has ended.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return FindAs<QAbstractButton>(QStringLiteral("buttonSendToKVD"))->isEnabled(); }, kDeadline));
}

// Both arrays selected at the same gain rise to the loudest gain the gain field takes: what it
// holds a typed 60 dB to.
TEST(Acceptance, SetMaxGainRaisesEverySelectedArrayToTheLoudestTheGainFieldTakes)
{
    NewProjectWithOneArray();
    Activate();
    ASSERT_TRUE(Enter("Cluster_Gain", QStringLiteral("60")));
    const double loudest = Text("Cluster_GainEdit").toDouble();
    ASSERT_TRUE(Enter("Cluster_Gain", QStringLiteral("-9")));
    ASSERT_TRUE(Click(QStringLiteral("Toolbar_AddEntity"), SpeakerFrame("planToolbarContainerFrame")));
    auto* list =
        Window()->findChild<QWidget*>(QStringLiteral("tabButtonSpeaker"))->findChild<QTableWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 2 && list->selectedItems().size() > 0; },
                                kDeadline));
    ASSERT_TRUE(Enter("Cluster_Gain", QStringLiteral("-9")));
    // The first row, then the second with Ctrl.
    auto clickRow = [list](int row, Qt::KeyboardModifiers modifiers)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(list->model()->index(row, 1)).center());
    };
    clickRow(0, Qt::NoModifier);
    clickRow(1, Qt::ControlModifier);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list->selectionModel()->selectedRows().size() == 2; }, kDeadline))
        << "the two arrays are not both selected";
    const int steps = UndoSteps();
    ASSERT_TRUE(Click(QStringLiteral("setMaxGainButton"))) << "setMaxGainButton";
    EXPECT_EQ(UndoSteps(), steps + 1) << "one undo step for both";
    const QByteArray saved = SavedProject();
    for (int array = 0; array < 2; ++array)
        EXPECT_NEAR(NodeNumber(SavedNode(saved, "BeamSpeakerClusterNode", array), "ClusterGain"), loudest,
                    0.05)
            << "array " << array + 1 << " is not raised to " << loudest << " dB";
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
    // Press, moves with the button held and release, each delivered at once and in this order.
    auto drag = [&]
    {
        QTest::mousePress(side, Qt::LeftButton, Qt::NoModifier, *handle);
        for (int i = 1; i <= 6; ++i)
        {
            const QPoint at = *handle + QPoint(12 * i, -4 * i);
            QMouseEvent move(QEvent::MouseMove, at, side->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(side, &move);
        }
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
    // The handles come back with the view's refresh after the undo: the pointer rests on the spot
    // until it shows the move cursor again, as a user waits for it before pressing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShowsCursorAt(side, Qt::SizeAllCursor, *handle); }, kDeadline))
        << "the beam handle does not come back where the first drag began";
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

// The pixels of a frame in strong colours, as the coverage maps paint them.
int ColouredPixels(const QImage& frame)
{
    int coloured = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
        {
            const QColor c = frame.pixelColor(x, y);
            coloured +=
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 96;
        }
    return coloured;
}

TEST(Acceptance, ShowSplMapHidesAndShowsTheComputedMapsInBothViews)
{
    NewProjectWithOneArray();
    auto* show = FindAs<QAbstractButton>(QStringLiteral("Spl_ShowSplMap"));
    auto* calculate = FindAs<QAbstractButton>(QStringLiteral("Spl_AutoCalculate"));
    ASSERT_TRUE(show != nullptr && calculate != nullptr);
    if (!show->isChecked())
        QTest::mouseClick(show, Qt::LeftButton);
    ASSERT_TRUE(show->isChecked());
    const char* views[] = {"openGLPlanSpkr", "openGLSideSpkr"};
    int bare[2] = {};
    for (int v = 0; v < 2; ++v)
        bare[v] = ColouredPixels(Frame(views[v]));
    // A map covers far more of a view than the array's own colours do.
    auto coloured = [&](int v) { return ColouredPixels(Frame(views[v])); };
    if (!calculate->isChecked())
        QTest::mouseClick(calculate, Qt::LeftButton);
    ASSERT_TRUE(calculate->isChecked());
    int mapped[2] = {};
    for (int v = 0; v < 2; ++v)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return coloured(v) > bare[v] + 2000; }, 30000))
            << views[v] << ": no coloured map is computed (" << coloured(v) << " coloured pixels, " << bare[v]
            << " before)";
        mapped[v] = coloured(v);
    }
    // Hidden, a view has less than half the map's colours left; shown again, more.
    auto half = [&](int v) { return (bare[v] + mapped[v]) / 2; };
    QTest::mouseClick(show, Qt::LeftButton);
    ASSERT_FALSE(show->isChecked());
    for (int v = 0; v < 2; ++v)
        EXPECT_TRUE(QTest::qWaitFor([&] { return coloured(v) < half(v); }, kDeadline))
            << "Spl_ShowSplMap: " << views[v] << " keeps its map (" << coloured(v) << " coloured pixels, "
            << bare[v] << " before the map, " << mapped[v] << " with it)";
    QTest::mouseClick(show, Qt::LeftButton);
    for (int v = 0; v < 2; ++v)
        EXPECT_TRUE(QTest::qWaitFor([&] { return coloured(v) > half(v); }, kDeadline))
            << "Spl_ShowSplMap: " << views[v] << " does not show its map again (" << coloured(v)
            << " coloured pixels)";
    QTest::mouseClick(calculate, Qt::LeftButton);
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
