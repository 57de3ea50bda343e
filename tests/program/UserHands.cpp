#include "UserHands.h"

#include "ProgramTestEnv.h"
#include "data/Project/ProjectDefinition.h"
#include "views/GridControl/BindableProperty.h"
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
#include <cstdlib>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
QWidget* ShownWidget(const char* name)
{
    for (QWidget* widget : Window()->findChildren<QWidget*>(QLatin1String(name)))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QTest::qWait(0);
}

namespace
{
QAbstractItemView* OpenList(QComboBox* box)
{
    // A list opened before Qt has the focus closes again as the application is deactivated.
    EXPECT_TRUE(windowtest::Activate(box));
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* list = box->view();
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, kDeadline))
        << box->objectName().toStdString();
    return list;
}

void WaitClosed(QComboBox* box)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return !box->view()->isVisible(); }, kDeadline))
        << box->objectName().toStdString();
    Settle();
}
} // namespace

void Choose(const char* name, const QString& option)
{
    auto* box = Shown<QComboBox>(name);
    ASSERT_NE(box, nullptr) << name;
    const int row = box->findText(option);
    ASSERT_GE(row, 0) << name << " " << option.toStdString();
    QAbstractItemView* list = OpenList(box);
    const int steps = row - box->currentIndex();
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    WaitClosed(box);
    EXPECT_EQ(box->currentText(), option) << name;
}

void OpenAndClose(const char* name)
{
    auto* box = Shown<QComboBox>(name);
    ASSERT_NE(box, nullptr) << name;
    QTest::keyClick(OpenList(box), Qt::Key_Escape);
    WaitClosed(box);
}

void Type(const char* name, const QString& text)
{
    auto* edit = Shown<QLineEdit>(name);
    ASSERT_NE(edit, nullptr) << name;
    ActivateWindow();
    QTest::mouseClick(edit, Qt::LeftButton);
    // The field selects its whole number once it has the focus.
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasSelectedText(); }, kDeadline)) << name;
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QPushButton* TabButton(const char* name)
{
    return qobject_cast<QPushButton*>(Window()->tabBar()->getProperty(QLatin1String(name))->widget());
}

void ShowAt(int width, int height)
{
    MainWindow* window = Window();
    window->showNormal();
    // At the screen's corner: the window is first shown centred on the screen.
    window->setGeometry(0, 0, width, height);
    ASSERT_TRUE(LoopWaitForExposed(window));
}

void ActivateWindow()
{
    // Keys go to the active window; another window may have had the focus last.
    ASSERT_TRUE(windowtest::Activate(Window()));
}

void StartProject()
{
    MainWindow* window = Window();
    if (window->currentPage() != 0)
        window->showStartPage();
    QWidget* button = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (button = Shown("continueButton")) != nullptr; }, kDeadline));
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(window->currentPage(), 1);
}

void BackToStartPage()
{
    QAction* newProject = Window()->findChild<QAction*>(QStringLiteral("actionNew"));
    if (ProjectDefinition::Instance()->IsModified())
        AnswerModal([&] { newProject->trigger(); }, PressButton(QStringLiteral("Discard")));
    else
        newProject->trigger();
    ASSERT_EQ(Window()->currentPage(), 0);
}

void StartOnSpeakerTab()
{
    MainWindow* window = Window();
    ActivateWindow();
    if (testing::Test::HasFatalFailure())
        return;
    // A project left open by an earlier test is put away without saving.
    if (window->currentPage() != 0)
    {
        BackToStartPage();
        if (testing::Test::HasFatalFailure())
            return;
    }
    QTest::mouseClick(Shown<QPushButton>("continueButton"), Qt::LeftButton);
    QTest::mouseClick(TabButton("buttonSpeakerTab"), Qt::LeftButton);
    ASSERT_EQ(window->currentPage(), 2);
    Settle();
}

QTableWidget* ArrayList()
{
    return Window()->findChild<QTableWidget*>(QStringLiteral("SpeakerAnalysisTabEntitySelectionControl"));
}

void ClickRow(int row, Qt::KeyboardModifiers keys)
{
    // The list ignores clicks until a selection made by the program has settled.
    Settle();
    QTableWidget* list = ArrayList();
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, cell.center());
}

QByteArray SaveAndRead()
{
    Window()->findChild<QAction*>(QStringLiteral("actionSave"))->trigger();
    QFile file(ProjectDefinition::Instance()->GetFileName());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void SaveAs(const QString& path)
{
    AnswerModal([] { QMetaObject::invokeMethod(Window(), "saveProjectAs", Qt::DirectConnection); },
                TypeFileName(path));
}

std::function<void(QWidget*)> TypeFileName(const QString& path)
{
    return [path](QWidget* modal)
    {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->windowTitle().toStdString();
        // The name goes into the name field, as typed: a dialog whose field has the focus keeps
        // its text against selectFile.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    };
}
} // namespace zorvpro::programtest
