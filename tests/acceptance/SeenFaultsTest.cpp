// What a user met in the window: the fields of a locked surface, the automatic SPL range when
// another array is selected or an edit empties the loudest map, a range set by hand kept while
// Auto-adjust is off, and the whole window on a small screen with a window manager.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "PrivateServer.h"
#include "WindowManagerSteps.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace zorvpro::acceptance
{
namespace
{
// A calculation of the maps runs on the engine's threads; it may take a while on a busy machine.
constexpr int kCalculationDeadline = 60000;

QAbstractButton* Switch(const char* name)
{
    return FindAs<QAbstractButton>(QLatin1String(name));
}

void Turn(const char* name, bool on)
{
    QAbstractButton* toggle = Switch(name);
    ASSERT_NE(toggle, nullptr) << name;
    if (toggle->isChecked() != on)
        QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_EQ(toggle->isChecked(), on) << name;
}

// Clicks the name of the list's row and waits until that row alone is selected.
bool SelectRow(QTableWidget* list, int row)
{
    // The list ignores clicks until a selection made by the program has settled.
    QCoreApplication::processEvents();
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    return QTest::qWaitFor(
        [&]
        {
            const QModelIndexList rows = list->selectionModel()->selectedRows(1);
            return rows.size() == 1 && rows.front().row() == row;
        },
        kDeadline);
}

QByteArray SavedBytes(const QString& path)
{
    PressOnWindow(QKeySequence(QKeySequence::Save));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SeenFaults, ALockedSurfaceShowsOnlyWhatItHolds)
{
    NewProjectOnVenuePage();
    QWidget* panel = Find(QStringLiteral("SurfacePropertiesControl"));
    ASSERT_NE(panel, nullptr);
    auto* list = FindAs<QTableWidget>(QStringLiteral("VenueTabEntitySelectionControl"));
    ASSERT_NE(list, nullptr);
    QWidget* lock = Find(QStringLiteral("Entity_Lock"), list);
    ASSERT_NE(lock, nullptr);
    QTest::mouseClick(lock, Qt::LeftButton);
    const QString path = Home() + QStringLiteral("/Documents/LockedSurface.tq");
    ASSERT_TRUE(AnswerFileDialog([] { PressOnWindow(QKeySequence(QStringLiteral("Ctrl+Shift+S"))); }, path));
    const QByteArray saved = SavedBytes(path);
    ASSERT_TRUE(saved.contains("Locked")) << saved.left(400).toStdString();

    // Selected again, as the user comes back to it: nothing of the panel takes an edit.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(list->model()->index(0, 1)).center());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list->selectionModel()->selectedRows(1).isEmpty(); }, kDeadline));
    ASSERT_TRUE(SelectRow(list, 0));
    const char* corners[] = {"Quad_P1X", "Quad_P1Y", "Quad_P1Z", "Quad_P2X", "Quad_P2Y", "Quad_P2Z",
                             "Quad_P3X", "Quad_P3Y", "Quad_P3Z", "Quad_P4X", "Quad_P4Y", "Quad_P4Z"};
    int fields = 0;
    for (QWidget* field : panel->findChildren<QWidget*>())
    {
        auto* edit = qobject_cast<QLineEdit*>(field);
        auto* toggle = qobject_cast<QAbstractButton*>(field);
        if ((edit == nullptr && toggle == nullptr) || !field->isVisible())
            continue;
        ++fields;
        EXPECT_TRUE(!field->isEnabled() || (edit != nullptr && edit->isReadOnly()))
            << field->objectName().toStdString() << " takes edits on a locked surface";
    }
    EXPECT_EQ(fields, 22) << "the panel's fields: P0, the shape, the rotation, the corners, the ear height";
    for (const char* corner : corners)
    {
        SCOPED_TRACE(corner);
        auto* edit = FindAs<QLineEdit>(QLatin1String(corner) + QStringLiteral("Edit"), panel);
        ASSERT_NE(edit, nullptr);
        const QString before = edit->text();
        ASSERT_FALSE(before.isEmpty());
        Type(edit, QStringLiteral("7.25"));
        EXPECT_EQ(edit->text(), before) << "the field shows a value the surface does not hold";
    }
    EXPECT_EQ(SavedBytes(path), saved);
}

// The levels the range fields show: upper, lower.
std::pair<QString, QString> ShownRange()
{
    auto* upper = FindAs<QLineEdit>(QStringLiteral("Spl_Max_dBEdit"));
    auto* lower = FindAs<QLineEdit>(QStringLiteral("Spl_Min_dBEdit"));
    if (upper == nullptr || lower == nullptr)
        return {};
    return {upper->text(), lower->text()};
}

// Every map the automation interface lists has computed levels.
bool AllMapsComputed(const QString& maps, int speakers)
{
    return maps.count(QStringLiteral("\"points\"")) >= speakers + 2 &&
           maps.count(QStringLiteral("\"type\"")) == maps.count(QStringLiteral("\"points\""));
}

// The loudest level of the side-view map of the named array.
double Loudest(const QString& maps, const char* array)
{
    double loudest = -1e300;
    for (const QJsonValue& pairing :
         QJsonDocument::fromJson(maps.toUtf8()).object()[QStringLiteral("pairings")].toArray())
        if (pairing[QStringLiteral("name")].toString() == QLatin1String(array))
            for (const QJsonValue& point : pairing[QStringLiteral("points")].toArray())
                loudest = std::max(loudest, point[QStringLiteral("spl")].toDouble());
    return loudest;
}

TEST(SeenFaults, AutoAdjustFitsTheRangeToTheSelectedArraysMap)
{
    NewProjectWithOneArray();
    Activate();
    Turn("Spl_AutoCalculate", true);
    Turn("Spl_Auto_Adjust", true);
    // Two arrays whose maps need different ranges: the first much quieter, the second apart.
    Type(Find(QStringLiteral("Cluster_GainEdit")), QStringLiteral("-20"));
    ASSERT_TRUE(Click(QStringLiteral("Toolbar_AddEntity"), SpeakerFrame("planToolbarContainerFrame")));
    auto* list = FindAs<QTableWidget>(QStringLiteral("SpeakerAnalysisTabEntitySelectionControl"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 2; }, kDeadline));
    Type(Find(QStringLiteral("Beam_PosYEdit")), QStringLiteral("15"));
    // Computed as they stand now: one array's own map is the louder by far.
    ASSERT_TRUE(QTest::qWaitFor(
        []
        {
            const QString maps = Invoke("getSplMap");
            return AllMapsComputed(maps, 2) &&
                   std::abs(Loudest(maps, "TQR40V Array 2") - Loudest(maps, "TQR40V Array 1")) > 6.0;
        },
        kCalculationDeadline))
        << "the arrays' maps reach " << Loudest(Invoke("getSplMap"), "TQR40V Array 1") << " and "
        << Loudest(Invoke("getSplMap"), "TQR40V Array 2") << " dB";

    // Each selection shows another array's map in the side view; the range shown must be the one
    // "Adjust range to data" gives for it. Maps still arriving are waited out: the check is made
    // again when a result came between the two readings.
    std::pair<QString, QString> fitted[2];
    for (int row : {0, 1, 0, 1})
    {
        SCOPED_TRACE(row);
        std::pair<QString, QString> shown;
        std::pair<QString, QString> adjusted;
        QString maps;
        ASSERT_TRUE(QTest::qWaitFor(
            [&]
            {
                if (!SelectRow(list, 1 - row) || !SelectRow(list, row))
                    return false;
                maps = Invoke("getSplMap");
                shown = ShownRange();
                EXPECT_TRUE(Click(QStringLiteral("Spl_Adjust_Spl_Range")));
                adjusted = ShownRange();
                return AllMapsComputed(maps, 2) && Invoke("getSplMap") == maps;
            },
            kCalculationDeadline))
            << "the maps never settle";
        EXPECT_EQ(shown, adjusted) << "Auto-adjust left " << shown.first.toStdString() << "/"
                                   << shown.second.toStdString() << " where the data needs "
                                   << adjusted.first.toStdString() << "/" << adjusted.second.toStdString();
        fitted[row] = adjusted;
    }
    ASSERT_NE(fitted[0], fitted[1]) << "both arrays' maps need the same range: the selection cannot tell";
}

TEST(SeenFaults, WithAutoAdjustOffTheRangeTypedStaysThroughCalculationsAndSelections)
{
    NewProjectWithOneArray();
    Activate();
    Turn("Spl_Auto_Adjust", false);
    Turn("Spl_AutoCalculate", true);
    // A range no fit gives: a fitted range spans 30 dB or starts at 36 dB.
    Type(Find(QStringLiteral("Spl_Max_dBEdit")), QStringLiteral("127"));
    Type(Find(QStringLiteral("Spl_Min_dBEdit")), QStringLiteral("41"));
    const std::pair<QString, QString> typed = ShownRange();
    ASSERT_TRUE(typed == std::make_pair(QStringLiteral("127"), QStringLiteral("41")))
        << typed.first.toStdString() << "/" << typed.second.toStdString();
    auto kept = [&typed](const char* after)
    {
        const std::pair<QString, QString> shown = ShownRange();
        EXPECT_TRUE(shown == typed) << "after " << after << " the range shows " << shown.first.toStdString()
                                    << "/" << shown.second.toStdString();
    };
    ASSERT_TRUE(
        QTest::qWaitFor([] { return AllMapsComputed(Invoke("getSplMap"), 1); }, kCalculationDeadline));

    // Two calculations, each waited for until the array's own map is quieter by the new gain. The
    // poll takes the engine's messages in order, so by the second map the first step's end has
    // been handled.
    for (const char* gain : {"-6", "-12"})
    {
        SCOPED_TRACE(gain);
        const double before = Loudest(Invoke("getSplMap"), "TQR40V Array 1");
        Type(Find(QStringLiteral("Cluster_GainEdit")), QLatin1String(gain));
        ASSERT_TRUE(QTest::qWaitFor(
            [before]
            {
                const QString maps = Invoke("getSplMap");
                return AllMapsComputed(maps, 1) && Loudest(maps, "TQR40V Array 1") < before - 3.0;
            },
            kCalculationDeadline))
            << "the map stays at " << Loudest(Invoke("getSplMap"), "TQR40V Array 1") << " dB";
        kept("a finished calculation");
    }

    // Another array, selected as it is added; then each array selected with both maps computed.
    ASSERT_TRUE(Click(QStringLiteral("Toolbar_AddEntity"), SpeakerFrame("planToolbarContainerFrame")));
    auto* list = FindAs<QTableWidget>(QStringLiteral("SpeakerAnalysisTabEntitySelectionControl"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 2; }, kDeadline));
    kept("a new array");
    ASSERT_TRUE(
        QTest::qWaitFor([] { return AllMapsComputed(Invoke("getSplMap"), 2); }, kCalculationDeadline));
    for (int row : {0, 1})
    {
        ASSERT_TRUE(SelectRow(list, row));
        kept(row == 0 ? "selecting the first array" : "selecting the second array");
    }
}

// The range Auto-adjust fits to maps whose loudest point is at loudest: 30 dB up to that level
// rounded, kept between 36 and 132 dB. Upper, lower.
std::pair<double, double> FittedRange(double loudest)
{
    const double top = std::round(std::min(132.0, loudest));
    return {top, std::max(36.0, top - 30.0)};
}

std::pair<double, double> ShownLevels()
{
    const std::pair<QString, QString> shown = ShownRange();
    return {shown.first.toDouble(), shown.second.toDouble()};
}

TEST(SeenFaults, AutoAdjustFitsOutTheLoudestMapAnEditEmptiesWithAutoCalculateOff)
{
    NewProjectWithOneArray();
    Activate();
    Turn("Spl_AutoCalculate", true);
    Turn("Spl_Auto_Adjust", true);
    // The selected array's side-view map and the venue's surface map are drawn. Once computed, the
    // range is fitted to the louder; this also proves FittedRange is the window's own fit.
    double surface = 0.0;
    double array = 0.0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            const QString maps = Invoke("getSplMap");
            surface = Loudest(maps, "Surface 1");
            array = Loudest(maps, "TQR40V Array 1");
            return AllMapsComputed(maps, 1) && ShownLevels() == FittedRange(std::max(surface, array));
        },
        kCalculationDeadline))
        << "the maps reach " << surface << " and " << array << " dB; the range shows "
        << ShownRange().first.toStdString() << "/" << ShownRange().second.toStdString();
    const std::pair<double, double> before = ShownLevels();
    const std::pair<double, double> needed = FittedRange(surface);
    ASSERT_NE(needed, before) << "the array's map is not the louder: emptying it cannot move the range";

    // Turned with no calculation to follow, the array's map is empty until the next one; the
    // surface's map alone is drawn, and the range must come to it.
    Turn("Spl_AutoCalculate", false);
    Type(Find(QStringLiteral("Beam_YawPositionEdit")), QStringLiteral("30"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ShownLevels() == needed; }, kDeadline))
        << "the range stays at " << ShownRange().first.toStdString() << "/"
        << ShownRange().second.toStdString() << " while only a " << surface << " dB map is drawn";
    EXPECT_EQ(Loudest(Invoke("getSplMap"), "Surface 1"), surface) << "the surface's map was computed again";
}

// The window on the small screen the parent run started: the window manager frames it, and the
// window with its frame, the tab bar and the bottom bar under the side view all lie on the screen,
// maximised as at the first start and as a normal window.
void CheckTheWholeWindowIsOnTheScreen()
{
    NewProjectWithOneArray();
    MainWindow* window = Window();
    WaitForManagedShow(window);
    for (const bool maximised : {true, false})
    {
        SCOPED_TRACE(maximised ? "maximised" : "normal");
        // As the user asks the manager, by its title bar.
        if (maximised)
            Maximise(window);
        else
            Restore(window);
        if (::testing::Test::HasFatalFailure())
            return;
        QRect available;
        QRect outer;
        auto onScreen = [&]
        {
            available = window->screen()->availableGeometry();
            outer = window->frameGeometry();
            const bool framed = window->windowHandle()->frameMargins().top() > 0;
            bool barsShown = true;
            for (const char* name :
                 {"buttonVenueTab", "Spl_ShowSplMap", "Spl_AutoCalculate", "Spl_RecalculateButton"})
            {
                QWidget* w = Find(QLatin1String(name));
                barsShown = barsShown && w != nullptr &&
                            available.contains(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
            }
            return framed && window->isMaximized() == maximised && available.contains(outer) && barsShown;
        };
        EXPECT_TRUE(QTest::qWaitFor(onScreen, kDeadline))
            << "the window " << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height()
            << " on the area " << available.width() << "x" << available.height() << " with a frame of "
            << window->windowHandle()->frameMargins().top() << " above";
    }
}

TEST(SeenFaults, TheWholeWindowIsOnASmallScreenWithAWindowManager)
{
    if (InPrivateServerChild())
    {
        CheckTheWholeWindowIsOnTheScreen();
        return;
    }
    // A screen of the smallest supported size with the window manager that showed the fault.
    Desktop small;
    small.screen = QStringLiteral("1366x768x24");
    const ChildRun run = RunOnPrivateServer(small, ThisTest());
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
}
} // namespace
} // namespace zorvpro::acceptance
