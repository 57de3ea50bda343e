// An opened project shows nothing selected, and what acts on the selection says so: whichever way
// a saved project with arrays is opened, the Delete tool and, on the speaker page, "Set Max Gain"
// and "Send to KVD" are off until the user selects; one array turns all three on, two leave
// "Send to KVD" off, and taking the selection away turns them off again.
#include "OpenedProjectPhase.h"
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "data/Project/ProjectDefinition.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/Startup.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
constexpr const char* kPhase = "opened-project";

int SelectedRows()
{
    return ArrayList()->selectionModel()->selectedRows(1).size();
}

// What the page shown offers for its selection: the Delete tool of its tool bars and, on the
// speaker page, the two buttons ("Delete off, Set Max Gain off, Send to KVD off").
QString Offered()
{
    const bool speaker = Window()->currentPage() == 2;
    QWidget* page = Window()->findChild<QWidget*>(speaker ? QStringLiteral("tabButtonSpeaker")
                                                          : QStringLiteral("tabButtonVenue"));
    QStringList remove;
    for (QWidget* tool : page->findChildren<QWidget*>(QStringLiteral("Toolbar_DeleteEntity")))
        if (tool->isVisible())
            remove << QLatin1String(tool->isEnabled() ? "on" : "off");
    remove.removeDuplicates();
    QString offered =
        QStringLiteral("Delete ") + (remove.isEmpty() ? QStringLiteral("not shown") : remove.join('/'));
    if (speaker)
        for (const auto& [name, label] :
             {std::pair<const char*, const char*>{"setMaxGainButton", "Set Max Gain"},
              {"buttonSendToKVD", "Send to KVD"}})
        {
            auto* button = Shown<QPushButton>(name);
            offered += QStringLiteral(", ") + QLatin1String(label) +
                       (button == nullptr ? QStringLiteral(" not shown")
                                          : QLatin1String(button->isEnabled() ? " on" : " off"));
        }
    return offered;
}

// Checks the project just opened, with its two arrays, as the user meets it: the venue page, then
// the speaker page through the selections of its list. What was wrong, one line each.
QStringList FollowsTheSelection()
{
    QStringList wrong;
    MainWindow* window = Window();
    Settle();
    if (window->currentPage() != 1)
        return {QStringLiteral("the project does not open on the venue page")};
    const QString offOnTheVenuePage = QStringLiteral("Delete off");
    if (Offered() != offOnTheVenuePage)
        wrong
            << QStringLiteral("venue page right after opening: %1, not %2").arg(Offered(), offOnTheVenuePage);

    QTest::mouseClick(TabButton("buttonSpeakerTab"), Qt::LeftButton);
    if (window->currentPage() != 2 ||
        !QTest::qWaitFor([] { return ArrayList()->rowCount() == 2; }, kDeadline))
        return wrong << QStringLiteral("the speaker page does not show the two arrays");
    struct Step
    {
        const char* what;
        std::function<void()> act;
        int selected;
        const char* offered;
    };
    const Step steps[] = {
        {"right after opening", [] {}, 0, "Delete off, Set Max Gain off, Send to KVD off"},
        {"one array selected", [] { ClickRow(0); }, 1, "Delete on, Set Max Gain on, Send to KVD on"},
        {"two arrays selected", [] { ClickRow(1, Qt::ControlModifier); }, 2,
         "Delete on, Set Max Gain on, Send to KVD off"},
        {"nothing selected",
         []
         {
             ClickRow(0, Qt::ControlModifier);
             ClickRow(1, Qt::ControlModifier);
         },
         0, "Delete off, Set Max Gain off, Send to KVD off"},
    };
    for (const Step& step : steps)
    {
        step.act();
        const bool selected = QTest::qWaitFor([&] { return SelectedRows() == step.selected; }, kDeadline);
        Settle();
        if (!selected)
            wrong << QStringLiteral("%1: the list shows %2 selected")
                         .arg(QLatin1String(step.what))
                         .arg(SelectedRows());
        else if (Offered() != QLatin1String(step.offered))
            wrong << QStringLiteral("%1: %2, not %3")
                         .arg(QLatin1String(step.what), Offered(), QLatin1String(step.offered));
    }
    return wrong;
}

bool WaitUntilOpened()
{
    return QTest::qWaitFor([] { return Window()->currentPage() == 1; }, kDeadline);
}

// The speaker page as the user leaves it to open a project: one array selected, so that all it
// offers for the selection is on.
void WorkOnOneArray()
{
    if (Window()->currentPage() != 2)
        QTest::mouseClick(TabButton("buttonSpeakerTab"), Qt::LeftButton);
    ClickRow(0);
    ASSERT_TRUE(QTest::qWaitFor([] { return SelectedRows() == 1; }, kDeadline));
    Settle();
    ASSERT_EQ(Offered(), QStringLiteral("Delete on, Set Max Gain on, Send to KVD on"));
}

// The program started anew with the path on its command line, checked in that process.
QStringList OpenedOnTheCommandLine(const QString& path)
{
    QTemporaryDir root;
    if (!root.isValid() || !MakeFolders(root.path()))
        return {QStringLiteral("no folders for the program")};
    QProcessEnvironment env = windowtest::FolderEnvironment(root.path());
    env.insert(QStringLiteral("ZORV_E2E_ROOT"), root.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--phase"), QStringLiteral("4"), path});
    if (!program.waitForFinished(180000))
    {
        program.kill();
        program.waitForFinished();
        return {QStringLiteral("the program did not end")};
    }
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    const QString failed = QLatin1String(kPhase) + QStringLiteral(" check failed: ");
    QStringList wrong;
    for (const QString& line : errors.split(QLatin1Char('\n')))
        if (line.startsWith(failed))
            wrong << line.mid(failed.size());
    if (wrong.isEmpty() && (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0))
        wrong << QStringLiteral("the program ended with %1: %2")
                     .arg(program.exitCode())
                     .arg(errors.right(3000));
    return wrong;
}
} // namespace

TEST(OpenedProject, NothingActsOnASelectionBeforeTheUserMakesOneWhicheverWayItIsOpened)
{
    StartOnSpeakerTab();
    for (int n = 1; n <= 2; ++n)
    {
        QTest::mouseClick(Shown("Toolbar_AddEntity"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ArrayList()->rowCount() == n; }, kDeadline));
    }
    const QString path = Documents() + QStringLiteral("/TwoArrays.tq");
    SaveAs(path);
    ASSERT_EQ(ProjectDefinition::Instance()->GetFileName(), path);

    struct Way
    {
        const char* name;
        // Opens the project in this window; null for a start of the program with it.
        std::function<void()> open;
    };
    const Way ways[] = {
        {"Open Project (Ctrl+O)",
         [&]
         {
             WorkOnOneArray();
             AnswerModal(
                 []
                 {
                     ActivateWindow();
                     QTest::keySequence(Window(), QKeySequence::Open);
                 },
                 TypeFileName(path));
         }},
        {"the recent file in the menu",
         [&]
         {
             WorkOnOneArray();
             QAction* entry = nullptr;
             for (QAction* action : Window()->mainMenu()->actions())
                 if (action->isVisible() && action->data().toString() == path)
                     entry = action;
             ASSERT_NE(entry, nullptr);
             entry->trigger();
         }},
        {"the start page's open tile",
         [&]
         {
             WorkOnOneArray();
             BackToStartPage();
             AnswerModal(
                 []
                 {
                     QTest::mouseClick(Shown("openDocButton"), Qt::LeftButton);
                     EXPECT_TRUE(WaitUntilOpened());
                 },
                 TypeFileName(path));
         }},
        {"the start page's recent tile",
         [&]
         {
             WorkOnOneArray();
             BackToStartPage();
             QTest::mouseClick(Shown("recDoc1Button"), Qt::LeftButton);
         }},
        {"the command line", nullptr},
    };
    for (const Way& way : ways)
    {
        SCOPED_TRACE(way.name);
        QStringList wrong;
        if (way.open)
        {
            way.open();
            ASSERT_FALSE(testing::Test::HasFatalFailure());
            ASSERT_TRUE(WaitUntilOpened());
            ASSERT_EQ(ProjectDefinition::Instance()->GetFileName(), path);
            wrong = FollowsTheSelection();
        }
        else
            wrong = OpenedOnTheCommandLine(path);
        EXPECT_TRUE(wrong.isEmpty()) << way.name << ":\n" << wrong.join(QLatin1Char('\n')).toStdString();
    }
}

int RunOpenedProjectPhase(const QString& folder, int argc, char** argv)
{
    setenv("QT_SCALE_FACTOR", "1", 1);
    const int code = RunProgram(argc, argv,
                                [&folder](ProgramStart& start)
                                {
                                    MainWindow* window = start.Start();
                                    SetWindowForPhase(window, folder);
                                    PhaseCheck(kPhase, LoopWaitForExposed(window), "the window shown");
                                    for (const QString& wrong : FollowsTheSelection())
                                        PhaseCheck(kPhase, false, qPrintable(wrong));
                                    SetWindowForPhase(nullptr, folder);
                                    return 0;
                                });
    return PhaseFailures() == 0 ? code : 1;
}
} // namespace zorvpro::programtest
