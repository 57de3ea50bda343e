// Ending a selection is no edit: whichever way the user leaves an array, its
// configuration, the saved file and the undo history stay as they were.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "core/Commands/UndoStack.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
QStringList UndoTexts()
{
    QStringList texts;
    const QUndoStack& stack = UndoStack::Instance();
    for (int i = 0; i < stack.count(); ++i)
        texts << stack.text(i);
    return texts;
}

QString ShownText(const char* name)
{
    auto* edit = Window()->findChild<QLineEdit*>(QLatin1String(name));
    return edit != nullptr ? edit->text() : QStringLiteral("<none>");
}
} // namespace

TEST(SelectionEnd, LeavesTheArrayItsFileAndTheUndoHistoryAlone)
{
    MainWindow* window = Window();
    StartOnSpeakerTab();
    for (int n = 1; n <= 2; ++n)
    {
        QTest::mouseClick(Shown("Toolbar_AddEntity"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ArrayList()->rowCount() == n; }, kDeadline));
    }
    ClickRow(0);
    ASSERT_TRUE(QTest::qWaitFor([] { return ArrayList()->item(0, 1)->isSelected(); }, kDeadline));
    ASSERT_TRUE(QTest::qWaitFor([] { return Shown("Beam_Modules") && Shown("Beam_Modules")->isEnabled(); },
                                kDeadline));
    Choose("Beam_Modules", QStringLiteral("3"));
    Choose("Beam_Beams", QStringLiteral("Dual (Dante)"));
    Choose("Beam_Manual1", QStringLiteral("Raked Floor"));
    Type("Beam_TopPositionEdit", QStringLiteral("5"));
    ASSERT_TRUE(QTest::qWaitFor([] { return ShownText("Beam_BottomPositionEdit") == QStringLiteral("2.0"); },
                                kDeadline))
        << ShownText("Beam_BottomPositionEdit").toStdString();

    SaveAs(Documents() + QStringLiteral("/Kept.tq"));
    ASSERT_EQ(ProjectDefinition::Instance()->GetFileName(), Documents() + QStringLiteral("/Kept.tq"));
    const QByteArray saved = SaveAndRead();
    ASSERT_TRUE(saved.contains("<NumModules>3</NumModules>")) << saved.toStdString();
    const QStringList undo = UndoTexts();

    auto* plan = Shown<view::VenueView3D>("openGLPlanSpkr");
    ASSERT_NE(plan, nullptr);
    struct Case
    {
        const char* how;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"click on empty space in the plan view",
         [&]
         {
             QTest::mouseClick(plan, Qt::LeftButton, Qt::NoModifier,
                               QPoint(plan->width() - 40, plan->height() - 40));
         }},
        {"another array chosen", [] { ClickRow(1); }},
        {"a second array added to the selection",
         []
         {
             ClickRow(1, Qt::ControlModifier);
             Settle();
             // The panel of a multiple selection is empty, not the last array's place.
             for (const char* field : {"Beam_PosXEdit", "Beam_PosYEdit", "Beam_TopPositionEdit"})
                 EXPECT_EQ(ShownText(field), QString()) << field;
             EXPECT_FALSE(Shown("Beam_Modules")->isEnabled());
         }},
        {"theme switched in the settings",
         [&]
         {
             window->findChild<QAction*>(QStringLiteral("actionSettings"))->trigger();
             QWidget* theme = nullptr;
             ASSERT_TRUE(QTest::qWaitFor(
                 [&]
                 {
                     for (QWidget* top : QApplication::topLevelWidgets())
                         for (QWidget* w : top->findChildren<QWidget*>(QStringLiteral("ColorTheme")))
                             if (w->isVisible())
                                 theme = w;
                     return theme != nullptr;
                 },
                 kDeadline));
             QTest::mouseClick(theme, Qt::LeftButton);
             QTest::keyClick(theme->window(), Qt::Key_Escape);
         }},
        {"other tab shown", [] { QTest::mouseClick(TabButton("buttonVenueTab"), Qt::LeftButton); }},
        {"project saved", [] { (void)SaveAndRead(); }},
    };
    for (const Case& c : cases)
    {
        if (window->currentPage() != 2)
            QTest::mouseClick(TabButton("buttonSpeakerTab"), Qt::LeftButton);
        ClickRow(0);
        ASSERT_TRUE(
            QTest::qWaitFor([] { return Shown<QComboBox>("Beam_Modules")->currentText() == "3"; }, kDeadline))
            << c.how;
        c.end();
        Settle();
        EXPECT_EQ(UndoTexts(), undo) << c.how;
        EXPECT_FALSE(ProjectDefinition::Instance()->IsModified()) << c.how;
        EXPECT_EQ(SaveAndRead(), saved) << c.how;
        // Steps nobody asked for are taken back, so that each way is tried on the same array.
        QUndoStack& stack = UndoStack::Instance();
        while (stack.index() > undo.size())
            stack.undo();
    }
    AppSettings::Instance().GetUiSettings()->setTheme(UiTypes::UiTheme::Day);
}
} // namespace zorvpro::programtest
