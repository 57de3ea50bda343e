#pragma once

#include "views/Common/IAppThemeListener.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/Shell/MainWindowUi.h"

#include <QMainWindow>
#include <QPair>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

class QAction;
class QMenu;

namespace zorvpro
{
class AboutDialog;
class AppSettingsAdapter;
class BillOfMaterialsTab;
class Dashboard;
class DiagnosticDialog;
class ProjectDefinitionAdapter;
class ProjectSettingsAdapter;
class SettingsPage;
class SplAdapter;
class SplPanelLink;
class SpeakerAnalysisTab;
class TabToolBarWidget;
class VenueTab;
class SplNodeForwarder;

// The one top-level window: the tab bar over a stack of the start page and
// the Venue, Speakers / Analysis and Report pages, the main menu and the
// project commands, the settings, log and about windows, and the coverage-map
// adapter that both tabs feed.
class MainWindow : public QMainWindow, public IAppThemeListener, public IBindablePropertyEventListener
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    void showPage(int index);
    int currentPage() const;
    void showStartPage();
    bool LoadProject(const QString& path);
    void themeChanged(const int& theme) override;
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void setVisible(bool visible) override;
    QSize sizeHint() const override;

    SplAdapter* splAdapter() const { return splAdapter_; }
    TabToolBarWidget* tabBar() const { return tabBar_; }
    Dashboard* startPage() const { return startPage_; }
    VenueTab* venueTab() const { return venueTab_; }
    SpeakerAnalysisTab* speakerPage() const { return speakerTab; }
    BillOfMaterialsTab* reportTab() const { return reportTab_; }
    QMenu* mainMenu() const { return mainMenu_; }

    // "&N: name" (or the name alone) for at most 4 entries; a base name longer
    // than limit characters is cut to limit, "..." and the suffix.
    static QList<QPair<QString, QString>> buildRecentFileEntries(const QStringList& paths, bool numbered,
                                                                 int limit);

signals:
    void tabIndexChanged(int newValue);

public slots:
    void showLoggingWindow();
    void clearProject(bool markDirty);
    void clearProject();
    void openRecentFile();
    void updateWindowTitle();
    void updateRecentFileActions();
    void newProject();
    void startNewProject();
    void openProject();
    bool saveProject();
    bool saveProjectAs();
    void launchHelp();
    void showAbout();
    void showSettings();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool maybeSave();
    void setupActions();
    void setupDashboard();
    void setupPages();
    void setupMainMenu();
    bool onStartPage() const;

    bool closing = false;
    bool light = true;
    MainWindowUi ui;
    TabToolBarWidget* tabBar_ = nullptr;
    Dashboard* startPage_ = nullptr;
    SettingsPage* settingsPage = nullptr;
    VenueTab* venueTab_ = nullptr;
    SpeakerAnalysisTab* speakerTab = nullptr;
    BillOfMaterialsTab* reportTab_ = nullptr;
    DiagnosticDialog* logWindow = nullptr;
    AboutDialog* aboutDialog = nullptr;
    ProjectDefinitionAdapter* projectAdapter = nullptr;
    SplAdapter* splAdapter_ = nullptr;
    std::unique_ptr<SplNodeForwarder> splForwarder;
    std::unique_ptr<SplPanelLink> splPanelLink;
    AppSettingsAdapter* startPageAppSettings = nullptr;
    ProjectSettingsAdapter* startPageProjectSettings = nullptr;
    AppSettingsAdapter* settingsAppSettings = nullptr;
    ProjectSettingsAdapter* settingsProjectSettings = nullptr;
    QMenu* mainMenu_ = nullptr;
    QAction* actionNew = nullptr;
    QAction* actionSave = nullptr;
    QAction* actionOpen = nullptr;
    QAction* actionSaveAs = nullptr;
    QAction* actionExit = nullptr;
    QAction* actionSettings = nullptr;
    QAction* actionHelp = nullptr;
    QAction* actionAbout = nullptr;
    QAction* recentFilesSeparator = nullptr;
    std::array<QAction*, 4> recentFileActions{};
};

// The part of a path after the last slash and backslash, before the last dot
// (empty without a dot).
QString baseNameOfPath(const QString& path);
} // namespace zorvpro
