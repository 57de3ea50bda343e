// Undo and redo of the array's edits through the real window: every edit of a field of the array
// and of its beams, in every beam shape and with one and two beams, is saved before and after;
// undone, the project saves byte for byte as before it, redone, as right after it. Values the
// steering solver derives from the one edited (the other throw, the spreading, the beam count's
// lost beam) must come back too.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "core/Commands/UndoStack.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QList>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>
#include <QWindow>
#include <gtest/gtest.h>
#include <vector>

namespace zorvpro::acceptance
{
namespace
{
QWidget* Page()
{
    return Window()->findChild<QWidget*>(QStringLiteral("tabButtonSpeaker"));
}

QString ProjectPath()
{
    return Home() + QStringLiteral("/Documents/undo.tq");
}

int StackIndex()
{
    return UndoStack::Instance().index();
}

// "Save Project", once the project has its file; the file's text.
QByteArray Save()
{
    QAction* save = Window()->findChild<QAction*>(QStringLiteral("actionSave"));
    if (save == nullptr)
        return QByteArray();
    save->trigger();
    QFile file(ProjectPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where two saved files part: the first line that differs in each.
std::string FirstDifference(const QByteArray& expected, const QByteArray& actual)
{
    const QList<QByteArray> a = expected.split('\n');
    const QList<QByteArray> b = actual.split('\n');
    for (int i = 0; i < qMax(a.size(), b.size()); ++i)
    {
        const QByteArray x = i < a.size() ? a[i].trimmed() : QByteArray("(end)");
        const QByteArray y = i < b.size() ? b[i].trimmed() : QByteArray("(end)");
        if (x != y)
            return "line " + std::to_string(i + 1) + ": expected " + x.toStdString() + ", saved " +
                   y.toStdString();
    }
    return "the same";
}

// A new project with one array, saved once under its name so that "Save Project" needs no dialog.
void StartProject()
{
    NewProjectWithOneArray();
    QFile::remove(ProjectPath());
    QAction* saveAs = Window()->findChild<QAction*>(QStringLiteral("actionSaveAs"));
    ASSERT_NE(saveAs, nullptr);
    ASSERT_TRUE(AnswerFileDialog([saveAs] { saveAs->trigger(); }, ProjectPath()));
    ASSERT_TRUE(QFile::exists(ProjectPath()));
    Activate();
}

// Opens the saved project again, as a user does, and selects its array on the speaker page: the
// beams are then built from the file's rounded values.
void ReopenProject()
{
    QAction* open = Window()->findChild<QAction*>(QStringLiteral("actionOpen"));
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(AnswerFileDialog([open] { open->trigger(); }, ProjectPath()));
    ASSERT_TRUE(Click(QStringLiteral("buttonSpeakerTab")));
    auto* list = Page()->findChild<QTableWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible() && list->rowCount() == 1; }, kDeadline));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(list->model()->index(0, 1)).center());
    ASSERT_TRUE(QTest::qWaitFor(
        []
        {
            auto* send = FindAs<QAbstractButton>(QStringLiteral("buttonSendToKVD"));
            return send != nullptr && send->isEnabled();
        },
        kDeadline))
        << "the array is not selected";
    Activate();
}

struct Act
{
    const char* control; // property item name
    const char* value;   // typed, the entry chosen, or "click"
};

// Does to the control what a user does: types the value and Return into a field, picks the entry
// by its first letter in a combo box, clicks a switch, types into the comments and clicks away.
// Empty once the control shows what was asked; else what it shows.
QString Apply(const Act& act)
{
    QWidget* control = Locate(QLatin1String(act.control), Page());
    if (control == nullptr || !control->isVisible() || !control->isEnabled())
        return QStringLiteral("not shown or disabled");
    const QString value = QLatin1String(act.value);
    const int index = StackIndex();
    // Keys typed before Qt gives the window the focus again (after a dialog or a combo box's list)
    // would go nowhere.
    if (!QTest::qWaitFor([] { return QGuiApplication::focusWindow() == Window()->windowHandle(); },
                         kDeadline))
        return QStringLiteral("the window does not take the keys");
    QCoreApplication::processEvents();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
    {
        Type(edit, value);
        // Committed: the field has the focus back with the value whole and selected.
        const bool shown = QTest::qWaitFor(
            [&]
            {
                return edit->hasFocus() && edit->selectedText() == edit->text() &&
                       qAbs(edit->locale().toDouble(edit->text()) - value.toDouble()) < 1e-9;
            },
            kDeadline);
        return shown ? QString() : QStringLiteral("shows %1").arg(edit->text());
    }
    if (auto* combo = qobject_cast<QComboBox*>(control))
    {
        const int entry = combo->findText(value);
        if (entry < 0)
            return QStringLiteral("has no entry %1").arg(value);
        if (entry != combo->currentIndex())
        {
            QTest::mouseClick(combo, Qt::LeftButton);
            QAbstractItemView* list = combo->view();
            if (!QTest::qWaitFor([list] { return list->isVisible(); }, kDeadline))
                return QStringLiteral("does not open");
            // A click released right after the list opened counts as the opening click's own:
            // in the open list the keys take the entry.
            QTest::keyClick(list, Qt::Key_Home);
            for (int i = 0; i < entry; ++i)
                QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        }
        return QTest::qWaitFor([&] { return combo->currentText() == value; }, kDeadline)
                   ? QString()
                   : QStringLiteral("shows %1").arg(combo->currentText());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        QTest::mouseClick(button, Qt::LeftButton);
    else
    {
        QTest::mouseClick(control, Qt::LeftButton);
        QTest::keyClicks(control, value);
        QTest::mouseClick(Locate(QStringLiteral("Cluster_Delay"), Page()), Qt::LeftButton);
    }
    return QTest::qWaitFor([&] { return StackIndex() != index; }, kDeadline) ? QString()
                                                                             : QStringLiteral("no step");
}

// Clicks the tool bar's undo or redo until the stack stands at index.
bool StepTo(int index)
{
    QWidget* bar = SpeakerFrame("planToolbarContainerFrame");
    while (StackIndex() != index)
    {
        const int from = StackIndex();
        QWidget* button =
            Find(from > index ? QStringLiteral("Toolbar_Undo") : QStringLiteral("Toolbar_Redo"), bar);
        if (button == nullptr)
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return StackIndex() != from; }, kDeadline))
            return false;
    }
    return true;
}

struct Row
{
    const char* what;
    bool fresh;             // on a new project with one new array
    bool reopen;            // the setup saved and the project opened again before the edits
    std::vector<Act> setup; // brings the panel to the beam shapes and values the edits start from
    std::vector<Act> edits; // each one user action whose undo and redo are checked
};

std::vector<Row> Table()
{
    const Act single{"Beam_Beams", "Single"}, dual{"Beam_Beams", "Dual (Dante)"};
    const Act steer1{"Beam_Manual1", "Steer / Spread"}, flat1{"Beam_Manual1", "Flat Floor"},
        raked1{"Beam_Manual1", "Raked Floor"};
    const Act steer2{"Beam_Manual2", "Steer / Spread"}, flat2{"Beam_Manual2", "Flat Floor"},
        raked2{"Beam_Manual2", "Raked Floor"};
    return {
        {"the second beam's gain survives two beams to one and back",
         true,
         false,
         {dual},
         {{"Beam_MainGain2", "-4"}, single, dual}},
        {"a raked floor's top throw angle and the bottom throw it moves",
         true,
         false,
         {raked1},
         {{"Beam_TopRearAngle1", "-5"}}},
        {"a raked floor's top throw distance and the bottom throw it moves",
         true,
         false,
         {raked1, {"Beam_TopRearDistance1", "12"}},
         {{"Beam_TopRearDistance1", "10"}}},
        {"steer / spread: the spreading a bottom throw angle leaves",
         true,
         true,
         {steer1, {"Beam_SpreadingAngle1", "5"}},
         {{"Beam_BottomFrontAngle1", "-25"}}},
        {"the second beam's raked floor throws",
         true,
         false,
         {dual, raked2, {"Beam_TopRearDistance2", "12"}},
         {{"Beam_TopRearAngle2", "-5"}, {"Beam_TopRearDistance2", "10"}}},
        {"the array's fields",
         false,
         false,
         {single, steer1},
         {{"Cluster_Gain", "-4"},
          {"Cluster_Delay", "2.5"},
          {"Beam_PosX", "3"},
          {"Beam_PosY", "2"},
          {"Beam_TopPosition", "5"},
          {"Beam_CenterPosition", "4"},
          {"Beam_BottomPosition", "2"},
          {"Beam_PitchPosition", "4"},
          {"Beam_YawPosition", "10"},
          {"Entity_Visibility", "click"},
          {"Entity_Visibility", "click"},
          {"Entity_Mute", "click"},
          {"Entity_Mute", "click"},
          {"Entity_Lock", "click"},
          {"Entity_Lock", "click"},
          {"Beam_Comments", "Balcony fill"}}},
        {"the module count and the spreading it limits",
         false,
         false,
         {single, steer1, {"Beam_Modules", "3"}, {"Beam_SpreadingAngle1", "40"}},
         {{"Beam_Modules", "1"}, {"Beam_Modules", "2"}}},
        {"the module count under a raked floor",
         false,
         false,
         {raked1},
         {{"Beam_Modules", "3"}, {"Beam_Modules", "1"}}},
        {"the first beam, steer / spread",
         false,
         false,
         {single, steer1},
         {{"Beam_MainGain1", "-2"},
          {"Beam_TopRearAngle1", "5"},
          {"Beam_TopRearDistance1", "30"},
          {"Beam_BottomFrontAngle1", "-10"},
          {"Beam_BottomFrontDistance1", "8"},
          {"Beam_SteeringAngle1", "-6"},
          {"Beam_SpreadingAngle1", "12"},
          {"Beam_Smoothing1", "click"}}},
        {"the first beam, flat floor",
         false,
         false,
         {flat1},
         {{"Beam_MainGain1", "-3"},
          {"Beam_TopRearAngle1", "4"},
          {"Beam_TopRearDistance1", "25"},
          {"Beam_BottomFrontAngle1", "-8"},
          {"Beam_BottomFrontDistance1", "9"},
          {"Beam_SteeringAngle1", "-5"},
          {"Beam_Smoothing1", "click"}}},
        {"the first beam, raked floor",
         false,
         false,
         {raked1},
         {{"Beam_MainGain1", "-1"},
          {"Beam_TopRearAngle1", "3"},
          {"Beam_TopRearDistance1", "20"},
          {"Beam_BottomFrontAngle1", "-12"},
          {"Beam_BottomFrontDistance1", "7"}}},
        {"the first beam's shape", false, false, {steer1}, {flat1, raked1, steer1}},
        {"the second beam, steer / spread",
         false,
         false,
         {dual, steer2},
         {{"Beam_MainGain2", "-3"},
          {"Beam_TopRearAngle2", "6"},
          {"Beam_TopRearDistance2", "25"},
          {"Beam_BottomFrontAngle2", "-8"},
          {"Beam_BottomFrontDistance2", "9"},
          {"Beam_SteeringAngle2", "-4"},
          {"Beam_SpreadingAngle2", "10"},
          {"Beam_Smoothing2", "click"}}},
        {"the second beam, flat floor",
         false,
         false,
         {dual, flat2},
         {{"Beam_MainGain2", "-5"},
          {"Beam_TopRearAngle2", "2"},
          {"Beam_TopRearDistance2", "18"},
          {"Beam_BottomFrontAngle2", "-6"},
          {"Beam_BottomFrontDistance2", "10"},
          {"Beam_SteeringAngle2", "-3"},
          {"Beam_Smoothing2", "click"}}},
        {"the second beam, raked floor",
         false,
         false,
         {dual, raked2},
         {{"Beam_MainGain2", "-2"},
          {"Beam_TopRearAngle2", "-4"},
          {"Beam_TopRearDistance2", "22"},
          {"Beam_BottomFrontAngle2", "-9"},
          {"Beam_BottomFrontDistance2", "6"}}},
        {"the second beam's shape and the beam count",
         false,
         false,
         {dual, steer2},
         {flat2, raked2, single, dual}},
        {"a project opened again: both beams' throws, spreading and modules",
         false,
         true,
         {dual, raked1, steer2, {"Beam_SpreadingAngle2", "5"}},
         {{"Beam_TopRearAngle1", "-5"},
          {"Beam_BottomFrontAngle2", "-10"},
          {"Beam_SpreadingAngle2", "8"},
          {"Beam_Modules", "2"}}},
    };
}

TEST(BeamUndo, UndoSavesTheFileAsBeforeTheEditAndRedoAsRightAfterIt)
{
    for (const Row& row : Table())
    {
        SCOPED_TRACE(row.what);
        if (row.fresh)
            StartProject();
        for (const Act& act : row.setup)
        {
            const QString wrong = Apply(act);
            ASSERT_TRUE(wrong.isEmpty()) << act.control << " " << act.value << ": " << wrong.toStdString();
        }
        if (row.reopen)
        {
            ASSERT_FALSE(Save().isEmpty());
            ReopenProject();
        }
        std::vector<QByteArray> files{Save()};
        std::vector<int> marks{StackIndex()};
        ASSERT_FALSE(files.back().isEmpty()) << "nothing saved";
        for (const Act& act : row.edits)
        {
            const QString wrong = Apply(act);
            ASSERT_TRUE(wrong.isEmpty()) << act.control << " " << act.value << ": " << wrong.toStdString();
            ASSERT_GT(StackIndex(), marks.back()) << act.control << " " << act.value << " makes no step";
            files.push_back(Save());
            marks.push_back(StackIndex());
        }
        for (std::size_t i = row.edits.size(); i > 0; --i)
        {
            const Act& act = row.edits[i - 1];
            ASSERT_TRUE(StepTo(marks[i - 1])) << "undo of " << act.control;
            const QByteArray saved = Save();
            EXPECT_TRUE(saved == files[i - 1]) << "undo of " << act.control << " " << act.value << ": "
                                               << FirstDifference(files[i - 1], saved);
        }
        for (std::size_t i = 1; i <= row.edits.size(); ++i)
        {
            const Act& act = row.edits[i - 1];
            ASSERT_TRUE(StepTo(marks[i])) << "redo of " << act.control;
            const QByteArray saved = Save();
            EXPECT_TRUE(saved == files[i])
                << "redo of " << act.control << " " << act.value << ": " << FirstDifference(files[i], saved);
        }
    }
}
} // namespace
} // namespace zorvpro::acceptance
