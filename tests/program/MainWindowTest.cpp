// The main window as a user meets it: pages, tab bar, menu, and the project
// commands with their dialogs answered.
#include "ProgramTestEnv.h"

#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Dashboard/Dashboard.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/TabToolBarWidget.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
QAction* Action(const char* name)
{
    return Window()->findChild<QAction*>(QLatin1String(name));
}

QPushButton* TabButton(const char* name)
{
    return qobject_cast<QPushButton*>(Window()->tabBar()->getProperty(QLatin1String(name))->widget());
}

void StartNewProject()
{
    auto* button = Window()->startPage()->findChild<QPushButton*>(QStringLiteral("continueButton"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

size_t SurfaceCount()
{
    return ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren().size();
}

// Chooses the file in the save or open dialog and accepts it; checks what the
// dialog proposed first.
std::function<void(QWidget*)> ChooseFile(const QString& path, QString* proposed = nullptr,
                                         QString* folder = nullptr)
{
    return [=](QWidget* modal)
    {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (proposed != nullptr && !dialog->selectedFiles().isEmpty())
            *proposed = QFileInfo(dialog->selectedFiles().first()).fileName();
        if (folder != nullptr)
            *folder = dialog->directory().absolutePath();
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    };
}

QString MessageText;
std::function<void(QWidget*)> ReadAndPress(const QString& button)
{
    return [button](QWidget* modal)
    {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            MessageText = box->text();
        PressButton(button)(modal);
    };
}
} // namespace

TEST(MainWindow, StartsOnTheStartPageWithItsMenuInOrder)
{
    MainWindow* window = Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("zorvpro__MainWindow"));
    EXPECT_GE(window->minimumWidth(), 1366);
    EXPECT_GE(window->minimumHeight(), 768);
    EXPECT_EQ(window->currentPage(), 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zorv Tessary"));
    EXPECT_FALSE(window->findChild<QFrame*>(QStringLiteral("toolbarFrame"))->isVisible());
    EXPECT_FALSE(window->findChild<QFrame*>(QStringLiteral("frameBottomBorder"))->isVisible());
    auto* stack = window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    ASSERT_EQ(stack->count(), 4);
    EXPECT_EQ(stack->widget(1)->objectName(), QStringLiteral("tabButtonVenue"));
    EXPECT_EQ(stack->widget(2)->objectName(), QStringLiteral("tabButtonSpeaker"));
    EXPECT_EQ(stack->widget(3)->objectName(), QStringLiteral("tabButtonBom"));

    QMenu* menu = window->findChild<QMenu*>(QStringLiteral("menuDropDown"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TabButton("buttonMainMenu")->menu(), menu);
    QStringList shown;
    for (QAction* action : menu->actions())
        if (action->isVisible())
            shown << (action->isSeparator()
                          ? QStringLiteral("|")
                          : action->text() + QLatin1Char('=') + action->shortcut().toString());
    auto entry = [](const char* text, const QKeySequence& keys)
    { return QLatin1String(text) + QLatin1Char('=') + keys.toString(); };
    const QStringList expected = {entry("&New Project", QKeySequence::New),
                                  entry("&Open Project", QKeySequence::Open),
                                  entry("&Save Project", QKeySequence::Save),
                                  entry("Save Project &As...", QKeySequence(QStringLiteral("Ctrl+Shift+S"))),
                                  QStringLiteral("|"),
                                  entry("S&ettings", QKeySequence(QStringLiteral("Ctrl+Shift+P"))),
                                  QStringLiteral("|"),
                                  entry("&Help", QKeySequence()),
                                  QStringLiteral("|"),
                                  entry("E&xit", QKeySequence::Close)};
    EXPECT_EQ(shown, expected);
    const QMenu* help = menu->actions()[menu->actions().size() - 3]->menu();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->actions()[0]->text(), QStringLiteral("&Launch Help"));
    EXPECT_EQ(help->actions()[1]->text(), QStringLiteral("&About Zorv Tessary"));

    // New, Help, About and Settings do nothing on the start page.
    QSignalSpy pages(window, &MainWindow::tabIndexChanged);
    for (const char* name : {"actionNew", "actionAbout", "actionSettings", "actionHelp"})
        Action(name)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(pages.count(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != window && top->isVisible() && qobject_cast<QDialog*>(top))
            ADD_FAILURE() << "a dialog opened on the start page: " << top->objectName().toStdString();
}

TEST(MainWindow, TabButtonsSwitchPagesAndCodeSelectionRaisesNothing)
{
    MainWindow* window = Window();
    StartNewProject();
    ASSERT_EQ(window->currentPage(), 1);
    EXPECT_TRUE(window->findChild<QFrame*>(QStringLiteral("toolbarFrame"))->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("UntitledProject* - Zorv Tessary"));
    EXPECT_EQ(SurfaceCount(), 1u);

    QSignalSpy pages(window, &MainWindow::tabIndexChanged);
    struct Case
    {
        const char* button;
        int page;
        int emissions;
    };
    const Case cases[] = {{"buttonSpeakerTab", 2, 1},
                          {"buttonSpeakerTab", 2, 1},
                          {"buttonBomTab", 3, 2},
                          {"buttonVenueTab", 1, 3},
                          {"buttonVenueTab", 1, 3}};
    for (const Case& c : cases)
    {
        QTest::mouseClick(TabButton(c.button), Qt::LeftButton);
        EXPECT_EQ(window->currentPage(), c.page) << c.button;
        EXPECT_EQ(pages.count(), c.emissions) << c.button;
        for (const char* other : {"buttonVenueTab", "buttonSpeakerTab", "buttonBomTab"})
            EXPECT_EQ(TabButton(other)->isChecked(), std::strcmp(other, c.button) == 0) << c.button << other;
    }

    // From code: the selection moves, nothing reaches the window.
    window->tabBar()->updateProperty(QStringLiteral("buttonBomTab"), true);
    EXPECT_TRUE(TabButton("buttonBomTab")->isChecked());
    EXPECT_FALSE(TabButton("buttonVenueTab")->isChecked());
    TabButton("buttonSpeakerTab")->setFocus();
    TabButton("buttonVenueTab")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(pages.count(), 3);
    EXPECT_EQ(window->currentPage(), 1);
}

TEST(MainWindow, SaveLoadPromptAndFailuresKeepTheWork)
{
    MainWindow* window = Window();
    ProjectDefinition* project = ProjectDefinition::Instance();
    StartNewProject();
    ASSERT_TRUE(project->IsModified());

    // Save of a never-saved project asks for a name in the documents folder.
    const QString path = Documents() + QStringLiteral("/Hall.tq");
    QString proposed;
    QString folder;
    AnswerModal([] { Action("actionSave")->trigger(); }, ChooseFile(path, &proposed, &folder));
    EXPECT_EQ(proposed, QStringLiteral("UntitledProject.tq"));
    EXPECT_EQ(QDir(folder), QDir(Documents()));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(project->IsModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Hall - Zorv Tessary"));
    QMenu* menu = window->mainMenu();
    QStringList recent;
    for (QAction* action : menu->actions())
        if (action->isVisible() && action->data().toString() == path)
            recent << action->text();
    EXPECT_EQ(recent, QStringList{QStringLiteral("&1: Hall.tq")});

    // A failed save keeps the modified flag, the name and the recent list, and says so.
    QMetaObject::invokeMethod(window->findChild<QObject*>(QStringLiteral("SquishCommandProcessor")), "test",
                              Q_ARG(QString, QStringLiteral("an edit")));
    ASSERT_EQ(window->windowTitle(), QStringLiteral("Hall* - Zorv Tessary"));
    const QByteArray saved = [&]
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_EQ(AnswerModal([] { Action("actionSave")->trigger(); }, ReadAndPress(QStringLiteral("OK"))),
              QStringLiteral("File Save Error"));
    EXPECT_EQ(MessageText, QStringLiteral("The file could not be saved."));
    EXPECT_TRUE(project->IsModified());
    EXPECT_EQ(project->GetFileName(), path);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Hall* - Zorv Tessary"));
    ASSERT_TRUE(QDir().rmdir(path));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(saved);
    }

    // Escape and Cancel at the prompt both keep the work; a cancelled Save As keeps it too.
    for (const QString& answer : {QString(), QStringLiteral("Cancel")})
    {
        EXPECT_EQ(AnswerModal([] { Action("actionNew")->trigger(); }, PressButton(answer)),
                  QStringLiteral("Save changes?"));
        EXPECT_EQ(window->currentPage(), 1);
        EXPECT_TRUE(project->IsModified());
    }
    AnswerModal([&] { EXPECT_FALSE(window->saveProjectAs()); },
                [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_TRUE(project->IsModified());

    // A wrong pick leaves the open project alone.
    const size_t surfaces = SurfaceCount();
    const QString wrong = Documents() + QStringLiteral("/Other.tq");
    {
        QFile f(wrong);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\"?><Settings/>");
    }
    for (const QString& pick : {wrong, Documents() + QStringLiteral("/Missing.tq")})
    {
        EXPECT_EQ(
            AnswerModal([&] { EXPECT_FALSE(window->LoadProject(pick)); }, ReadAndPress(QStringLiteral("OK"))),
            QStringLiteral("File Load Error"));
        EXPECT_EQ(MessageText, QStringLiteral("The file could not be loaded."));
        EXPECT_EQ(SurfaceCount(), surfaces);
        EXPECT_EQ(project->GetFileName(), path);
        EXPECT_TRUE(project->IsModified());
    }

    // Discard goes back to the start page with an empty project.
    AnswerModal([] { Action("actionNew")->trigger(); }, PressButton(QStringLiteral("Discard")));
    EXPECT_EQ(window->currentPage(), 0);
    EXPECT_EQ(SurfaceCount(), 0u);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zorv Tessary"));

    // Loading the saved file shows it on the Venue tab.
    ASSERT_TRUE(window->LoadProject(path));
    EXPECT_EQ(window->currentPage(), 1);
    EXPECT_EQ(SurfaceCount(), surfaces);
    EXPECT_TRUE(TabButton("buttonVenueTab")->isChecked());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Hall - Zorv Tessary"));

    // Help is written from the compiled-in page and opened as a local file.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    Action("actionHelp")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_TRUE(catcher.url.isLocalFile());
    EXPECT_TRUE(catcher.url.toLocalFile().endsWith(QStringLiteral("/Help/default.htm")));
    QFile page(catcher.url.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Zorv Tessary"));
}

TEST(MainWindow, ViewsPlacedOnFirstShowLeaveAnOpenedProjectUnmodified)
{
    // A project that stores no view cameras (written elsewhere, or saved before a view was ever
    // shown): each view places the world origin when it first gets a size. That is no edit:
    // neither the open nor a visit of both tabs may ask to save on closing, and the plan view
    // shows its stored zoom around the origin, not a few centimetres.
    const QString path = Documents() + QStringLiteral("/NoCameras.tq");
    ProjectDefinition* project = ProjectDefinition::Instance();
    ASSERT_TRUE(project->SaveAs(path));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(f.readAll());
        f.close();
        // A translation of (0,0,0) is what "no stored camera" reads as.
        text.replace(QRegularExpression(QStringLiteral("(<ViewCameraTranslation\\d>)[^<]*")),
                     QStringLiteral("\\1(0,0,0)"));
        ASSERT_EQ(text.count(QStringLiteral(">(0,0,0)</ViewCameraTranslation")), 4);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }
    MainWindow* window = Window();
    window->hide();
    ASSERT_TRUE(window->LoadProject(path));
    window->show();
    ASSERT_TRUE(LoopWaitForExposed(window));
    QTest::mouseClick(TabButton("buttonSpeakerTab"), Qt::LeftButton);
    QTest::mouseClick(TabButton("buttonVenueTab"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(project->IsModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("NoCameras - Zorv Tessary"));
    auto* plan = window->findChild<view::VenueView3D*>(QStringLiteral("openGLPlan"));
    ASSERT_NE(plan, nullptr);
    const QPoint origin = plan->GetViewport().WorldToScreen({0, 0, 0});
    EXPECT_NEAR(origin.x(), 0.15 * plan->width(), 2.0);
    EXPECT_NEAR(origin.y(), 0.5 * plan->height(), 2.0);
    EXPECT_LT(plan->width() / plan->GetViewport().pixelsPerMeter(), 100.0); // metres across
    EXPECT_GT(plan->width() / plan->GetViewport().pixelsPerMeter(), 5.0);
}

TEST(MainWindow, RecentEntriesAndBaseNames)
{
    const QStringList paths = {QStringLiteral("/a/Hall.tq"), QStringLiteral("/b/A very long project name.tq"),
                               QStringLiteral("/c/Arena.v2.tq"), QStringLiteral("/d/Club.tq"),
                               QStringLiteral("/e/Fifth.tq")};
    const auto entries = MainWindow::buildRecentFileEntries(paths, true, 10);
    ASSERT_EQ(entries.size(), 4);
    const QStringList texts = {QStringLiteral("&1: Hall.tq"), QStringLiteral("&2: A very lon...tq"),
                               QStringLiteral("&3: Arena.v2.tq"), QStringLiteral("&4: Club.tq")};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(entries[i].first, texts[i]);
    EXPECT_EQ(entries[1].second, QStringLiteral("A very long project name.tq"));
    EXPECT_EQ(MainWindow::buildRecentFileEntries(paths, false, 3)[0].first, QStringLiteral("Hal...tq"));

    const std::pair<const char*, const char*> names[] = {
        {"/x/y/Hall.tq", "Hall"}, {"C:\\x\\Arena.v2.tq", "Arena.v2"}, {"NoDot", ""}, {"plain.tq", "plain"}};
    for (const auto& [path, base] : names)
        EXPECT_EQ(baseNameOfPath(QLatin1String(path)), QLatin1String(base)) << path;
}
} // namespace zorvpro::programtest
