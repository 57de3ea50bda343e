// Every control and shortcut of the venue page, with what the user does and what must follow:
// the surface panel's fields and switches, the tool bar, the entity list's row buttons, the
// views' zoom and the page's keys.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "core/math/Vector3.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <cmath>
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

using Corners = std::array<QVector3D, 4>;

// The surface as the saved project holds it.
QString SavedSurface()
{
    return SavedNode(SavedProject(), "QuadNode");
}

// Typed into a field and moved on (one undo step); the saved surface then measures the value typed.
Check TypeReshapes(const QString& text, const std::function<double(const Corners&)>& measure)
{
    const Check types = TypeAndMoveOnMakesOneStep(text);
    return [text, measure, types](QWidget* control)
    {
        const QString wrong = types(control);
        if (!wrong.isEmpty())
            return wrong;
        const Corners c = NodeCorners(SavedSurface());
        const double value = measure(c);
        return Expect(qAbs(value - text.toDouble()) < 1e-4,
                      QStringLiteral("the saved surface measures %1 with corners (%2, %3, %4) (%5, %6, %7) "
                                     "(%8, %9, %10) (%11, %12, %13)")
                          .arg(value)
                          .arg(c[0].x())
                          .arg(c[0].y())
                          .arg(c[0].z())
                          .arg(c[1].x())
                          .arg(c[1].y())
                          .arg(c[1].z())
                          .arg(c[2].x())
                          .arg(c[2].y())
                          .arg(c[2].z())
                          .arg(c[3].x())
                          .arg(c[3].y())
                          .arg(c[3].z()));
    };
}

// One coordinate of a corner (0 to 3 for P1 to P4).
std::function<double(const Corners&)> Corner(int corner, int axis)
{
    return [corner, axis](const Corners& c) { return double(c[corner][axis]); };
}

// One coordinate of P0, the middle of the front edge from P1 to P4.
std::function<double(const Corners&)> FrontMiddle(int axis)
{
    return [axis](const Corners& c) { return double((c[0][axis] + c[3][axis]) / 2); };
}

// The length of the edge between two corners.
std::function<double(const Corners&)> Edge(int a, int b)
{
    return [a, b](const Corners& c) { return double((c[a] - c[b]).length()); };
}

// Typed in degrees: the saved rotation holds the angle, and the surface's diagonal has turned by it
// from where it lay.
Check TypeTurns(const QString& degrees)
{
    const Check types = TypeAndMoveOnMakesOneStep(degrees);
    return [degrees, types](QWidget* control)
    {
        const Corners before = NodeCorners(SavedSurface());
        const double rotation = NodeNumber(SavedSurface(), "RotationZ");
        const QString wrong = types(control);
        if (!wrong.isEmpty())
            return wrong;
        const QString saved = SavedSurface();
        const Corners after = NodeCorners(saved);
        auto heading = [](const Corners& c) { return std::atan2(c[2].y() - c[0].y(), c[2].x() - c[0].x()); };
        const double expected = degrees.toDouble() * M_PI / 180.0;
        const double turned = std::remainder(heading(after) - heading(before), 2 * M_PI);
        return Expect(qAbs(NodeNumber(saved, "RotationZ") - expected) < 1e-4 &&
                          qAbs(turned - (expected - rotation)) < 1e-4,
                      QStringLiteral("the saved rotation is %1 and the surface turned by %2, not %3")
                          .arg(NodeNumber(saved, "RotationZ"))
                          .arg(turned)
                          .arg(expected - rotation));
    };
}

// How far the back edge lies behind the front edge and how high it stands above it, the surface
// not yet turned.
double BackDepth(const Corners& c)
{
    return c[1].x() - c[0].x();
}

double BackHeight(const Corners& c)
{
    return c[2].z() - c[3].z();
}

Check SurfaceToggle(const char* key)
{
    return ToggleSaves("QuadNode", key);
}

// Typed and moved on: the saved surface holds the number under key.
Check TypeSaved(const QString& text, const char* key)
{
    const Check types = TypeAndMoveOnMakesOneStep(text);
    return [text, key, types](QWidget* control)
    {
        const QString wrong = types(control);
        const double saved = NodeNumber(SavedSurface(), key);
        return wrong +
               Expect(qAbs(saved - text.toDouble()) < 1e-4,
                      QStringLiteral("the saved surface holds %1 %2").arg(QLatin1String(key)).arg(saved));
    };
}

// A colour typed into the colour dialog's own field and confirmed there is the surface's: the
// saved surface holds it.
Check ChosenColourIsSaved()
{
    return [](QWidget* control)
    {
        const QColor chosen(QStringLiteral("#3366cc"));
        bool typed = false;
        const QString title =
            AnswerModal([control] { QTest::mouseClick(control, Qt::LeftButton); },
                        [&](QWidget* modal)
                        {
                            auto* dialog = qobject_cast<QColorDialog*>(modal);
                            if (dialog == nullptr)
                            {
                                QTest::keyClick(modal, Qt::Key_Escape);
                                return;
                            }
                            // The field that shows the colour as "#rrggbb".
                            for (auto* edit : dialog->findChildren<QLineEdit*>())
                                if (edit->isVisible() && edit->text().startsWith(QLatin1Char('#')))
                                {
                                    edit->selectAll();
                                    QTest::keyClicks(edit, chosen.name());
                                    QTest::keyClick(edit, Qt::Key_Tab);
                                    typed = true;
                                }
                            for (auto* buttons : dialog->findChildren<QDialogButtonBox*>())
                                if (QAbstractButton* ok = buttons->button(QDialogButtonBox::Ok))
                                    QTest::mouseClick(ok, Qt::LeftButton);
                        });
        const QString saved = FileValue(SavedSurface().toUtf8(), "Color");
        const QString expected =
            QStringLiteral("(%1,%2,%3,255)").arg(chosen.red()).arg(chosen.green()).arg(chosen.blue());
        return Expect(typed && QApplication::activeModalWidget() == nullptr && saved == expected,
                      QStringLiteral("\"%1\" %2; the saved surface's colour is %3, not %4")
                          .arg(title, typed ? "took the colour" : "has no colour field", saved, expected));
    };
}

// Keys pressed on the page zoom the active view in (its scale grows) or out; the other view keeps
// its scale or, linked, follows.
Check KeysZoom(const char* keys, bool in)
{
    return [keys, in](QWidget*)
    {
        const double plan = ViewScale("openGLPlan");
        const double side = ViewScale("openGLSide");
        Activate();
        QTest::keySequence(Window(), QKeySequence(QString::fromLatin1(keys)));
        auto grew = [in](double before, double after) { return in ? after > before : after < before; };
        (void)QTest::qWaitFor( // checked below
            [&] { return ViewScale("openGLPlan") != plan || ViewScale("openGLSide") != side; }, kDeadline);
        const double planAfter = ViewScale("openGLPlan");
        const double sideAfter = ViewScale("openGLSide");
        const bool zoomed = (grew(plan, planAfter) || grew(side, sideAfter)) &&
                            (planAfter == plan || grew(plan, planAfter)) &&
                            (sideAfter == side || grew(side, sideAfter));
        return Expect(zoomed, QStringLiteral("the plan view goes from %1 to %2, the side view from %3 to %4 "
                                             "pixels per metre")
                                  .arg(plan)
                                  .arg(planAfter)
                                  .arg(side)
                                  .arg(sideAfter));
    };
}

// The corners the panel shows, in metres.
std::vector<QVector3D> ShownCorners()
{
    std::vector<QVector3D> corners;
    for (int i = 1; i <= 4; ++i)
    {
        auto shown = [i](const char* axis)
        {
            return Shown(QStringLiteral("Quad_P%1%2").arg(i).arg(QLatin1String(axis)).toLatin1().constData())
                .toFloat();
        };
        corners.emplace_back(shown("X"), shown("Y"), shown("Z"));
    }
    return corners;
}

// Keys pressed on the page move the selected surface by step metres in the plan view: right,
// up, left or down as the keys point, one undo step, and P0 in the panel moves by the step.
Check KeysMoveSurface(const char* keys, double step)
{
    return [keys, step](QWidget*)
    {
        auto p0 = [] {
            return QVector3D(Shown("Quad_P0X").toFloat(), Shown("Quad_P0Y").toFloat(),
                             Shown("Quad_P0Z").toFloat());
        };
        auto* plan = FindAs<view::VenueView3D>(QStringLiteral("openGLPlan"));
        if (plan == nullptr)
            return QStringLiteral("no plan view");
        auto onScreen = [plan](const QVector3D& p)
        { return plan->GetViewport().WorldToScreen(math::Vec3(p.x(), p.y(), p.z())); };
        const QVector3D before = p0();
        const QPoint screenBefore = onScreen(before);
        const int steps = UndoSteps();
        Activate();
        QTest::keySequence(Window(), QKeySequence(QString::fromLatin1(keys)));
        (void)QTest::qWaitFor([&] { return p0() != before; }, kDeadline); // checked below
        const QVector3D after = p0();
        // The pixels the same point of the venue moves by on screen, the view left where it was.
        const QPoint moved = onScreen(after) - screenBefore;
        const QString key = QString::fromLatin1(keys).remove(QStringLiteral("Ctrl+"));
        const QPoint direction = key == QLatin1String("Right")  ? QPoint(1, 0)
                                 : key == QLatin1String("Left") ? QPoint(-1, 0)
                                 : key == QLatin1String("Up")   ? QPoint(0, -1)
                                                                : QPoint(0, 1);
        const bool pointed =
            QPoint::dotProduct(moved, direction) > 0 && qAbs(direction.x() != 0 ? moved.y() : moved.x()) <= 1;
        return Expect(
            qAbs((after - before).length() - step) < 0.006 && pointed && UndoSteps() == steps + 1,
            QStringLiteral("P0 moves from (%1, %2, %3) to (%4, %5, %6), on screen by (%7, %8), with %9 steps")
                .arg(before.x())
                .arg(before.y())
                .arg(before.z())
                .arg(after.x())
                .arg(after.y())
                .arg(after.z())
                .arg(moved.x())
                .arg(moved.y())
                .arg(UndoSteps() - steps));
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
                    {"Quad_P0X", "type 1.5", TypeReshapes(QStringLiteral("1.5"), FrontMiddle(0))},
                    {"Quad_P0Y", "type 2.5", TypeReshapes(QStringLiteral("2.5"), FrontMiddle(1))},
                    {"Quad_P0Z", "type 0.5", TypeReshapes(QStringLiteral("0.5"), FrontMiddle(2))},
                    {"Quad_FrontWidth", "type 12", TypeReshapes(QStringLiteral("12"), Edge(0, 3))},
                    {"Quad_BackWidth", "type 14", TypeReshapes(QStringLiteral("14"), Edge(1, 2))},
                    {"Quad_BackDepth", "type 18", TypeReshapes(QStringLiteral("18"), BackDepth)},
                    {"Quad_BackHeight", "type 3", TypeReshapes(QStringLiteral("3"), BackHeight)},
                    {"Quad_P1X", "type 4", TypeReshapes(QStringLiteral("4"), Corner(0, 0))},
                    {"Quad_P1Y", "type 5", TypeReshapes(QStringLiteral("5"), Corner(0, 1))},
                    {"Quad_P1Z", "type 1", TypeReshapes(QStringLiteral("1"), Corner(0, 2))},
                    {"Quad_P2X", "type 16", TypeReshapes(QStringLiteral("16"), Corner(1, 0))},
                    {"Quad_P2Y", "type 7", TypeReshapes(QStringLiteral("7"), Corner(1, 1))},
                    {"Quad_P2Z", "type 1.2", TypeReshapes(QStringLiteral("1.2"), Corner(1, 2))},
                    {"Quad_P3X", "type 18", TypeReshapes(QStringLiteral("18"), Corner(2, 0))},
                    {"Quad_P3Y", "type -9", TypeReshapes(QStringLiteral("-9"), Corner(2, 1))},
                    {"Quad_P3Z", "type 1.4", TypeReshapes(QStringLiteral("1.4"), Corner(2, 2))},
                    {"Quad_P4X", "type 2", TypeReshapes(QStringLiteral("2"), Corner(3, 0))},
                    {"Quad_P4Y", "type -11", TypeReshapes(QStringLiteral("-11"), Corner(3, 1))},
                    {"Quad_P4Z", "type 1.6", TypeReshapes(QStringLiteral("1.6"), Corner(3, 2))},
                    // Turned, the surface no longer takes its corners one by one.
                    {"Quad_Rotation", "type 10", TypeTurns(QStringLiteral("10"))},
                    {"Quad_ListenerHeightEnabled", "click twice", SurfaceToggle("ListenerHeightEnabled")},
                    {"Quad_ListenerHeight", "type 1.3", TypeSaved(QStringLiteral("1.3"), "ListenerHeight")},
                    {"Entity_Transparency", "click twice", SurfaceToggle("Transparent")},
                    {"Entity_Visibility", "click twice", SurfaceToggle("Visible")},
                    {"Entity_Lock", "click twice", SurfaceToggle("Locked")},
                    {"ColorPickerButton", "click, type a colour, OK", ChosenColourIsSaved()},
                    {"Toolbar_SliderPlanSlider", "Page Down", SlideChangesView("openGLPlan")},
                    {"Toolbar_SliderPlanSubtractButton", "click", ClickZooms("openGLPlan", false)},
                    {"Toolbar_SliderPlanAddButton", "click", ClickZooms("openGLPlan", true)},
                    {"Toolbar_ZoomToFit", "zoom in or out, click", ClickFits("openGLPlan", ShownCorners)},
                    {"Toolbar_LinkViews", "click twice", ClickUnlinksZoom()},
                    {"Ctrl+=", "keys", KeysZoom("Ctrl+=", true)},
                    {"Ctrl++", "keys", KeysZoom("Ctrl++", true)},
                    {"Ctrl+-", "keys", KeysZoom("Ctrl+-", false)},
                    {"Left", "keys", KeysMoveSurface("Left", 1.0)},
                    {"Right", "keys", KeysMoveSurface("Right", 1.0)},
                    {"Up", "keys", KeysMoveSurface("Up", 1.0)},
                    {"Down", "keys", KeysMoveSurface("Down", 1.0)},
                    {"Ctrl+Left", "keys", KeysMoveSurface("Ctrl+Left", 0.1)},
                    {"Ctrl+Right", "keys", KeysMoveSurface("Ctrl+Right", 0.1)},
                    {"Ctrl+Up", "keys", KeysMoveSurface("Ctrl+Up", 0.1)},
                    {"Ctrl+Down", "keys", KeysMoveSurface("Ctrl+Down", 0.1)},
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
