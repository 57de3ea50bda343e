// Ending a selection is no edit: whichever way the user leaves an array, its
// configuration, the saved file and the undo history stay as they were.
#include "ProgramTestEnv.h"

#include "core/Commands/UndoStack.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/TabToolBarWidget.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
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
template <typename T = QWidget> T* Shown(const char* name)
{
    for (T* widget : Window()->findChildren<T*>(QLatin1String(name)))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

// Opens the list with the mouse and clicks the option.
void Choose(const char* name, const QString& option)
{
    auto* box = Shown<QComboBox>(name);
    ASSERT_NE(box, nullptr) << name;
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, 5000)) << name;
    const int row = box->findText(option);
    ASSERT_GE(row, 0) << name << " " << option.toStdString();
    // Arrow keys to the option, Return to take it.
    const int steps = row - box->currentIndex();
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list->isVisible(); }, 5000)) << name;
    QTest::qWait(0);
    EXPECT_EQ(box->currentText(), option) << name;
}

// Lets every queued report of the widgets arrive.
void Settle()
{
    for (int i = 0; i < 5; ++i)
        QTest::qWait(0);
}

void Type(const char* name, const QString& text)
{
    auto* edit = Shown<QLineEdit>(name);
    ASSERT_NE(edit, nullptr) << name;
    QTest::mouseClick(edit, Qt::LeftButton);
    // The field selects its whole number once it has the focus.
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasSelectedText(); }, 5000)) << name;
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QByteArray Saved()
{
    Window()->findChild<QAction*>(QStringLiteral("actionSave"))->trigger();
    QFile file(ProjectDefinition::Instance()->GetFileName());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QTableWidget* List()
{
    return Window()->findChild<QTableWidget*>(QStringLiteral("SpeakerAnalysisTabEntitySelectionControl"));
}

void ClickRow(int row, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    // The list ignores clicks until a selection made by the program has settled.
    Settle();
    QTableWidget* list = List();
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, cell.center());
}

QPushButton* TabButton(const char* name)
{
    return qobject_cast<QPushButton*>(Window()->tabBar()->getProperty(QLatin1String(name))->widget());
}

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
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::mouseClick(Shown<QPushButton>("continueButton"), Qt::LeftButton);
    QTest::mouseClick(TabButton("buttonSpeakerTab"), Qt::LeftButton);
    ASSERT_EQ(window->currentPage(), 2);
    Settle();
    for (int n = 1; n <= 2; ++n)
    {
        QTest::mouseClick(Shown("Toolbar_AddEntity"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return List()->rowCount() == n; }, 5000));
    }
    ClickRow(0);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return Shown("Beam_Modules") && Shown("Beam_Modules")->isEnabled(); }, 5000));
    Choose("Beam_Modules", QStringLiteral("3"));
    Choose("Beam_Beams", QStringLiteral("Dual (Dante)"));
    Choose("Beam_Manual1", QStringLiteral("Raked Floor"));
    Type("Beam_TopPositionEdit", QStringLiteral("5"));
    ASSERT_TRUE(
        QTest::qWaitFor([] { return ShownText("Beam_BottomPositionEdit") == QStringLiteral("2.0"); }, 5000))
        << ShownText("Beam_BottomPositionEdit").toStdString();

    AnswerModal([&] { QMetaObject::invokeMethod(window, "saveProjectAs", Qt::DirectConnection); },
                [&](QWidget* modal)
                {
                    auto* dialog = qobject_cast<QFileDialog*>(modal);
                    dialog->selectFile(Documents() + QStringLiteral("/Kept.tq"));
                    static_cast<QDialog*>(dialog)->accept();
                });
    const QByteArray saved = Saved();
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
                 5000));
             QTest::mouseClick(theme, Qt::LeftButton);
             QTest::keyClick(theme->window(), Qt::Key_Escape);
         }},
        {"other tab shown", [] { QTest::mouseClick(TabButton("buttonVenueTab"), Qt::LeftButton); }},
        {"project saved", [] { (void)Saved(); }},
    };
    for (const Case& c : cases)
    {
        if (window->currentPage() != 2)
            QTest::mouseClick(TabButton("buttonSpeakerTab"), Qt::LeftButton);
        ClickRow(0);
        ASSERT_TRUE(
            QTest::qWaitFor([] { return Shown<QComboBox>("Beam_Modules")->currentText() == "3"; }, 5000))
            << c.how;
        c.end();
        Settle();
        EXPECT_EQ(UndoTexts(), undo) << c.how;
        EXPECT_FALSE(ProjectDefinition::Instance()->IsModified()) << c.how;
        EXPECT_EQ(Saved(), saved) << c.how;
        // Steps nobody asked for are taken back, so that each way is tried on the same array.
        QUndoStack& stack = UndoStack::Instance();
        while (stack.index() > undo.size())
            stack.undo();
    }
    AppSettings::Instance().GetUiSettings()->setTheme(UiTypes::UiTheme::Day);
}
} // namespace zorvpro::programtest
