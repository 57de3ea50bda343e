#include "views/Tabs/Speaker/SpeakerAnalysisTab.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Adapters/SpeakerActions/SpeakerTabActions.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Common/PropertyName.h"
#include "views/Common/StyleSheetRule.h"
#include "views/Common/WarningMessage.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/Render/GridEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"
#include "views/Tabs/BaseComponents/TabLayoutFunctions.h"
#include "views/Tabs/BaseComponents/TabToolBars.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"
#include "views/Tabs/Speaker/BeamSpeakerPropertiesControl.h"
#include "views/Tabs/Speaker/SplLiveMapControls.h"
#include "views/Tabs/Speaker/SplPropertiesControl.h"
#include "views/Tabs/Speaker/ui_SpeakerAnalysisTab.h"

#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QSysInfo>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <stdexcept>

namespace zorvpro
{
namespace
{

constexpr double kActiveOpacity = 0.9;
constexpr double kInactiveOpacity = 0.35;
constexpr std::uint32_t kSpeakerPage = 1;

QString Name(BeamSpeakerItem item)
{
    return toPropertyName(item);
}

bool OnWindows()
{
    return QSysInfo::productType().toLower() == QLatin1String("windows");
}

QString Themed(bool light, const char* lightValue, const char* darkValue)
{
    return QString::fromLatin1(light ? lightValue : darkValue);
}

} // namespace

SpeakerAnalysisTab::SpeakerAnalysisTab(QWidget* parent) : QWidget(parent)
{
    try
    {
        m_ui = std::make_unique<Ui_SpeakerAnalysisTab>();
        m_entityList = new EntitySelectionControl(EntitySelectionControl::kLoudspeakerList,
                                                  QStringLiteral("SpeakerAnalysisTab"), parent);
        m_beamPanel = new BeamSpeakerPropertiesControl();
        m_planBar = new ToolBarControl(kSpeakerPage, ToolBarPlacement::PlanView);
        m_sideBar = new ToolBarControl(kSpeakerPage, ToolBarPlacement::SideView);
        m_rightBar = new ToolBarControl(kSpeakerPage, ToolBarPlacement::Right);
        m_splPanel = new SplPropertiesControl();
        m_liveMap = new SplLiveMapControls();
        m_theme = 1;

        CheckAlloc(m_ui);
        m_ui->setupUi(this);
        setObjectName(QStringLiteral("tabButtonSpeaker"));
        BuildColorMapSlider();
        Wire();
        // The grid's label insets exist once the views are laid out.
        QTimer::singleShot(0, this, [this] { InstallToolBars(); });
        PlacePanels();
        FinishForm();
        FollowSelection();
        QTimer::singleShot(0, this,
                           [this]
                           {
                               if (BindableProperty* add =
                                       m_planBar->getProperty(Name(BeamSpeakerItem::Toolbar_AddEntity)))
                                   add->setWidgetFocus(true);
                           });
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "SpeakerAnalysisTab", __LINE__);
        throw std::runtime_error(e.what());
    }
}

SpeakerAnalysisTab::~SpeakerAnalysisTab()
{
    delete m_entityList;
    delete m_beamPanel;
    m_actions.reset();
    delete m_planBar;
    delete m_sideBar;
    delete m_rightBar;
    delete m_splPanel;
    delete m_liveMap;
    delete m_headerDivider;
}

void SpeakerAnalysisTab::BuildColorMapSlider()
{
    m_slider = new SPLVerticalRangeSliderWidget();
    CheckAlloc(m_slider);
    m_slider->setParent(this);
    m_slider->setSliderBarHeight(1100);
    m_slider->setMinimumWidth(120);
    m_slider->setFixedWidth(120);
    m_slider->setHandleEdgeDimensions(60, 10);
    m_slider->setMaximum(132.0);
    m_slider->setMinimum(36.0);
    m_slider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QFont font(QStringLiteral("\"Gotham Bold\""));
    font.setPointSize(8);
    m_slider->setFont(font);
    m_slider->setObjectName(QStringLiteral("SplColorMapWidget"));
    m_slider->setToolTip(
        tr("Move the handles to adjust view of minimum or maximum SPL range.") + '\n' +
        tr("Try dragging on the bar or using the mousewheel to shift the whole range at once.") + '\n' +
        tr("Double-clicking will adjust the range to fit the current data."));
    CheckAlloc(m_ui->splColorFrame);
    auto* layout = new QVBoxLayout(m_ui->splColorFrame);
    CheckAlloc(layout);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_slider);
    m_ui->splColorFrame->setMinimumWidth(200);
    m_splPanel->setRangeSlider(m_slider);
    updateProperty(Name(BeamSpeakerItem::Toolbar_LinkViews), true);
}

void SpeakerAnalysisTab::Wire()
{
    m_entityList->setPropertiesGrid(m_beamPanel);
    m_tabAdapter = new SpeakerTabAdapter(m_entityList, this);
    CheckAlloc(m_tabAdapter);
    m_tabAdapter->SetPlanView(m_ui->openGLPlanSpkr);
    m_tabAdapter->SetSideView(m_ui->openGLSideSpkr);
    m_tabAdapter->SetToolbar(this);
    m_tabAdapter->ResetViews(true);
    m_actions = std::make_unique<SpeakerTabActions>(*m_tabAdapter, this);
    m_actions->SetSplAdapterSource([this]() -> SplAdapter* { return m_splAdapter.data(); });

    connect(m_ui->hideSplButton, &QPushButton::clicked, this,
            [this] { ShowSplPanel(m_ui->hideSplButton->text() != QLatin1String(">>")); });
    connect(m_slider, &SPLVerticalRangeSliderWidget::highValueChanged, this,
            [this](double high) { m_splPanel->setMaxSpl(high); });
    connect(m_slider, &SPLVerticalRangeSliderWidget::lowValueChanged, this,
            [this](double low) { m_splPanel->setMinSpl(low); });
    // The SPL adapter is attached after the page is built: look it up when clicked.
    connect(m_slider, &SPLVerticalRangeSliderWidget::doubleClicked, this,
            [this]
            {
                if (m_splAdapter)
                    m_splAdapter->AutoScaleSplRange();
            });
    connect(m_ui->buttonSendToKVD, &QPushButton::clicked, this,
            [this]
            {
                m_ui->buttonSendToKVD->setEnabled(false);
                // Without a transfer no result re-enables the button: the selection does.
                if (!m_actions->handleSendToKVDClicked())
                    FollowSelection();
            });
    connect(m_ui->setMaxGainButton, &QPushButton::clicked, m_tabAdapter,
            &SpeakerTabAdapter::SetSpeakersToMaxGain);
    connect(m_actions.get(), &SpeakerTabActions::kvdTransferCompleted, this,
            [this](bool wasSuccessful, const QString& errorMessage)
            { OnTransferCompleted(wasSuccessful, errorMessage); });
    // The selection the buttons act on is the adapter's, which also lets go of it when a project is
    // cleared or opened; the list reports every row it adds as a selection of one.
    connect(m_tabAdapter, &ModelAdapter::selectionChanged, this, &SpeakerAnalysisTab::FollowSelection);
    sizePropertiesSplitterWhenShown(m_ui->splitterHorizSpeaker);

    // Shown on every system: the application it talks to listens on the local machine.
    m_ui->buttonSendToKVD->show();
}

void SpeakerAnalysisTab::InstallToolBars()
{
    // The label columns beside the plotting area, which follow the font, not the view's size.
    const auto grid = m_ui->openGLPlanSpkr->GetGrid();
    const QMargins insets = grid ? plotAreaInsets(grid->MarginLeft(), grid->MarginRight()) : QMargins();
    installTabToolBar(m_ui->planToolbarContainerFrame, m_planBar, insets, this);
    installTabToolBar(m_ui->sideToolbarContainerFrame, m_sideBar, insets, this);
    installTabToolBar(m_ui->rightToolbarContainerFrame, m_rightBar, insets, this);
}

void SpeakerAnalysisTab::PlacePanels()
{
    auto* listLayout = new QGridLayout(m_ui->speakerSelectionFrame);
    CheckAlloc(listLayout);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(m_entityList, 0, 0);
    setTabSplitterSizes(0, m_ui->splitterPropsSpeaker);
    setTabSplitterSizes(1, m_ui->splitterViewSpeaker);
    m_ui->splitterPropsSpeaker->setCollapsible(0, false);

    QWidget* panel = m_beamPanel->widget();
    CheckAlloc(panel);
    m_ui->stackedWidgetSpeakerProperties->insertWidget(0, panel);
    m_ui->stackedWidgetSpeakerProperties->setCurrentIndex(0);
    m_opacity = new QGraphicsOpacityEffect(panel);
    CheckAlloc(m_opacity);
    const int height = OnWindows() ? 725 : 825;
    for (QWidget* w : {m_ui->widgetSpeakerPropertiesContainer,
                       static_cast<QWidget*>(m_ui->stackedWidgetSpeakerProperties)})
    {
        w->setMinimumHeight(height);
        w->setMaximumHeight(height);
    }
    m_ui->propertiesDividerLine->hide();
    m_headerDivider = new QFrame();
    CheckAlloc(m_headerDivider);
    m_headerDivider->setFrameShape(QFrame::HLine);
    m_headerDivider->setFrameShadow(QFrame::Plain);
    m_headerDivider->setContentsMargins(0, 0, 0, 0);
    CheckAlloc(m_ui->propertiesSelectionHeaderFrame->layout());
    m_ui->propertiesSelectionHeaderFrame->layout()->addWidget(m_headerDivider);

    auto* splLayout = new QGridLayout(m_ui->splMapContainerFrame);
    CheckAlloc(splLayout);
    splLayout->addWidget(m_splPanel->widget(), 0, 0);
    CheckAlloc(m_ui->liveSPLMapFrame->layout());
    m_ui->liveSPLMapFrame->layout()->addWidget(m_liveMap->widget());
    m_liveMap->setEventListener(this);
    const ProjectSettings* settings = ProjectDefinition::Instance()->GetSettings();
    updateProperty(Name(BeamSpeakerItem::Spl_ShowSplMap), settings->getSplVisibility());
    updateProperty(Name(BeamSpeakerItem::Spl_AutoCalculate), settings->getAutoCalculate());
}

void SpeakerAnalysisTab::FinishForm()
{
    m_ui->stackedWidgetSpeakerProperties->setCurrentIndex(0);
    m_ui->buttonSendToKVD->setFixedSize(120, 24);
    m_ui->setMaxGainButton->setFixedSize(120, 24);
    m_ui->retranslateUi(this);
    for (QFrame* frame : std::initializer_list<QFrame*>{m_ui->rightToolbarContainerFrame,
                                                        m_ui->splMapControlsFrame,
                                                        m_ui->splColorContainerFrame,
                                                        m_ui->splMapContainerFrame,
                                                        m_ui->splitterHorizSpeaker,
                                                        m_ui->speakerContainerFrame,
                                                        m_ui->liveSPLMapFrame,
                                                        m_ui->splitterViewSpeaker,
                                                        m_ui->planContainerFrame,
                                                        m_ui->planToolbarContainerFrame,
                                                        m_ui->sideContainerFrame,
                                                        m_ui->sideToolbarContainerFrame,
                                                        m_ui->splitterPropsSpeaker,
                                                        m_ui->speakerPropertiesContainerFrame,
                                                        m_ui->scrollAreaSpeakerProperties,
                                                        m_ui->stackedWidgetSpeakerProperties,
                                                        m_ui->sendToKVDFrame,
                                                        m_ui->speakerSelectionContainerFrame,
                                                        m_ui->propertiesSelectionHeaderFrame,
                                                        m_ui->speakerSelectionFrame,
                                                        m_entityList,
                                                        m_ui->splColorFrame})
        clearFrameStyle(frame);
}

void SpeakerAnalysisTab::setSplAdapter(SplAdapter* adapter)
{
    m_splAdapter = adapter;
}

void SpeakerAnalysisTab::FollowSelection()
{
    const int selected = m_tabAdapter->GetSelectedCount();
    enableTabToolBarDelete({m_planBar, m_sideBar, m_rightBar}, selected);
    m_ui->buttonSendToKVD->setEnabled(selected == 1);
    m_ui->setMaxGainButton->setEnabled(selected >= 1);
    m_opacity->setOpacity(selected == 1 ? kActiveOpacity : kInactiveOpacity);
    if (QWidget* page = m_ui->stackedWidgetSpeakerProperties->currentWidget())
        if (page->graphicsEffect() != m_opacity)
            page->setGraphicsEffect(m_opacity);
}

double SpeakerAnalysisTab::panelOpacity() const
{
    return m_opacity ? m_opacity->opacity() : 1.0;
}

void SpeakerAnalysisTab::ShowSplPanel(bool shown)
{
    m_ui->hideSplButton->setText(shown ? QStringLiteral(">>") : QStringLiteral("<<"));
    m_ui->hideSplButton->setToolTip(shown ? tr("Collapse") : tr("Expand"));
    m_ui->splMapContainerFrame->setVisible(shown);
}

void SpeakerAnalysisTab::OnTransferCompleted(bool wasSuccessful, const QString& errorMessage)
{
    if (!wasSuccessful)
    {
        const QString text = tr("Could not connect to Kavlon Designer");
        OmbraxLogger::Log(LogLevel::Error, text + QStringLiteral(". Reason: ") + errorMessage);
        showWarningMessage(text, tr("WARNING"), this);
    }
    FollowSelection();
}

void SpeakerAnalysisTab::themeChanged(const int& theme)
{
    m_theme = theme;
    const bool l = theme == 1;
    m_ui->splitterHorizSpeaker->setStyleSheet(tabSplitterHandleSheet(theme));
    for (QFrame* frame :
         {m_ui->planToolbarContainerFrame, m_ui->sideToolbarContainerFrame, m_ui->rightToolbarContainerFrame})
        frame->setStyleSheet(tabToolBarSheet(theme));

    const QString liveBackground = Themed(l, "#e0e0e0", "#3b3b3b");
    m_ui->liveSPLMapFrame->setStyleSheet(
        makeStyleSheetRule("QFrame", {{"background-color", liveBackground}}) + ' ' +
        makeStyleSheetRule("QPushButton", {{"background-color", liveBackground},
                                           {"border-radius", "12px"},
                                           {"color", Themed(l, "#000000", "#F8F8F8")}}) +
        makeStyleSheetRule("QPushButton:hover", {{"background-color", Themed(l, "#575757", "#cccccc")},
                                                 {"border", "none"},
                                                 {"color", Themed(l, "#F8F8F8", "#242424")}}) +
        makeStyleSheetRule("QPushButton:pressed", {{"border-style", "offset"}, {"border-width", "4px"}}));

    const QString panelBackground = Themed(l, "#F8F8F8", "#141414");
    const QString panelSheet =
        makeStyleSheetRule("QFrame", {{"background-color", panelBackground}, {"border", "none"}});
    for (QWidget* w :
         {static_cast<QWidget*>(m_splPanel->widget()), static_cast<QWidget*>(m_ui->splColorContainerFrame),
          static_cast<QWidget*>(m_ui->splMapContainerFrame)})
        w->setStyleSheet(panelSheet);

    const QMap<QString, QString> hide = {
        {"background-color", panelBackground}, {"border", "none"}, {"border-radius", "0px"}};
    QMap<QString, QString> hover = hide;
    hover.insert("color", Themed(l, "#000000", "#F8F8F8"));
    m_ui->hideSplButton->setStyleSheet(
        makeStyleSheetRule("QPushButton", hide) + makeStyleSheetRule("QPushButton:hover", hover) +
        makeStyleSheetRule("QPushButton:focus",
                           {{"border", "none"},
                            {"outline", Themed(l, "1px solid #000000", "1px solid #FFFFFF")},
                            {"outline-radius", "0px"},
                            {"outline-style", "outset"}}));

    for (IAppThemeListener* listener : std::initializer_list<IAppThemeListener*>{
             m_entityList, m_beamPanel, m_planBar, m_sideBar, m_rightBar, m_splPanel, m_liveMap})
        listener->themeChanged(theme);
}

void SpeakerAnalysisTab::toolbarPositionChanged(const int& position)
{
    placeTabToolBars({m_planBar, m_sideBar, m_rightBar}, m_ui->rightToolbarContainerFrame, position);
}

void SpeakerAnalysisTab::updateProperty(const QString& name, const QVariant& value)
{
    for (BoundPropertiesGrid* grid :
         std::initializer_list<BoundPropertiesGrid*>{m_planBar, m_sideBar, m_rightBar, m_liveMap})
        updatePropertyIfBound(grid, name, value);
}

void SpeakerAnalysisTab::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                         const QVariant& value)
{
    if (event == BoundPropertyEvent::ValueChanged)
    {
        if (propName == Name(BeamSpeakerItem::Toolbar_LinkViews))
        {
            for (ToolBarControl* bar : {m_planBar, m_sideBar, m_rightBar})
                bar->updateProperty(propName, value);
        }
        else if (propName == Name(BeamSpeakerItem::Spl_ShowSplMap))
        {
            m_ui->splMapControlsFrame->setVisible(value.toBool());
        }
    }
    m_actions->onPropertyEvent(event, propName, value);
    m_tabAdapter->onPropertyEvent(event, propName, value);
}

void SpeakerAnalysisTab::onProjectCleared()
{
    const ProjectSettings* settings = ProjectDefinition::Instance()->GetSettings();
    updateProperty(Name(BeamSpeakerItem::Toolbar_LinkViews), true);
    updateProperty(Name(BeamSpeakerItem::Spl_ShowSplMap), settings->getSplVisibility());
    updateProperty(Name(BeamSpeakerItem::Spl_AutoCalculate), settings->getAutoCalculate());
    m_ui->splMapControlsFrame->show();
    ShowSplPanel(true);
    m_beamPanel->setEditable(false, true);
    for (ToolBarControl* bar : {m_planBar, m_sideBar, m_rightBar})
        updatePropertyIfBound(bar, Name(BeamSpeakerItem::Toolbar_ThrowLines), true);
    m_tabAdapter->ResetViews(true);
}

} // namespace zorvpro
