#include "views/Shell/MainWindow.h"

#include "Utility/ApiChecker.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Settings/WindowPlacement.h"
#include "views/Adapters/Bom/BillOfMaterialsAdapter.h"
#include "views/Adapters/Project/ProjectDefinitionAdapter.h"
#include "views/Adapters/Settings/AppSettingsAdapter.h"
#include "views/Adapters/Settings/ProjectSettingsAdapter.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Adapters/Spl/SplPanelLink.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/Adapters/Theme/ToolbarPositionAdapter.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Common/PendingEditGuard.h"
#include "views/Common/StyleSheetRule.h"
#include "views/Dashboard/Dashboard.h"
#include "views/Dashboard/DiagnosticDialog.h"
#include "views/Dashboard/SettingsPage.h"
#include "views/Dialogs/AboutDialog.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Shell/ScreenFit.h"
#include "views/Shell/SplNodeForwarder.h"
#include "views/Shell/SquishCommandProcessor.h"
#include "views/Shell/TabToolBarWidget.h"
#include "views/Tabs/BOM/BillOfMaterialsTab.h"
#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"
#include "views/Tabs/BaseComponents/TabLayoutFunctions.h"
#include "views/Tabs/Speaker/SpeakerAnalysisTab.h"
#include "views/Tabs/Speaker/SplPropertiesControl.h"
#include "views/Tabs/Venue/VenueTab.h"
#include "views/ZorvApp.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

template <typename T> T* Checked(T* object)
{
    CheckAlloc(object);
    return object;
}
} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    tabBar_ = Checked(new TabToolBarWidget());
    startPage_ = Checked(new Dashboard());
    settingsPage = Checked(new SettingsPage(this));
    venueTab_ = Checked(new VenueTab());
    speakerTab = Checked(new SpeakerAnalysisTab());
    reportTab_ = Checked(new BillOfMaterialsTab());
    projectAdapter = Checked(new ProjectDefinitionAdapter(this));
    mainMenu_ = Checked(new QMenu(this));
    mainMenu_->setObjectName(QStringLiteral("menuDropDown"));

    ui.setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/Icons/ZorvTessary.png")));
    ui.mainToolBar->setMinimumWidth(100);
    ui.mainToolBar->setMinimumHeight(40);
    Checked(new SquishCommandProcessor(this));
    // Every click and shortcut takes the value being typed to its own object before it acts.
    Checked(new PendingEditGuard(this));

    setupActions();
    setupDashboard();
    settingsAppSettings =
        Checked(new AppSettingsAdapter(settingsPage->GetApplicationSettingsControl(), this));
    settingsProjectSettings =
        Checked(new ProjectSettingsAdapter(settingsPage->GetProjectPreferencesControl(), this));
    AppThemeAdapter* theme = AppThemeAdapter::instance();
    theme->addThemeListener(settingsPage);
    theme->addThemeListener(venueTab_);
    theme->addThemeListener(venueTab_->adapter());
    ToolbarPositionAdapter::instance()->addListener(venueTab_);
    theme->addThemeListener(speakerTab);
    theme->addThemeListener(speakerTab->adapter());
    ToolbarPositionAdapter::instance()->addListener(speakerTab);
    theme->addThemeListener(reportTab_);
    setupPages();
    setupMainMenu();
    theme->addThemeListener(this);
    clearFrameStyle(ui.frameBottomBorder);
    clearFrameStyle(ui.toolbarFrame);
    clearFrameStyle(ui.stackedWidget);

    // Surfaces bound the speakers; speakers show on the venue tab.
    VenueTabAdapter* venue = venueTab_->adapter();
    SpeakerTabAdapter* speaker = speakerTab->adapter();
    connect(venue, &ModelAdapter::entitiesChanged, speaker, &SpeakerTabAdapter::handleSurfacesChanged);
    connect(speaker, &ModelAdapter::entitiesChanged, venue, &VenueTabAdapter::handleSpeakersChanged);

    splPanelLink = std::make_unique<SplPanelLink>(*speakerTab->splPanel());
    splAdapter_ = Checked(new SplAdapter(splPanelLink.get(), this));
    speakerTab->splPanel()->setEventListener(splAdapter_);
    speakerTab->setSplAdapter(splAdapter_);
    splForwarder = std::make_unique<SplNodeForwarder>(splAdapter_);
    venue->SetSplAdapter(splForwarder.get());
    speaker->SetSpeakerSplListener(splForwarder.get());
    connect(splAdapter_, &SplAdapter::EntityUpdate, speaker, &SpeakerTabAdapter::SplEntityUpdate);
    splAdapter_->SetMedialPlaneProvider(speaker->MedialPlaneProvider());

    if (ZorvApp* app = ZorvApp::Instance())
        if (auto handler = app->GetAudioEngineHandler())
        {
            handler->SetMessenger(splAdapter_->GetEngineMessenger());
            handler->Start();
        }

    // 1366 x 768 at least, unless the screen's available area cannot hold that with the frame.
    new ScreenFit(this, {1366, 768});
    showStartPage();
}

MainWindow::~MainWindow()
{
    // The handler's thread posts into the coverage-map adapter's field
    // manager: stop it, join it and cut it loose before that goes.
    if (ZorvApp* app = ZorvApp::Instance())
        if (auto handler = app->GetAudioEngineHandler())
            handler->Shutdown();
    AppThemeAdapter* theme = AppThemeAdapter::instance();
    for (IAppThemeListener* listener : std::initializer_list<IAppThemeListener*>{
             this, startPage_, settingsPage, venueTab_, venueTab_->adapter()})
        theme->removeThemeListener(listener);
    ToolbarPositionAdapter::instance()->removeListener(venueTab_);
    theme->removeThemeListener(speakerTab);
    theme->removeThemeListener(speakerTab->adapter());
    ToolbarPositionAdapter::instance()->removeListener(speakerTab);
    theme->removeThemeListener(reportTab_);

    // The settings adapters hold the grids of the start page and the settings dialog, and
    // deleting a page can show the next one, whose views store their zoom in the settings.
    delete startPageAppSettings;
    delete startPageProjectSettings;
    delete settingsAppSettings;
    delete settingsProjectSettings;
    // The adapters of the tabs reach the coverage maps; cut that first.
    venueTab_->adapter()->SetSplAdapter(static_cast<ISplNodeListener*>(nullptr));
    speakerTab->adapter()->SetSpeakerSplListener(nullptr);
    delete tabBar_;
    delete startPage_;
    delete settingsPage;
    delete venueTab_;
    delete speakerTab;
    delete reportTab_;
    delete projectAdapter;
    delete splAdapter_;
    delete aboutDialog;
    delete logWindow;
}

void MainWindow::setupActions()
{
    auto make = [this](const char* name, const char* text, const char* tip, const QKeySequence& keys)
    {
        auto* action = Checked(new QAction(Tr(text), this));
        action->setObjectName(QLatin1String(name));
        action->setStatusTip(Tr(tip));
        action->setShortcut(keys);
        addAction(action);
        return action;
    };
    actionNew = make("actionNew", "&New Project", "Create a new project", QKeySequence::New);
    connect(actionNew, &QAction::triggered, this, &MainWindow::newProject);
    actionOpen = make("actionOpen", "&Open Project", "Open an existing project", QKeySequence::Open);
    connect(actionOpen, &QAction::triggered, this, &MainWindow::openProject);
    actionSave = make("actionSave", "&Save Project", "Save the current project", QKeySequence::Save);
    connect(actionSave, &QAction::triggered, this, &MainWindow::saveProject);
    actionSaveAs = make("actionSaveAs", "Save Project &As...",
                        "Save the current project as a different project", QKeySequence::SaveAs);
    actionSaveAs->setShortcut(QKeySequence(Tr("Ctrl+Shift+S")));
    connect(actionSaveAs, &QAction::triggered, this, &MainWindow::saveProjectAs);
    for (QAction*& recent : recentFileActions)
    {
        recent = Checked(new QAction(this));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, &MainWindow::openRecentFile);
    }
    actionExit = make("actionExit", "E&xit", "Close the application", QKeySequence::Close);
    connect(actionExit, &QAction::triggered, this, &QWidget::close);
    actionHelp = make("actionHelp", "&Launch Help", "Launch the Zorv Tessary help documentation",
                      QKeySequence::HelpContents);
    connect(actionHelp, &QAction::triggered, this, &MainWindow::launchHelp);
    actionAbout =
        make("actionAbout", "&About Zorv Tessary", "Application information about Zorv Tessary", {});
    connect(actionAbout, &QAction::triggered, this, &MainWindow::showAbout);
    actionSettings = make("actionSettings", "S&ettings", "Open up the settings", QKeySequence::Preferences);
    actionSettings->setShortcut(QKeySequence(Tr("Ctrl+Shift+P")));
    connect(actionSettings, &QAction::triggered, this, &MainWindow::showSettings);
}

void MainWindow::setupDashboard()
{
    startPageAppSettings = Checked(new AppSettingsAdapter(startPage_->getApplicationSettingsControl(), this));
    startPageProjectSettings =
        Checked(new ProjectSettingsAdapter(startPage_->getProjectPreferencesControl(), this));
    AppThemeAdapter::instance()->addThemeListener(startPage_);
    connect(startPage_, &Dashboard::onContinueButtonClicked, this, &MainWindow::startNewProject);
    connect(startPage_, &Dashboard::onOpenFileClicked, this,
            [this](const QString& filename)
            {
                if (filename.isEmpty())
                    openProject();
                else
                    LoadProject(filename);
            });
}

void MainWindow::setupPages()
{
    ui.stackedWidget->insertWidget(0, startPage_);
    ui.stackedWidget->insertWidget(1, venueTab_);
    ui.stackedWidget->insertWidget(2, speakerTab);
    ui.stackedWidget->insertWidget(3, reportTab_);
    ui.mainToolBar->hide();
    ui.stackedWidget->setCurrentIndex(0);
    ui.frameBottomBorder->hide();
}

void MainWindow::setupMainMenu()
{
    mainMenu_->addAction(actionNew);
    mainMenu_->addAction(actionOpen);
    mainMenu_->addAction(actionSave);
    mainMenu_->addAction(actionSaveAs);
    recentFilesSeparator = mainMenu_->addSeparator();
    for (QAction* recent : recentFileActions)
        mainMenu_->addAction(recent);
    mainMenu_->addSeparator();
    mainMenu_->addAction(actionSettings);
    mainMenu_->addSeparator();
    QMenu* help = Checked(new QMenu(Tr("&Help"), this));
    help->addAction(actionHelp);
    help->addAction(actionAbout);
    mainMenu_->addMenu(help);
    mainMenu_->addSeparator();
    mainMenu_->addAction(actionExit);
    updateRecentFileActions();

    if (auto* button =
            qobject_cast<QPushButton*>(tabBar_->getProperty(QStringLiteral("buttonMainMenu"))->widget()))
        button->setMenu(mainMenu_);
    auto* layout = Checked(new QHBoxLayout());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabBar_->widget());
    ui.toolbarFrame->setLayout(layout);
    ui.toolbarFrame->setFrameShape(QFrame::NoFrame);
    ui.toolbarFrame->setFrameShadow(QFrame::Plain);
    ui.toolbarFrame->setMinimumWidth(ui.mainToolBar->minimumWidth());
    ui.toolbarFrame->setMinimumHeight(ui.mainToolBar->minimumHeight());
    ui.toolbarFrame->setContentsMargins(0, 0, 0, 8);
    ui.toolbarFrame->hide();
    tabBar_->setEventListener(this);
}

bool MainWindow::onStartPage() const
{
    return ui.stackedWidget == nullptr || ui.stackedWidget->currentIndex() == 0;
}

int MainWindow::currentPage() const
{
    return ui.stackedWidget ? ui.stackedWidget->currentIndex() : -1;
}

void MainWindow::showPage(int index)
{
    if (ui.stackedWidget == nullptr || index < 0 || index >= ui.stackedWidget->count() ||
        index == ui.stackedWidget->currentIndex())
        return;
    ui.stackedWidget->setCurrentIndex(index);
    const bool tabPage = index != 0;
    ui.frameBottomBorder->setVisible(tabPage);
    ui.toolbarFrame->setVisible(tabPage);
    emit tabIndexChanged(index);
}

void MainWindow::onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant&)
{
    if (event != BoundPropertyEvent::ValueChanged)
        return;
    // The tab buttons take no focus: the field left behind commits before the report is built
    // from the project.
    CommitFocusedEdit();
    if (propName == QLatin1String("buttonVenueTab"))
        showPage(1);
    else if (propName == QLatin1String("buttonSpeakerTab"))
        showPage(2);
    else if (propName == QLatin1String("buttonBomTab"))
    {
        reportTab_->adapter()->load();
        showPage(3);
    }
}

void MainWindow::themeChanged(const int& theme)
{
    light = theme == 1;
    const QString rule = makeStyleSheetRule(
        QStringLiteral("QFrame"), {{QStringLiteral("background-color"),
                                    light ? QStringLiteral("#FFFFFF") : QStringLiteral("#000000")}});
    ui.frameBottomBorder->setStyleSheet(rule);
    ui.toolbarFrame->setStyleSheet(rule);
    tabBar_->themeChanged(theme);
}

void MainWindow::setVisible(bool visible)
{
    QMainWindow::setVisible(visible);
    DeferWindowPlacement(this, visible);
}

QSize MainWindow::sizeHint() const
{
    return {1366, 768};
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closing)
    {
        event->accept();
        return;
    }
    // The value being typed counts as a change the question must offer to save.
    CommitFocusedEdit();
    if (maybeSave())
    {
        closing = true;
        event->accept();
    }
    else
        event->ignore();
}

void MainWindow::showLoggingWindow()
{
    if (logWindow == nullptr)
        logWindow = Checked(new DiagnosticDialog());
    logWindow->show();
    logWindow->activateWindow();
}

void MainWindow::showAbout()
{
    if (onStartPage())
        return;
    if (aboutDialog == nullptr)
    {
        aboutDialog = Checked(new AboutDialog(this));
        aboutDialog->setWindowFlags(Qt::Window | Qt::WindowCloseButtonHint);
    }
    aboutDialog->themeChanged(light ? 1 : 0);
    aboutDialog->setModal(true);
    aboutDialog->show();
    aboutDialog->activateWindow();
}

void MainWindow::showSettings()
{
    if (!onStartPage())
        settingsPage->show();
}
} // namespace zorvpro
