#include "views/Tabs/Venue/VenueTab.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Common/PropertyName.h"
#include "views/Render/GridEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"
#include "views/Tabs/BaseComponents/TabLayoutFunctions.h"
#include "views/Tabs/BaseComponents/TabToolBars.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"
#include "views/Tabs/Venue/SurfacePropertiesControl.h"

#include <QFont>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

namespace zorvpro
{
namespace
{
constexpr double kActiveOpacity = 0.9;
constexpr double kInactiveOpacity = 0.35;
constexpr std::uint32_t kVenuePage = 0;

QString LinkViews()
{
    return toPropertyName(BeamSpeakerItem::Toolbar_LinkViews);
}

QFrame* MakeFrame(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    CheckAlloc(frame);
    frame->setObjectName(name);
    return frame;
}

QSplitter* MakeSplitter(Qt::Orientation orientation, QWidget* parent, const char* name)
{
    auto* splitter = new QSplitter(orientation, parent);
    CheckAlloc(splitter);
    splitter->setObjectName(name);
    splitter->setHandleWidth(2);
    return splitter;
}
} // namespace

VenueTab::VenueTab(QWidget* parent) : QWidget(parent)
{
    try
    {
        list = new EntitySelectionControl(EntitySelectionControl::kSurfaceList, "VenueTab", parent);
        planBar = new ToolBarControl(kVenuePage, ToolBarPlacement::PlanView);
        sideBar = new ToolBarControl(kVenuePage, ToolBarPlacement::SideView);
        rightBar = new ToolBarControl(kVenuePage, ToolBarPlacement::Right);
        panel = new SurfacePropertiesControl();
        CheckAlloc(list);
        CheckAlloc(planBar);
        CheckAlloc(sideBar);
        CheckAlloc(rightBar);
        CheckAlloc(panel);
        buildForm();
        setObjectName("tabButtonVenue");

        // The grid's label insets exist once the views are laid out.
        QTimer::singleShot(0, this, [this] { installToolBars(); });
        // As on the speaker page: the properties pane opens at its full width (the views take
        // the rest), so the panel's columns and the list's row buttons are not cut off.
        sizePropertiesSplitterWhenShown(splitterHoriz);

        auto* listLayout = new QGridLayout(selectionContainer);
        CheckAlloc(listLayout);
        listLayout->setContentsMargins(0, 0, 0, 0);
        listLayout->addWidget(list, 0, 0);
        auto* definitionLayout = new QGridLayout(definitionWidget);
        CheckAlloc(definitionLayout);
        definitionLayout->setContentsMargins(8, 0, 15, 0);
        definitionLayout->addWidget(panel->widget(), 0, 0);
        setTabSplitterSizes(0, splitterProps);
        setTabSplitterSizes(1, splitterViews);
        dividerLine->hide();
        headerDivider = new QFrame();
        CheckAlloc(headerDivider);
        headerDivider->setFrameShape(QFrame::HLine);
        headerDivider->setFrameShadow(QFrame::Plain);
        headerDivider->setContentsMargins(0, 0, 0, 0);
        CheckAlloc(headerFrame->layout());
        headerFrame->layout()->addWidget(headerDivider);
        splitterProps->setCollapsible(0, false);

        for (QFrame* frame : std::initializer_list<QFrame*>{
                 rightToolbarContainer, splitterHoriz, splitterProps, definitionScrollArea,
                 selectionContainer, splitterViews, planContainer, planToolbarContainer, sideContainer,
                 sideToolbarContainer, list, headerFrame})
            clearFrameStyle(frame);
        planView->setMinimumWidth(600);
        sideView->setMinimumWidth(600);

        list->setPropertiesGrid(panel);
        tabAdapter = new VenueTabAdapter(list, this);
        CheckAlloc(tabAdapter);
        opacity = new QGraphicsOpacityEffect(definitionWidget);
        CheckAlloc(opacity);
        tabAdapter->SetPlanView(planView);
        tabAdapter->SetSideView(sideView);
        tabAdapter->SetToolbar(this);
        tabAdapter->ResetViews(true);
        // The selection the tools act on is the adapter's, which also lets go of it when a project
        // is cleared or opened; the list reports every row it adds as a selection of one.
        connect(tabAdapter, &ModelAdapter::selectionChanged, this, &VenueTab::followSelection);
        followSelection();
        updateProperty(LinkViews(), true);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "VenueTab", __LINE__);
        throw std::runtime_error(e.what());
    }
}

VenueTab::~VenueTab()
{
    delete list;
    delete planBar;
    delete sideBar;
    delete rightBar;
    delete tabAdapter;
    delete panel;
    delete headerDivider;
}

void VenueTab::buildForm()
{
    setWindowTitle(tr("Form"));
    if (objectName().isEmpty())
        setObjectName("zorvpro__VenueTab");
    resize(962, 417);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* top = new QHBoxLayout(this);
    CheckAlloc(top);
    top->setObjectName("horizontalLayout");
    top->setSpacing(1);
    top->setContentsMargins(1, 1, 1, 1);

    splitterHoriz = MakeSplitter(Qt::Horizontal, this, "splitterHorizVenue");
    propertiesContainer = MakeFrame(splitterHoriz, "venuePropertiesContainerFrame");
    propertiesContainer->setMaximumWidth(510);
    auto* propertiesLayout = new QVBoxLayout(propertiesContainer);
    CheckAlloc(propertiesLayout);
    propertiesLayout->setObjectName("verticalLayout_4");
    propertiesLayout->setSpacing(0);
    propertiesLayout->setContentsMargins(0, 0, 0, 0);

    headerFrame = MakeFrame(propertiesContainer, "propertiesSelectionHeaderFrame");
    headerFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    headerFrame->setMaximumHeight(40);
    headerFrame->setFrameShape(QFrame::Box);
    headerFrame->setFrameShadow(QFrame::Sunken);
    auto* headerLayout = new QVBoxLayout(headerFrame);
    CheckAlloc(headerLayout);
    headerLayout->setObjectName("verticalLayout_3");
    headerLayout->setSpacing(0);
    headerLayout->setContentsMargins(15, 17, 15, 5);
    headerLabel = new QLabel(tr("SURFACE PROPERTIES"), headerFrame);
    CheckAlloc(headerLabel);
    headerLabel->setObjectName("surfacePropertiesLabel");
    headerLabel->setMaximumHeight(15);
    QFont bold = headerLabel->font();
    bold.setBold(true);
    bold.setWeight(75);
    headerLabel->setFont(bold);
    headerLayout->addWidget(headerLabel);
    dividerLine = MakeFrame(headerFrame, "propertiesDividerLine");
    dividerLine->setFrameShape(QFrame::HLine);
    dividerLine->setFrameShadow(QFrame::Plain);
    dividerLine->setLineWidth(0);
    headerLayout->addWidget(dividerLine);
    propertiesLayout->addWidget(headerFrame);

    splitterProps = MakeSplitter(Qt::Vertical, propertiesContainer, "splitterPropsVenue");
    splitterProps->setMaximumWidth(510);
    splitterProps->setFrameShape(QFrame::Box);
    splitterProps->setFrameShadow(QFrame::Sunken);
    selectionContainer = MakeFrame(splitterProps, "quadSelectionContainerFrame");
    selectionContainer->setMinimumHeight(50);
    selectionContainer->setMaximumWidth(510);
    definitionScrollArea = new QScrollArea(splitterProps);
    CheckAlloc(definitionScrollArea);
    definitionScrollArea->setObjectName("quadDefinitionScrollArea");
    definitionScrollArea->setFocusPolicy(Qt::NoFocus);
    definitionScrollArea->setFrameShape(QFrame::Box);
    definitionScrollArea->setWidgetResizable(true);
    definitionWidget = new QWidget();
    CheckAlloc(definitionWidget);
    definitionWidget->setObjectName("quadDefinitionWidget");
    definitionWidget->setGeometry(0, 0, 502, 49);
    definitionScrollArea->setWidget(definitionWidget);
    splitterProps->addWidget(selectionContainer);
    splitterProps->addWidget(definitionScrollArea);
    propertiesLayout->addWidget(splitterProps);

    splitterViews = MakeSplitter(Qt::Vertical, splitterHoriz, "splitterViewsVenue");
    splitterViews->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto makeViewPane = [this](const char* containerName, const char* layoutName, const char* barName,
                               const char* viewName, QFrame*& container, QFrame*& bar,
                               view::VenueView3D*& view)
    {
        container = MakeFrame(splitterViews, containerName);
        auto* layout = new QVBoxLayout(container);
        CheckAlloc(layout);
        layout->setObjectName(layoutName);
        layout->setSpacing(0);
        layout->setContentsMargins(0, 0, 0, 0);
        bar = MakeFrame(container, barName);
        bar->setMinimumHeight(38);
        layout->addWidget(bar, 0);
        view = new view::VenueView3D(container);
        CheckAlloc(view);
        view->setObjectName(viewName);
        view->setFocusPolicy(Qt::ClickFocus);
        // The view takes the height the tool bar leaves.
        view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(view, 1);
        splitterViews->addWidget(container);
    };
    makeViewPane("planContainerFrame", "verticalLayout", "planToolbarContainerFrame", "openGLPlan",
                 planContainer, planToolbarContainer, planView);
    makeViewPane("sideContainerFrame", "verticalLayout_2", "sideToolbarContainerFrame", "openGLSide",
                 sideContainer, sideToolbarContainer, sideView);
    splitterHoriz->addWidget(propertiesContainer);
    splitterHoriz->addWidget(splitterViews);
    top->addWidget(splitterHoriz);

    rightToolbarContainer = MakeFrame(this, "rightToolbarContainerFrame");
    rightToolbarContainer->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    rightToolbarContainer->setFixedWidth(60);
    top->addWidget(rightToolbarContainer);
}

void VenueTab::installToolBars()
{
    // The label columns beside the plotting area. Not taken from the frame's place on screen:
    // that is as old as the grid's last layout, and the view may have been resized since
    // (this page is built hidden), which pushed the bars' right end far into the view.
    const auto grid = planView->GetGrid();
    const QMargins insets = grid ? plotAreaInsets(grid->MarginLeft(), grid->MarginRight()) : QMargins();
    installTabToolBar(planToolbarContainer, planBar, insets, this);
    installTabToolBar(sideToolbarContainer, sideBar, insets, this);
    // The plotting area's insets line the view bars up with it; the right bar stands beside the
    // views, and in its 60 pixels the plan view's insets would push its buttons out of sight.
    installTabToolBar(rightToolbarContainer, rightBar, QMargins(), this);
}

void VenueTab::followSelection()
{
    const int selected = tabAdapter->GetSelectedCount();
    enableTabToolBarDelete({planBar, sideBar, rightBar}, selected);
    opacity->setOpacity(selected == 1 ? kActiveOpacity : kInactiveOpacity);
    definitionWidget->setGraphicsEffect(opacity);
}

double VenueTab::panelOpacity() const
{
    return opacity != nullptr ? opacity->opacity() : 1.0;
}

void VenueTab::themeChanged(const int& theme)
{
    lightTheme = theme == 1;
    splitterHoriz->setStyleSheet(tabSplitterHandleSheet(theme));
    for (QFrame* frame : {planToolbarContainer, sideToolbarContainer, rightToolbarContainer})
        frame->setStyleSheet(tabToolBarSheet(theme));
    for (IAppThemeListener* listener :
         std::initializer_list<IAppThemeListener*>{planBar, sideBar, rightBar, panel, list})
        listener->themeChanged(theme);
}

void VenueTab::toolbarPositionChanged(const int& position)
{
    placeTabToolBars({planBar, sideBar, rightBar}, rightToolbarContainer, position);
}

void VenueTab::updateProperty(const QString& name, const QVariant& value)
{
    for (ToolBarControl* bar : {planBar, sideBar, rightBar})
        updatePropertyIfBound(bar, name, value);
}

void VenueTab::onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value)
{
    if (event == BoundPropertyEvent::ValueChanged && propName == LinkViews())
        for (ToolBarControl* bar : {planBar, sideBar, rightBar})
            bar->updateProperty(propName, value);
    tabAdapter->onPropertyEvent(event, propName, value);
}

void VenueTab::onProjectCleared()
{
    updateProperty(LinkViews(), true);
    tabAdapter->ResetViews(true);
    panel->setEditable(false, true);
}
} // namespace zorvpro
