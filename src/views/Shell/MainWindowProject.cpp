// The project commands of the main window: clear, new, open, load, save,
// save as, recent files, the save prompt, the title and the help page.

#include "views/Shell/MainWindow.h"

#include "core/Commands/UndoStack.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Common/OpenLocalFile.h"
#include "views/Common/WarningMessage.h"
#include "views/Dashboard/Dashboard.h"
#include "views/Shell/ProjectFiles.h"
#include "views/Shell/TabToolBarWidget.h"
#include "views/Tabs/Speaker/SpeakerAnalysisTab.h"
#include "views/Tabs/Venue/VenueTab.h"
#include "views/ZorvApp.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QUndoStack>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

const QString kUntitled = QStringLiteral("UntitledProject");

QString ProjectFilter()
{
    return Tr("ZTQ Project File (*.tq)");
}

QString DocumentsFolder()
{
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation);
    return folders.isEmpty() ? QDir::homePath() : folders.first();
}

void ReportSaveFailure()
{
    OmbraxLogger::Log(LogLevel::Error, QStringLiteral("File failed to save"));
    showWarningMessage(Tr("The file could not be saved."), Tr("File Save Error"));
}
} // namespace

void MainWindow::clearProject()
{
    clearProject(false);
}

void MainWindow::clearProject(bool markDirty)
{
    if (ZorvApp* app = ZorvApp::Instance())
        app->ResetEngine();
    ProjectDefinition::Instance()->Clear(markDirty);
    if (splAdapter_)
        splAdapter_->NodeChanged(1, {});
    venueTab_->onProjectCleared();
    speakerTab->onProjectCleared();
    UndoStack::Instance().clear();
}

bool MainWindow::LoadProject(const QString& path)
{
    // The box names the file: a missing or unreadable file is said, never passed over.
    const QString named = QDir::toNativeSeparators(path);
    // A wrong pick must not cost the open project: only a readable project
    // file is worth clearing for.
    if (!IsReadableProjectFile(path))
    {
        showWarningMessage(Tr("The file could not be loaded."), Tr("File Load Error"), nullptr, named);
        return false;
    }
    clearProject(false);
    ProjectDefinition* project = ProjectDefinition::Instance();
    if (!project->Load(path))
    {
        showWarningMessage(Tr("The file could not be loaded."), Tr("File Load Error"), nullptr, named);
        if (!onStartPage())
        {
            project->MarkModified();
            updateWindowTitle();
        }
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    showPage(1);
    splAdapter_->NodeChanged(1, {});
    {
        // Restoring the views writes back the zoom and cameras just read: no edit, so the
        // loaded project stays unmodified.
        const QSignalBlocker quiet(project->GetSettings());
        venueTab_->adapter()->LoadVenue();
        // Loading raises no change notice of the surfaces; the speaker tab needs them in
        // place (scene bounds, medial planes) before its own load cuts the maps.
        speakerTab->adapter()->handleSurfacesChanged();
        speakerTab->adapter()->LoadVenue();
    }
    splAdapter_->PushSplSettings();
    QApplication::restoreOverrideCursor();
    tabBar_->updateProperty(QStringLiteral("buttonVenueTab"), true);
    showPage(1);
    updateWindowTitle();
    return true;
}

void MainWindow::newProject()
{
    if (onStartPage())
        return;
    CommitFocusedEdit();
    if (maybeSave())
        showStartPage();
}

void MainWindow::showStartPage()
{
    showPage(0);
    clearProject(false);
}

void MainWindow::startNewProject()
{
    // The start page's fields are the new project's settings.
    CommitFocusedEdit();
    venueTab_->adapter()->AddNewItem(true);
    ProjectDefinition::Instance()->MarkModified();
    showPage(1);
    updateWindowTitle();
    tabBar_->updateProperty(QStringLiteral("buttonVenueTab"), true);
}

void MainWindow::openProject()
{
    CommitFocusedEdit();
    if (!maybeSave())
        return;
    const QString path =
        showFileDialog(Tr("Open Project"), ProjectFilter(), DocumentsFolder(), QString(), true);
    if (!path.isEmpty())
        LoadProject(path);
}

bool MainWindow::saveProject()
{
    // A shortcut leaves the focus in the field: what it shows is what gets saved.
    CommitFocusedEdit();
    ProjectDefinition* project = ProjectDefinition::Instance();
    if (project->GetFileName().isEmpty())
        return saveProjectAs();
    if (project->Save())
        return true;
    ReportSaveFailure();
    return false;
}

bool MainWindow::saveProjectAs()
{
    CommitFocusedEdit();
    ProjectDefinition* project = ProjectDefinition::Instance();
    const QString current = project->GetFileName();
    const QString proposal = current.isEmpty()
                                 ? DocumentsFolder() + QStringLiteral("/") + kUntitled + QStringLiteral(".tq")
                                 : current;
    const QString path = showFileDialog(Tr("Save Project"), ProjectFilter(), proposal,
                                        kUntitled + QStringLiteral(".tq"), false);
    // A cancelled dialog saved nothing: callers must not go on as if it had.
    if (path.isEmpty())
        return false;
    if (project->SaveAs(path))
        return true;
    ReportSaveFailure();
    return false;
}

void MainWindow::openRecentFile()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (action == nullptr)
        return;
    CommitFocusedEdit();
    if (!maybeSave())
        return;
    const QString path = action->data().toString();
    if (!path.isEmpty())
        LoadProject(path);
}

bool MainWindow::maybeSave()
{
    if (!ProjectDefinition::Instance()->IsModified())
        return true;
    QMessageBox box(QMessageBox::NoIcon, Tr("Save changes?"),
                    Tr("The file has been modified. Do you want to save the changes before closing?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    for (QPushButton* button : box.findChildren<QPushButton*>())
    {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumSize(80, 24);
    }
    switch (box.exec())
    {
    case QMessageBox::Save:
        return saveProject();
    case QMessageBox::Discard:
        return true;
    default:
        // Closed without an answer: nothing unsaved may be dropped.
        return false;
    }
}

void MainWindow::launchHelp()
{
    if (onStartPage())
        return;
    const QString path = HelpPagePath();
    if (EnsureHelpPage(path))
        OpenLocalFile(path, this);
    else
        showWarningMessage(Tr("No such file"), Tr("WARNING"));
}

void MainWindow::updateWindowTitle()
{
    ProjectDefinition* project = ProjectDefinition::Instance();
    const QString name = project->GetFileName();
    const bool modified = project->IsModified();
    const QString app = QCoreApplication::translate("main", "Zorv Tessary");
    if (name.isEmpty())
        setWindowTitle(modified ? kUntitled + QStringLiteral("* - ") + app : app);
    else
        setWindowTitle(baseNameOfPath(name) + (modified ? QStringLiteral("*") : QString()) +
                       QStringLiteral(" - ") + app);
}

void MainWindow::updateRecentFileActions()
{
    const QStringList list = ProjectDefinition::Instance()->GetRecentFiles();
    const auto entries = buildRecentFileEntries(list, true, mainMenu_->widthMM());
    for (int i = 0; i < static_cast<int>(recentFileActions.size()); ++i)
    {
        QAction* action = recentFileActions[static_cast<size_t>(i)];
        if (i < entries.size())
        {
            action->setText(entries[i].first);
            action->setToolTip(Tr("Open ") + entries[i].second);
            action->setData(list[i]);
            action->setVisible(true);
        }
        else
        {
            // A stale entry would open a file that left the list.
            action->setVisible(false);
            action->setData(QVariant());
        }
    }
    recentFilesSeparator->setVisible(!entries.isEmpty());
    startPage_->updateRecentFiles(list);
}

QList<QPair<QString, QString>> MainWindow::buildRecentFileEntries(const QStringList& paths, bool numbered,
                                                                  int limit)
{
    QList<QPair<QString, QString>> entries;
    const int n = std::min(paths.size(), 4);
    for (int i = 0; i < n; ++i)
    {
        const QString& path = paths[i];
        const QString base = baseNameOfPath(path);
        const QFileInfo info(path);
        const QString fileName = info.fileName();
        QString shown = fileName;
        if (base.size() > limit)
            shown = base.left(limit) + QStringLiteral("...") + info.suffix();
        entries.append({numbered ? QStringLiteral("&%1: %2").arg(i + 1).arg(shown) : shown, fileName});
    }
    return entries;
}

QString baseNameOfPath(const QString& path)
{
    QString name = path.section(QLatin1Char('/'), -1);
    name = name.section(QLatin1Char('\\'), -1);
    return name.section(QLatin1Char('.'), 0, -2);
}
} // namespace zorvpro
