// Every control and shortcut of the venue page, with what the user does and what must follow:
// the surface panel's fields and switches, the tool bar, the entity list's row buttons, the
// views' zoom and the page's keys.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
QWidget* Page()
{
    QWidget* plan = Find(QStringLiteral("openGLPlan"));
    while (plan != nullptr && plan->parentWidget() != nullptr &&
           plan->parentWidget() != Window()->findChild<QWidget*>(QStringLiteral("stackedWidget")))
        plan = plan->parentWidget();
    return plan;
}

// A click changes the entity list by rows and the undo stack by steps.
Check ClickChangesList(int rows, int steps)
{
    return [rows, steps](QWidget* control)
    {
        const int rowsBefore = ListRows();
        const int stepsBefore = UndoSteps();
        QTest::mouseClick(control, Qt::LeftButton);
        const bool listed = QTest::qWaitFor([&] { return ListRows() == rowsBefore + rows; }, kDeadline);
        // After an undo a new step replaces the steps undone: only then is the count not checked.
        return Expect(listed && (steps < 0 || UndoSteps() == stepsBefore + steps),
                      QStringLiteral("the list went from %1 to %2 rows and the undo stack from %3 to %4")
                          .arg(rowsBefore)
                          .arg(ListRows())
                          .arg(stepsBefore)
                          .arg(UndoSteps()));
    };
}

// Keys pressed on the page change the entity list by rows.
Check KeysChangeList(const char* keys, int rows)
{
    return [keys, rows](QWidget*)
    {
        const int before = ListRows();
        Activate();
        QTest::keySequence(Window(), QKeySequence(QString::fromLatin1(keys)));
        return Expect(QTest::qWaitFor([&] { return ListRows() == before + rows; }, kDeadline),
                      QStringLiteral("the list went from %1 to %2 rows").arg(before).arg(ListRows()));
    };
}

// Keys pressed on the page move the selected surface: one undo step, its first corner moves.
Check KeysMoveSurface(const char* keys)
{
    return [keys](QWidget*)
    {
        const QString x = Shown("Quad_P0X");
        const QString y = Shown("Quad_P0Y");
        const int steps = UndoSteps();
        Activate();
        QTest::keySequence(Window(), QKeySequence(QString::fromLatin1(keys)));
        return Expect(
            QTest::qWaitFor([&] { return Shown("Quad_P0X") != x || Shown("Quad_P0Y") != y; }, kDeadline) &&
                UndoSteps() == steps + 1,
            QStringLiteral("the corner stays at %1, %2").arg(x, y));
    };
}

// Keys pressed on the page change what the plan view shows.
Check KeysChangeView(const char* keys)
{
    return [keys](QWidget*)
    {
        const QImage before = Frame("openGLPlan");
        Activate();
        QTest::keySequence(Window(), QKeySequence(QString::fromLatin1(keys)));
        return Expect(FrameChanges("openGLPlan", before), QStringLiteral("the plan view does not change"));
    };
}

// With the views unlinked the side view keeps its zoom while the plan view zooms; linked again,
// it follows.
Check ClickUnlinksZoom()
{
    return [](QWidget* control)
    {
        QWidget* zoomIn = Find(QStringLiteral("Toolbar_SliderPlanAddButton"), Page());
        QTest::mouseClick(control, Qt::LeftButton);
        QImage side = Frame("openGLSide");
        QImage plan = Frame("openGLPlan");
        QTest::mouseClick(zoomIn, Qt::LeftButton);
        const bool planZoomed = FrameChanges("openGLPlan", plan);
        const bool sideKept = Frame("openGLSide") == side;
        QTest::mouseClick(control, Qt::LeftButton);
        side = Frame("openGLSide");
        QTest::mouseClick(zoomIn, Qt::LeftButton);
        const bool sideFollows = FrameChanges("openGLSide", side);
        return Expect(planZoomed && sideKept && sideFollows,
                      QStringLiteral("plan zoomed %1, side kept unlinked %2, side follows linked %3")
                          .arg(planZoomed)
                          .arg(sideKept)
                          .arg(sideFollows));
    };
}

// The plan view's zoom slider.
QAbstractSlider* PlanZoom()
{
    return FindAs<QAbstractSlider>(QStringLiteral("Toolbar_SliderPlanSlider"), Page());
}

// The side view's, shown only while the views are unlinked.
QAbstractSlider* SideZoom()
{
    return Page()
        ->findChild<QWidget*>(QStringLiteral("sideToolbarContainerFrame"))
        ->findChild<QAbstractSlider*>(QStringLiteral("Toolbar_SliderSideSlider"));
}

// A click opens the colour dialog; Escape closes it.
Check ClickOpensColourDialog()
{
    return [](QWidget* control)
    {
        const QString title = AnswerModal([control] { QTest::mouseClick(control, Qt::LeftButton); },
                                          [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        return Expect(!title.isEmpty() && QApplication::activeModalWidget() == nullptr,
                      QStringLiteral("no colour dialog (\"%1\")").arg(title));
    };
}

// A click on the first row's colour opens the colour dialog; the colour typed there is the
// surface's in the file saved afterwards.
Check ColourReachesFile()
{
    return [](QWidget* control)
    {
        // The click lands on the picker's button.
        auto* button = control->findChild<QAbstractButton*>();
        if (button == nullptr)
            return QStringLiteral("no button to click");
        const QString title = AnswerModal([button] { QTest::mouseClick(button, Qt::LeftButton); },
                                          [](QWidget* modal)
                                          {
                                              for (auto* field : modal->findChildren<QLineEdit*>())
                                                  if (field->text().startsWith(QLatin1Char('#')))
                                                  {
                                                      field->selectAll();
                                                      QTest::keyClicks(field, QStringLiteral("#0c2238"));
                                                      QTest::keyClick(field, Qt::Key_Return);
                                                  }
                                          });
        const QString saved = SaveProjectAs(Home() + QStringLiteral("/Documents/Coloured.tq"));
        return Expect(!title.isEmpty() && saved.contains(QStringLiteral("<Color>(12,34,56,255)</Color>")),
                      QStringLiteral("the dialog \"%1\" sets no colour in the saved file").arg(title));
    };
}

TEST(Controls, EveryControlOfTheVenuePageHasItsEffect)
{
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    ASSERT_TRUE(Click(QStringLiteral("continueButton")));
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return Find(QStringLiteral("openGLPlan")) != nullptr && ListRows() == 1; }, kDeadline));
    Activate();
    // Walked first with the one surface selected, its panel enabled; again at the end, with two.
    const QSet<QString> seen = Interactive(Page());
    ASSERT_TRUE(seen.contains(QStringLiteral("Quad_P0X"))) << "the walk sees no surface panel";
    const QSet<QString> named =
        RunRows(Page(),
                {
                    {"Quad_P0X", "type 1.5", TypeAndMoveOnMakesOneStep(QStringLiteral("1.5"))},
                    {"Quad_P0Y", "type 2.5", TypeAndMoveOnMakesOneStep(QStringLiteral("2.5"))},
                    {"Quad_P0Z", "type 0.5", TypeAndMoveOnMakesOneStep(QStringLiteral("0.5"))},
                    {"Quad_FrontWidth", "type 12", TypeAndMoveOnMakesOneStep(QStringLiteral("12"))},
                    {"Quad_BackWidth", "type 14", TypeAndMoveOnMakesOneStep(QStringLiteral("14"))},
                    {"Quad_BackDepth", "type 18", TypeAndMoveOnMakesOneStep(QStringLiteral("18"))},
                    {"Quad_BackHeight", "type 3", TypeAndMoveOnMakesOneStep(QStringLiteral("3"))},
                    {"Quad_P1X", "type 4", TypeAndMoveOnMakesOneStep(QStringLiteral("4"))},
                    {"Quad_P1Y", "type 5", TypeAndMoveOnMakesOneStep(QStringLiteral("5"))},
                    {"Quad_P1Z", "type 1", TypeAndMoveOnMakesOneStep(QStringLiteral("1"))},
                    {"Quad_P2X", "type 6", TypeAndMoveOnMakesOneStep(QStringLiteral("6"))},
                    {"Quad_P2Y", "type 7", TypeAndMoveOnMakesOneStep(QStringLiteral("7"))},
                    {"Quad_P2Z", "type 1.2", TypeAndMoveOnMakesOneStep(QStringLiteral("1.2"))},
                    {"Quad_P3X", "type 8", TypeAndMoveOnMakesOneStep(QStringLiteral("8"))},
                    {"Quad_P3Y", "type 9", TypeAndMoveOnMakesOneStep(QStringLiteral("9"))},
                    {"Quad_P3Z", "type 1.4", TypeAndMoveOnMakesOneStep(QStringLiteral("1.4"))},
                    {"Quad_P4X", "type 2", TypeAndMoveOnMakesOneStep(QStringLiteral("2"))},
                    {"Quad_P4Y", "type 11", TypeAndMoveOnMakesOneStep(QStringLiteral("11"))},
                    {"Quad_P4Z", "type 1.6", TypeAndMoveOnMakesOneStep(QStringLiteral("1.6"))},
                    // Turned, the surface no longer takes its corners one by one.
                    {"Quad_Rotation", "type 10", TypeAndMoveOnMakesOneStep(QStringLiteral("10"))},
                    {"Quad_ListenerHeightEnabled", "click twice", ToggleMakesSteps()},
                    {"Quad_ListenerHeight", "type 1.3", TypeAndMoveOnMakesOneStep(QStringLiteral("1.3"))},
                    {"Entity_Transparency", "click twice", ToggleMakesSteps()},
                    {"Entity_Visibility", "click twice", ToggleMakesSteps()},
                    {"Entity_Lock", "click twice", ToggleMakesSteps()},
                    {"ColorPickerButton", "click, Escape", ClickOpensColourDialog()},
                    {"Toolbar_SliderPlanSlider", "Page Down", SlideChangesView("openGLPlan")},
                    {"Toolbar_SliderPlanSubtractButton", "click", ClickChangesView("openGLPlan", false)},
                    {"Toolbar_SliderPlanAddButton", "click", ClickChangesView("openGLPlan", false)},
                    {"Toolbar_ZoomToFit", "click", ClickChangesView("openGLPlan", false)},
                    {"Toolbar_LinkViews", "click twice", ClickUnlinksZoom()},
                    {"Ctrl+=", "keys", KeysChangeView("Ctrl+=")},
                    {"Ctrl++", "keys", KeysChangeView("Ctrl++")},
                    {"Ctrl+-", "keys", KeysChangeView("Ctrl+-")},
                    {"Left", "keys", KeysMoveSurface("Left")},
                    {"Right", "keys", KeysMoveSurface("Right")},
                    {"Up", "keys", KeysMoveSurface("Up")},
                    {"Down", "keys", KeysMoveSurface("Down")},
                    {"Ctrl+Left", "keys", KeysMoveSurface("Ctrl+Left")},
                    {"Ctrl+Right", "keys", KeysMoveSurface("Ctrl+Right")},
                    {"Ctrl+Up", "keys", KeysMoveSurface("Ctrl+Up")},
                    {"Ctrl+Down", "keys", KeysMoveSurface("Ctrl+Down")},
                    {"Toolbar_AddEntity", "click", ClickChangesList(1, 1)},
                    {"Ctrl+A", "keys, then Delete",
                     [](QWidget* page)
                     {
                         const int rows = ListRows();
                         const QString selected = KeysChangeList("Ctrl+A", 0)(page);
                         const QString deleted = KeysChangeList("Del", -rows)(page);
                         return Expect(selected.isEmpty() && deleted.isEmpty(),
                                       QStringLiteral("Delete after it leaves: %1").arg(deleted));
                     }},
                    {"Ctrl+Z", "keys", KeysChangeList("Ctrl+Z", 2)},
                    {"Ctrl+Shift+Z", "keys, then Ctrl+Z",
                     [](QWidget* page)
                     {
                         const QString redone = KeysChangeList("Ctrl+Shift+Z", -2)(page);
                         KeysChangeList("Ctrl+Z", 2)(page);
                         return redone;
                     }},
                    {"Toolbar_DeleteEntity", "click", ClickChangesList(-1, -1)},
                    {"Toolbar_Undo", "click", ClickChangesList(1, 0)},
                    {"Toolbar_Redo", "click", ClickChangesList(-1, 0)},
                    {"Ctrl+C", "Ctrl+A, Ctrl+C, Ctrl+V",
                     [](QWidget* page)
                     {
                         const int rows = ListRows();
                         KeysChangeList("Ctrl+A", 0)(page);
                         KeysChangeList("Ctrl+C", 0)(page);
                         return KeysChangeList("Ctrl+V", rows)(page);
                     }},
                    {"Ctrl+X", "Ctrl+A, Ctrl+X",
                     [](QWidget* page)
                     {
                         KeysChangeList("Ctrl+A", 0)(page);
                         return KeysChangeList("Ctrl+X", -ListRows())(page);
                     }},
                    {"Ctrl+V", "keys", KeysChangeList("Ctrl+V", 2)},
                    {"Entity_Color", "click, type a colour, save", ColourReachesFile()},
                    {"VenueTabEntitySelectionControl", "double-click a name, type, save",
                     RenameReachesFile(QStringLiteral("Orchestra pit"))},
                    {"openGLPlan", "wheel away, then back", WheelZooms(PlanZoom)},
                    {"openGLSide", "wheel away, then back", WheelZooms(SideZoom)},
                });
    QSet<QString> all = named;
    all << QStringLiteral("Del"); // pressed in the "Ctrl+A" row
    const QStringList unselected = Unnamed(seen, all);
    EXPECT_TRUE(unselected.isEmpty())
        << "enabled controls without a row, one surface selected: " << unselected.join(", ").toStdString();
    const QStringList unnamed = Unnamed(Page(), all);
    EXPECT_TRUE(unnamed.isEmpty()) << "enabled controls without a row: " << unnamed.join(", ").toStdString();
    const QStringList keys = UnnamedShortcuts(Page(), all);
    EXPECT_TRUE(keys.isEmpty()) << "shortcuts without a row: " << keys.join(", ").toStdString();
}
} // namespace
} // namespace zorvpro::acceptance
