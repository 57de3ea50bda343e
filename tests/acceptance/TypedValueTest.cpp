// A value being typed belongs to the object whose panel showed it when typing began. Whatever the
// user does next - a button of a tool bar, a panel or a list row, a page's shortcut - first
// commits it to that object as leaving the field does, as its own undo step before the command's,
// and never to the object the command leaves in the panel.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "DesignerListener.h"

#include "core/Commands/UndoStack.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace zorvpro::acceptance
{
namespace
{
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
// A project file keeps six significant digits.
constexpr double kSaved = 1e-6;

QUndoStack& History()
{
    return UndoStack::Instance();
}

// Walks the history to index with the automation's undo and redo; false when it cannot get there.
bool StepTo(int index)
{
    QObject* processor = Window()->findChild<QObject*>(QStringLiteral("SquishCommandProcessor"));
    while (History().index() != index)
    {
        bool moved = false;
        QMetaObject::invokeMethod(processor, History().index() > index ? "undo" : "redo",
                                  Qt::DirectConnection, Q_RETURN_ARG(bool, moved));
        if (!moved)
            return false;
    }
    return true;
}

// The saved node of that type and name; empty when there is none.
QString NamedNode(const QByteArray& content, const char* type, const QString& name)
{
    for (int i = 0;; ++i)
    {
        const QString node = SavedNode(content, type, i);
        if (node.isEmpty() || FileValue(node.toUtf8(), "Name") == name)
            return node;
    }
}

int RowOf(const QString& name)
{
    QTableWidget* list = ShownList();
    for (int row = 0; list != nullptr && row < list->rowCount(); ++row)
        if (list->item(row, 1) != nullptr && list->item(row, 1)->text() == name)
            return row;
    return -1;
}

// The named control of the list row that shows the object (its lock, eye, ...).
QWidget* RowControl(const QString& object, const char* control)
{
    QTableWidget* list = ShownList();
    const int row = RowOf(object);
    for (int column = 0; row >= 0 && column < list->columnCount(); ++column)
        if (QWidget* cell = list->cellWidget(row, column))
        {
            if (cell->objectName() == QLatin1String(control))
                return cell;
            if (auto* inside = cell->findChild<QWidget*>(QLatin1String(control)))
                return inside;
        }
    return nullptr;
}

// Chooses the object alone in the list, as a click on its row does.
void Select(const QString& name)
{
    QTableWidget* list = ShownList();
    ASSERT_NE(list, nullptr);
    // A selection the program has just made ignores clicks until the event loop has turned.
    QCoreApplication::processEvents();
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            const int row = RowOf(name);
            if (row < 0)
                return false;
            if (list->selectionModel()->selectedRows(1).size() == 1 &&
                list->selectionModel()->isRowSelected(row, QModelIndex()))
                return true;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualRect(list->model()->index(row, 1)).center());
            return false;
        },
        kDeadline))
        << "cannot choose " << name.toStdString();
}

// What the page's rows type and where the file keeps it.
struct Typed
{
    const char* field;
    const char* text;
    const char* key; // the element of the saved node
    QString saved;   // what it holds after the entry
};

QString Number(double value)
{
    return QString::number(value, 'g', 17);
}

struct Command
{
    const char* name;
    // Runs the command; empty when it ran, else what went wrong.
    std::function<QString()> run;
    int steps; // the undo steps the command itself makes (-1: it undoes one)
    Typed typed;
    bool clickBack; // a switch: clicked once more afterwards, so the next row meets it as it was
};

struct Page
{
    const char* tab;      // the page's button
    const char* nodeType; // of its objects in the file
    QString first, second;
};

QWidget* PageWidget(const Page& page)
{
    return Window()->findChild<QWidget*>(QLatin1String(page.tab) == QLatin1String("buttonVenueTab")
                                             ? QStringLiteral("tabButtonVenue")
                                             : QStringLiteral("tabButtonSpeaker"));
}

std::function<QString()> ClickOn(std::function<QWidget*()> find)
{
    return [find]
    {
        QWidget* control = find();
        if (control == nullptr || !control->isEnabled())
            return QStringLiteral("not there or disabled");
        QTest::mouseClick(control, Qt::LeftButton);
        return QString();
    };
}

std::function<QString()> ClickNamed(const char* frame, const char* name)
{
    return ClickOn(
        [frame, name]() -> QWidget*
        {
            // Both pages have tool bars of the same names: the shown one counts.
            QList<QWidget*> roots{Window()};
            if (frame != nullptr)
                roots = Window()->findChildren<QWidget*>(QLatin1String(frame));
            for (QWidget* root : roots)
                if (root->isVisible())
                    if (QWidget* control = Find(QLatin1String(name), root))
                        return control;
            return nullptr;
        });
}

std::function<QString()> Keys(const char* keys)
{
    return [keys]
    {
        PressWhereTyping(QKeySequence(QLatin1String(keys)));
        return QString();
    };
}

QString Saved(const QByteArray& content, const Page& page, const QString& object, const char* key)
{
    const QString node = NamedNode(content, page.nodeType, object);
    return node.contains(QLatin1Char('<') + QLatin1String(key)) ? FileValue(node.toUtf8(), key)
                                                                : QStringLiteral("(none)");
}

// Numbers alike to the file's six digits, texts letter for letter.
::testing::AssertionResult Alike(const QString& saved, const QString& expected)
{
    bool number = false, expectedNumber = false;
    const double value = saved.toDouble(&number);
    const double wanted = expected.toDouble(&expectedNumber);
    if (number && expectedNumber ? std::fabs(value - wanted) < kSaved : saved == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "\"" << saved.toStdString() << "\" where \"" << expected.toStdString() << "\" was expected";
}

// Types into the first object's panel, gives the command, then reads the saved project at the
// entry's step (the first after the entry began) and at the step before it.
void RunCommand(const Page& page, const Command& command)
{
    SCOPED_TRACE(command.name);
    Select(page.first);
    const int start = History().index();
    TypeWithoutReturn(command.typed.field, QLatin1String(command.typed.text));
    const QString failed = command.run();
    ASSERT_TRUE(failed.isEmpty()) << command.name << ": " << failed.toStdString();
    const int expected = start + 1 + command.steps;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return History().index() == expected && QApplication::activeModalWidget() == nullptr; },
        kDeadline))
        << command.name << " after " << command.typed.field << " typed: the history stands at "
        << History().index() - start << " steps from where the entry began, not " << expected - start
        << " (the entry's own and the command's)";

    const QString path = Home() + QStringLiteral("/Documents/typed.tq");
    ASSERT_TRUE(StepTo(start)) << command.name;
    const QByteArray before = SaveProjectAs(path).toUtf8();
    // Both objects were made alike: the second shows what the first held before the entry.
    const QString original = Saved(before, page, page.second, command.typed.key);
    ASSERT_FALSE(Alike(original, command.typed.saved)) << command.name << ": nothing to tell apart";
    EXPECT_TRUE(Alike(Saved(before, page, page.first, command.typed.key), original))
        << command.name << ": the step before the entry already holds it";

    ASSERT_TRUE(StepTo(start + 1)) << command.name;
    const QByteArray entered = SaveProjectAs(path).toUtf8();
    EXPECT_TRUE(Alike(Saved(entered, page, page.first, command.typed.key), command.typed.saved))
        << command.name << ": the entry's step leaves " << page.first.toStdString() << " without it";
    EXPECT_TRUE(Alike(Saved(entered, page, page.second, command.typed.key), original))
        << command.name << ": the entry's step changes " << page.second.toStdString();

    // The next row begins where this one did.
    ASSERT_TRUE(StepTo(start)) << command.name;
    if (command.clickBack)
        (void)command.run();
}

// A new project on the page with two objects, the history holding their making.
Page TwoObjectsOn(const char* tab, const char* nodeType, const char* frame)
{
    Page page{tab, nodeType, {}, {}};
    DiscardIfAsked(
        []
        {
            if (QAction* newProject = Window()->findChild<QAction*>(QStringLiteral("actionNew")))
                newProject->trigger();
        });
    EXPECT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    EXPECT_TRUE(Click(QStringLiteral("continueButton")));
    EXPECT_TRUE(Click(QLatin1String(tab)));
    QWidget* bar = PageWidget(page)->findChild<QWidget*>(QLatin1String(frame));
    EXPECT_NE(bar, nullptr);
    if (bar == nullptr)
        return page;
    EXPECT_TRUE(QTest::qWaitFor([] { return ShownList() != nullptr; }, kDeadline));
    while (ShownList() != nullptr && ShownList()->rowCount() < 2)
    {
        const int rows = ShownList()->rowCount();
        EXPECT_TRUE(Click(QStringLiteral("Toolbar_AddEntity"), bar));
        if (!QTest::qWaitFor([&] { return ShownList()->rowCount() == rows + 1; }, kDeadline))
            break;
    }
    if (ShownList() != nullptr && ShownList()->rowCount() == 2)
    {
        page.first = ShownList()->item(0, 1)->text();
        page.second = ShownList()->item(1, 1)->text();
    }
    return page;
}

// The rows both pages share: their plan tool bar's buttons and the keys that reach a page while a
// field holds the typing (the others edit the text: arrows left and right, Delete,
// Ctrl+A/C/V/X/Z, Ctrl+Shift+Z).
std::vector<Command> ToolBarAndKeys(const Typed& typed)
{
    const char* plan = "planToolbarContainerFrame";
    return {
        {"Add", ClickNamed(plan, "Toolbar_AddEntity"), 1, typed, false},
        {"Delete", ClickNamed(plan, "Toolbar_DeleteEntity"), 1, typed, false},
        {"Undo", ClickNamed(plan, "Toolbar_Undo"), -1, typed, false},
        {"Redo", ClickNamed(plan, "Toolbar_Redo"), 0, typed, false},
        {"zoom in", ClickNamed(plan, "Toolbar_SliderPlanAddButton"), 0, typed, false},
        {"zoom out", ClickNamed(plan, "Toolbar_SliderPlanSubtractButton"), 0, typed, false},
        {"zoom slider", ClickNamed(plan, "Toolbar_SliderPlanSlider"), 0, typed, false},
        {"zoom to fit", ClickNamed(plan, "Toolbar_ZoomToFit"), 0, typed, false},
        {"link views", ClickNamed(plan, "Toolbar_LinkViews"), 0, typed, true},
        {"Up", Keys("Up"), 1, typed, false},
        {"Down", Keys("Down"), 1, typed, false},
        {"Ctrl+Up", Keys("Ctrl+Up"), 1, typed, false},
        {"Ctrl+Down", Keys("Ctrl+Down"), 1, typed, false},
        {"Ctrl+=", Keys("Ctrl+="), 0, typed, false},
        {"Ctrl++", Keys("Ctrl++"), 0, typed, false},
        {"Ctrl+-", Keys("Ctrl+-"), 0, typed, false},
    };
}

// Every button of the venue page's tool bars, panel and list rows, and every key of the page that
// reaches the page while a field holds the typing.
TEST(TypedValue, EveryVenueCommandTakesTheEntryToItsOwnSurfaceFirst)
{
    const Page page = TwoObjectsOn("buttonVenueTab", "QuadNode", "planToolbarContainerFrame");
    ASSERT_FALSE(page.second.isEmpty()) << "no two surfaces";
    const Typed rotation{"Quad_Rotation", "25", "RotationZ", Number(25 * kRadiansPerDegree)};
    std::vector<Command> commands = ToolBarAndKeys(rotation);
    commands.insert(
        commands.end(),
        {
            {"listener height switch", ClickNamed(nullptr, "Quad_ListenerHeightEnabled"), 1, rotation, false},
            {"the other row's eye", ClickOn([&] { return RowControl(page.second, "Entity_Visibility"); }), 1,
             rotation, false},
            {"the other row's lock", ClickOn([&] { return RowControl(page.second, "Entity_Lock"); }), 1,
             rotation, false},
            {"the other row's transparency",
             ClickOn([&] { return RowControl(page.second, "Entity_Transparency"); }), 1, rotation, false},
            {"the other row's colour",
             [&]
             {
                 QWidget* row = RowControl(page.second, "Entity_Color");
                 QWidget* colour = row != nullptr ? row->findChild<QAbstractButton*>() : nullptr;
                 if (colour == nullptr)
                     return QStringLiteral("no colour button");
                 const QString title =
                     AnswerModal([colour] { QTest::mouseClick(colour, Qt::LeftButton); },
                                 [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
                 return Expect(!title.isEmpty(), QStringLiteral("no colour dialog"));
             },
             // Cancelled, the dialog still reports the colour kept: one step that changes nothing.
             1, rotation, false},
        });
    for (const Command& command : commands)
        RunCommand(page, command);
}

// Every button of the speaker page's tool bar, its panels and list rows, and every key of the page
// that reaches it while a field holds the typing.
TEST(TypedValue, EverySpeakerCommandTakesTheEntryToItsOwnArrayFirst)
{
    const Page page = TwoObjectsOn("buttonSpeakerTab", "BeamSpeakerClusterNode", "planToolbarContainerFrame");
    ASSERT_FALSE(page.second.isEmpty()) << "no two arrays";
    const Typed gain{"Cluster_Gain", "-9", "ClusterGain", Number(-9)};
    const Typed steering{"Beam_SteeringAngle1", "15", "Steering0", Number(15 * kRadiansPerDegree)};
    const Typed delay{"Cluster_Delay", "30", "ClusterDelay", Number(30)};
    // The notes report their text whenever they lose the focus, typed or not.
    const Typed notes{"Beam_Comments", "balcony", "UserNote", QStringLiteral("balcony")};
    const char* plan = "planToolbarContainerFrame";
    std::vector<Command> commands = ToolBarAndKeys(gain);
    commands.insert(
        commands.end(),
        {
            {"Add a new loudspeaker (steering)", ClickNamed(plan, "Toolbar_AddEntity"), 1, steering, false},
            {"Add a new loudspeaker (notes)", ClickNamed(plan, "Toolbar_AddEntity"), 1, notes, false},
            {"Undo (delay)", ClickNamed(plan, "Toolbar_Undo"), -1, delay, false},
            {"Undo (notes)", ClickNamed(plan, "Toolbar_Undo"), -1, notes, false},
            {"Down (steering)", Keys("Down"), 1, steering, false},
            {"throw lines", ClickNamed(plan, "Toolbar_ThrowLines"), 0, gain, true},
            {"Set Max Gain", ClickNamed(nullptr, "setMaxGainButton"), 1, delay, false},
            {"Send to KVD",
             []
             {
                 DesignerListener designer;
                 if (!designer.Listen())
                     return QStringLiteral("127.0.0.1:10003 stays busy");
                 if (!ClickNamed(nullptr, "buttonSendToKVD")().isEmpty())
                     return QStringLiteral("no Send to KVD");
                 return Expect(QTest::qWaitFor([&] { return designer.closed; }, kDeadline),
                               QStringLiteral("nothing reached port 10003"));
             },
             0, steering, false},
            {"Recalculate", ClickNamed(nullptr, "Spl_RecalculateButton"), 0, gain, false},
            {"Adjust range to data", ClickNamed(nullptr, "Spl_Adjust_Spl_Range"), 0, gain, false},
            {"Auto-calculate", ClickNamed(nullptr, "Spl_AutoCalculate"), 0, gain, true},
            {"Auto-adjust", ClickNamed(nullptr, "Spl_Auto_Adjust"), 0, gain, true},
            {"Show SPL Map", ClickNamed(nullptr, "hideSplButton"), 0, gain, true},
            {"smoothing switch", ClickNamed(nullptr, "Beam_Smoothing1"), 1, gain, false},
            {"the other row's eye", ClickOn([&] { return RowControl(page.second, "Entity_Visibility"); }), 1,
             gain, false},
            {"the other row's lock", ClickOn([&] { return RowControl(page.second, "Entity_Lock"); }), 1, gain,
             false},
            {"the other row's mute", ClickOn([&] { return RowControl(page.second, "Entity_Mute"); }), 1, gain,
             false},
        });
    for (const Command& command : commands)
        RunCommand(page, command);
}

// What the named field shows: a line edit's text or the notes'.
QString FieldText(const char* name)
{
    QWidget* field = Locate(QLatin1String(name), Window());
    if (auto* notes = qobject_cast<QPlainTextEdit*>(field))
        return notes->toPlainText();
    auto* line = qobject_cast<QLineEdit*>(field);
    return line != nullptr ? line->text() : QStringLiteral("(no field)");
}

int Decimals(const QString& number)
{
    const int point = number.indexOf(QLocale().decimalPoint());
    return point < 0 ? 0 : number.size() - point - 1;
}

// Shown texts alike: numbers to the digits the shorter shows (a focused field shows more), else
// letter for letter.
::testing::AssertionResult ShowsAlike(const QString& shown, const QString& expected)
{
    bool number = false, expectedNumber = false;
    const double value = QLocale().toDouble(shown, &number);
    const double wanted = QLocale().toDouble(expected, &expectedNumber);
    const double rounding = 0.5 * std::pow(10.0, -std::min(Decimals(shown), Decimals(expected))) + 1e-9;
    if (number && expectedNumber ? std::fabs(value - wanted) <= rounding : shown == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the field shows \"" << shown.toStdString() << "\" where \"" << expected.toStdString() << "\"";
}

struct UndoKeysRow
{
    const char* name;
    Typed typed;
    // Confirms the value typed and leaves the focus in the field: Return, or a command that takes no
    // focus (the notes keep Return as a line break).
    std::function<QString()> confirm;
};

// Ctrl+Z right after a value is confirmed undoes it in the project, and Ctrl+Shift+Z redoes it,
// while the focus stays in the field; typing not yet confirmed is undone in the field itself.
void RunUndoKeys(const Page& page, const UndoKeysRow& row)
{
    SCOPED_TRACE(row.name);
    const QString path = Home() + QStringLiteral("/Documents/undokeys.tq");
    Select(page.first);
    const QString original = Saved(SaveProjectAs(path).toUtf8(), page, page.first, row.typed.key);
    const QString shownBefore = FieldText(row.typed.field);
    const int start = History().index();

    TypeWithoutReturn(row.typed.field, QLatin1String(row.typed.text));
    const QString failed = row.confirm();
    ASSERT_TRUE(failed.isEmpty()) << failed.toStdString();
    const auto inField = [&]
    {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr && ControlName(focus) == QLatin1String(row.typed.field);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return History().index() == start + 1 && inField(); }, kDeadline))
        << "after the value was confirmed: " << History().index() - start << " steps, "
        << (inField() ? "the focus in the field" : "the focus elsewhere");

    PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return History().index() == start; }, kDeadline))
        << "Ctrl+Z right after the value was confirmed left the history at " << History().index() - start;
    EXPECT_TRUE(ShowsAlike(FieldText(row.typed.field), shownBefore)) << "after Ctrl+Z";
    EXPECT_TRUE(Alike(Saved(SaveProjectAs(path).toUtf8(), page, page.first, row.typed.key), original))
        << "saved after Ctrl+Z";

    PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return History().index() == start + 1; }, kDeadline))
        << "Ctrl+Shift+Z left the history at " << History().index() - start;
    EXPECT_TRUE(ShowsAlike(FieldText(row.typed.field), QLatin1String(row.typed.text)))
        << "after Ctrl+Shift+Z";
    EXPECT_TRUE(Alike(Saved(SaveProjectAs(path).toUtf8(), page, page.first, row.typed.key), row.typed.saved))
        << "saved after Ctrl+Shift+Z";
    ASSERT_TRUE(StepTo(start));

    // Not confirmed yet: Ctrl+Z takes back the typing in the field and the project hears of nothing,
    // not even once the field is left.
    Select(page.first);
    TypeWithoutReturn(row.typed.field, QLatin1String(row.typed.text));
    PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(ShowsAlike(FieldText(row.typed.field), shownBefore)) << "typing undone by Ctrl+Z";
    EXPECT_EQ(History().index(), start) << "Ctrl+Z undid a step of the project while typing";
    ASSERT_TRUE(ClickNamed("planToolbarContainerFrame", "Toolbar_ZoomToFit")().isEmpty());
    EXPECT_EQ(History().index(), start) << "typing undone in the field was committed";
    EXPECT_TRUE(Alike(Saved(SaveProjectAs(path).toUtf8(), page, page.first, row.typed.key), original))
        << "saved after the typing was undone";
    ASSERT_TRUE(StepTo(start));
}

struct OtherStepRow
{
    const char* name;
    bool stepOnFirst; // the step is the first object's (its name in the list's first row), else the second's
    Typed step;       // confirmed with Return; "list" renames, and the file keeps the new name
    Typed field;      // typed into the other object's field, then undone there
};

// Typing undone in a field, then a step of another object undone with Ctrl+Z: Ctrl+Shift+Z redoes
// that step and never brings the undone typing back, nor does a later click commit it.
void RunRedoAfterUndoingAnotherObjectsStep(const Page& page, const OtherStepRow& row)
{
    SCOPED_TRACE(row.name);
    const QString path = Home() + QStringLiteral("/Documents/otherstep.tq");
    const QString stepObject = row.stepOnFirst ? page.first : page.second;
    const QString fieldObject = row.stepOnFirst ? page.second : page.first;
    const bool rename = QLatin1String(row.step.field) == QLatin1String("list");
    // Where the file keeps the object the step changed once it is done.
    const QString stepped = rename ? row.step.saved : stepObject;
    const QByteArray before = SaveProjectAs(path).toUtf8();
    const QString fieldOriginal = Saved(before, page, fieldObject, row.field.key);
    const int start = History().index();

    Select(stepObject);
    TypeWithoutReturn(row.step.field, QLatin1String(row.step.text));
    PressWhereTyping(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(QTest::qWaitFor([&] { return History().index() == start + 1; }, kDeadline))
        << "the other object's step was not made";

    Select(fieldObject);
    const QString shown = FieldText(row.field.field);
    TypeWithoutReturn(row.field.field, QLatin1String(row.field.text));
    PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(ShowsAlike(FieldText(row.field.field), shown)) << "the typing undone in the field";
    EXPECT_EQ(History().index(), start + 1) << "the first Ctrl+Z undid a step of the project";
    PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return History().index() == start; }, kDeadline))
        << "the second Ctrl+Z left the history at " << History().index() - start;

    PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return History().index() == start + 1; }, kDeadline))
        << "Ctrl+Shift+Z left the history at " << History().index() - start << " steps";
    EXPECT_TRUE(ShowsAlike(FieldText(row.field.field), shown)) << "after Ctrl+Shift+Z";
    // A command commits whatever the field still held as typed.
    ASSERT_TRUE(ClickNamed("planToolbarContainerFrame", "Toolbar_ZoomToFit")().isEmpty());
    EXPECT_EQ(History().index(), start + 1) << "the undone typing was committed as a step";

    const QByteArray saved = SaveProjectAs(path).toUtf8();
    EXPECT_TRUE(Alike(Saved(saved, page, stepped, row.step.key), row.step.saved))
        << "the redone step is missing from the file";
    EXPECT_TRUE(Alike(Saved(saved, page, fieldObject, row.field.key), fieldOriginal))
        << "the typing undone in the field reached the file";
    ASSERT_TRUE(StepTo(start));
}

TEST(TypedValue, RedoAfterAnotherObjectsStepIsUndoneRedoesThatStepNotTheTypingUndoneInTheField)
{
    {
        const Page venue = TwoObjectsOn("buttonVenueTab", "QuadNode", "planToolbarContainerFrame");
        ASSERT_FALSE(venue.second.isEmpty()) << "no two surfaces";
        const Typed rotation{"Quad_Rotation", "7", "RotationZ", Number(7 * kRadiansPerDegree)};
        const OtherStepRow rows[] = {
            {"the other surface's rotation",
             false,
             {"Quad_Rotation", "30", "RotationZ", Number(30 * kRadiansPerDegree)},
             rotation},
            {"the other surface's name",
             true,
             {"list", "Stalls", "Name", QStringLiteral("Stalls")},
             rotation},
        };
        for (const OtherStepRow& row : rows)
            RunRedoAfterUndoingAnotherObjectsStep(venue, row);
    }
    const Page speakers =
        TwoObjectsOn("buttonSpeakerTab", "BeamSpeakerClusterNode", "planToolbarContainerFrame");
    ASSERT_FALSE(speakers.second.isEmpty()) << "no two arrays";
    const Typed otherGain{"Cluster_Gain", "-9", "ClusterGain", Number(-9)};
    const OtherStepRow rows[] = {
        {"gain, the other array's gain", false, otherGain, {"Cluster_Gain", "-4", "ClusterGain", Number(-4)}},
        {"notes, the other array's gain",
         false,
         otherGain,
         {"Beam_Comments", "balcony", "UserNote", QStringLiteral("balcony")}},
    };
    for (const OtherStepRow& row : rows)
        RunRedoAfterUndoingAnotherObjectsStep(speakers, row);
}

TEST(TypedValue, TheUndoKeysUndoTheTypingInTheFieldThenTheConfirmedValue)
{
    const std::function<QString()> pressReturn = []
    {
        PressWhereTyping(QKeySequence(Qt::Key_Return));
        return QString();
    };
    const auto confirmByCommand = ClickNamed("planToolbarContainerFrame", "Toolbar_ZoomToFit");
    {
        const Page venue = TwoObjectsOn("buttonVenueTab", "QuadNode", "planToolbarContainerFrame");
        ASSERT_FALSE(venue.second.isEmpty()) << "no two surfaces";
        RunUndoKeys(venue, {"rotation, Return",
                            {"Quad_Rotation", "24", "RotationZ", Number(24 * kRadiansPerDegree)},
                            pressReturn});
    }
    const Page speakers =
        TwoObjectsOn("buttonSpeakerTab", "BeamSpeakerClusterNode", "planToolbarContainerFrame");
    ASSERT_FALSE(speakers.second.isEmpty()) << "no two arrays";
    const UndoKeysRow rows[] = {
        {"gain, Return", {"Cluster_Gain", "-9", "ClusterGain", Number(-9)}, pressReturn},
        {"steering, Return",
         {"Beam_SteeringAngle1", "15", "Steering0", Number(15 * kRadiansPerDegree)},
         pressReturn},
        {"notes, a command",
         {"Beam_Comments", "balcony", "UserNote", QStringLiteral("balcony")},
         confirmByCommand},
    };
    for (const UndoKeysRow& row : rows)
        RunUndoKeys(speakers, row);
}
} // namespace
} // namespace zorvpro::acceptance
