#include "views/Tabs/Speaker/ui_SpeakerAnalysisTab.h"

#include "Utility/ApiChecker.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Render/VenueView3D.h"

#include <QCoreApplication>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpacerItem>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace zorvpro
{
namespace
{

template <typename W> W* Named(W* widget, const char* name)
{
    CheckAlloc(widget);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Every frame of the form starts boxed and sunken; the page flattens them.
QFrame* Frame(QWidget* parent, const char* name)
{
    auto* frame = Named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QSplitter* Splitter(Qt::Orientation orientation, QWidget* parent, const char* name)
{
    auto* splitter = Named(new QSplitter(orientation, parent), name);
    splitter->setHandleWidth(2);
    return splitter;
}

template <typename L> L* Layout(L* layout, const char* name, int spacing, int margin)
{
    Named(layout, name);
    layout->setSpacing(spacing);
    layout->setContentsMargins(margin, margin, margin, margin);
    return layout;
}

QFrame* Line(QWidget* parent, const char* name, QFrame::Shape shape, int width)
{
    auto* line = Named(new QFrame(parent), name);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(width);
    return line;
}

MyPropertyButton* Button(QWidget* parent, const char* name)
{
    auto* button = Named(new MyPropertyButton(parent), name);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// A view below its tool-bar frame in one pane of the view splitter.
QFrame* ViewPane(QSplitter* splitter, const char* paneName, const char* layoutName, const char* barName,
                 const char* viewName, QFrame*& bar, view::VenueView3D*& view)
{
    QFrame* pane = Frame(splitter, paneName);
    auto* layout = Layout(new QVBoxLayout(pane), layoutName, 0, 0);
    bar = Frame(pane, barName);
    bar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    bar->setMinimumHeight(38);
    layout->addWidget(bar);
    view = Named(new view::VenueView3D(pane), viewName);
    view->setFocusPolicy(Qt::ClickFocus);
    view->setAutoFillBackground(true);
    view->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    layout->addWidget(view);
    splitter->addWidget(pane);
    return pane;
}

} // namespace

void Ui_SpeakerAnalysisTab::setupUi(QWidget* page)
{
    if (page->objectName().isEmpty())
        page->setObjectName(QStringLiteral("zorvpro__SpeakerAnalysisTab"));
    page->resize(938, 392);
    page->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    horizontalLayout_5 = Layout(new QHBoxLayout(page), "horizontalLayout_5", 0, 1);

    splitterHorizSpeaker = Splitter(Qt::Horizontal, page, "splitterHorizSpeaker");
    splitterHorizSpeaker->setFrameShape(QFrame::Box);
    splitterHorizSpeaker->setFrameShadow(QFrame::Sunken);
    splitterHorizSpeaker->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    // Left pane: the list under its header, then the panel and the send button.
    splitterPropsSpeaker = Splitter(Qt::Vertical, splitterHorizSpeaker, "splitterPropsSpeaker");
    splitterPropsSpeaker->setMaximumWidth(510);
    speakerSelectionContainerFrame = Frame(splitterPropsSpeaker, "speakerSelectionContainerFrame");
    speakerSelectionContainerFrame->setMaximumWidth(510);
    auto* selectionLayout = Layout(new QVBoxLayout(speakerSelectionContainerFrame), "verticalLayout_4", 0, 0);
    propertiesSelectionHeaderFrame = Frame(speakerSelectionContainerFrame, "propertiesSelectionHeaderFrame");
    propertiesSelectionHeaderFrame->setMaximumHeight(50);
    auto* headerLayout = Layout(new QVBoxLayout(propertiesSelectionHeaderFrame), "verticalLayout_7", 1, 0);
    headerLayout->setContentsMargins(15, 9, 17, 5);
    auto* headerRow = Layout(new QHBoxLayout(), "horizontalLayout_2", 0, 0);
    arrayPropertiesLabel = Named(new QLabel(propertiesSelectionHeaderFrame), "arrayPropertiesLabel");
    QFont bold = arrayPropertiesLabel->font();
    bold.setBold(true);
    bold.setWeight(75);
    arrayPropertiesLabel->setFont(bold);
    headerRow->addWidget(arrayPropertiesLabel);
    headerRow->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    setMaxGainButton = Button(propertiesSelectionHeaderFrame, "setMaxGainButton");
    setMaxGainButton->setMinimumHeight(24);
    setMaxGainButton->setMaximumHeight(24);
    headerRow->addWidget(setMaxGainButton);
    headerLayout->addLayout(headerRow);
    propertiesDividerLine = Line(propertiesSelectionHeaderFrame, "propertiesDividerLine", QFrame::HLine, 1);
    headerLayout->addWidget(propertiesDividerLine);
    selectionLayout->addWidget(propertiesSelectionHeaderFrame);
    speakerSelectionFrame = Frame(speakerSelectionContainerFrame, "speakerSelectionFrame");
    speakerSelectionFrame->setMinimumHeight(50);
    selectionLayout->addWidget(speakerSelectionFrame);
    splitterPropsSpeaker->addWidget(speakerSelectionContainerFrame);

    speakerPropertiesContainerFrame = Frame(splitterPropsSpeaker, "speakerPropertiesContainerFrame");
    speakerPropertiesContainerFrame->setMaximumWidth(510);
    auto* propertiesLayout = Layout(new QVBoxLayout(speakerPropertiesContainerFrame), "verticalLayout", 0, 0);
    scrollAreaSpeakerProperties =
        Named(new QScrollArea(speakerPropertiesContainerFrame), "scrollAreaSpeakerProperties");
    scrollAreaSpeakerProperties->setFocusPolicy(Qt::NoFocus);
    scrollAreaSpeakerProperties->setFrameShape(QFrame::Box);
    scrollAreaSpeakerProperties->setFrameShadow(QFrame::Sunken);
    scrollAreaSpeakerProperties->setWidgetResizable(true);
    // Named like the page's other controls, so automation finds them.
    scrollAreaSpeakerProperties->verticalScrollBar()->setObjectName(
        QStringLiteral("scrollAreaSpeakerPropertiesVerticalScrollBar"));
    scrollAreaSpeakerProperties->horizontalScrollBar()->setObjectName(
        QStringLiteral("scrollAreaSpeakerPropertiesHorizontalScrollBar"));
    widgetSpeakerPropertiesContainer = Named(new QWidget(), "widgetSpeakerPropertiesContainer");
    auto* containerGrid = Layout(new QGridLayout(widgetSpeakerPropertiesContainer), "gridLayout_2", 0, 0);
    containerGrid->setContentsMargins(14, 0, 0, 0);
    stackedWidgetSpeakerProperties =
        Named(new QStackedWidget(widgetSpeakerPropertiesContainer), "stackedWidgetSpeakerProperties");
    stackedWidgetSpeakerProperties->setFrameShape(QFrame::NoFrame);
    containerGrid->addWidget(stackedWidgetSpeakerProperties, 0, 0);
    scrollAreaSpeakerProperties->setWidget(widgetSpeakerPropertiesContainer);
    propertiesLayout->addWidget(scrollAreaSpeakerProperties);
    sendToKVDFrame = Frame(speakerPropertiesContainerFrame, "sendToKVDFrame");
    sendToKVDFrame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* sendLayout = Layout(new QHBoxLayout(sendToKVDFrame), "horizontalLayout_3", -1, 9);
    sendLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    buttonSendToKVD = Button(sendToKVDFrame, "buttonSendToKVD");
    sendLayout->addWidget(buttonSendToKVD);
    propertiesLayout->addWidget(sendToKVDFrame);
    splitterPropsSpeaker->addWidget(speakerPropertiesContainerFrame);
    splitterHorizSpeaker->addWidget(splitterPropsSpeaker);

    // Right pane: plan and side views with their tool bars, the live-map bar below.
    speakerContainerFrame = Frame(splitterHorizSpeaker, "speakerContainerFrame");
    auto* viewsLayout = Layout(new QVBoxLayout(speakerContainerFrame), "verticalLayout_6", 0, 0);
    splitterViewSpeaker = Splitter(Qt::Vertical, speakerContainerFrame, "splitterViewSpeaker");
    planContainerFrame =
        ViewPane(splitterViewSpeaker, "planContainerFrame", "verticalLayout_5", "planToolbarContainerFrame",
                 "openGLPlanSpkr", planToolbarContainerFrame, openGLPlanSpkr);
    sideContainerFrame =
        ViewPane(splitterViewSpeaker, "sideContainerFrame", "verticalLayout_2", "sideToolbarContainerFrame",
                 "openGLSideSpkr", sideToolbarContainerFrame, openGLSideSpkr);
    // The views take the height; the live-map bar keeps its own.
    viewsLayout->addWidget(splitterViewSpeaker, 1);
    liveSPLMapFrame = Frame(speakerContainerFrame, "liveSPLMapFrame");
    liveSPLMapFrame->setMinimumHeight(38);
    horizontalLayout_4 = Layout(new QHBoxLayout(liveSPLMapFrame), "horizontalLayout_4", 5, 5);
    viewsLayout->addWidget(liveSPLMapFrame);
    splitterHorizSpeaker->addWidget(speakerContainerFrame);
    horizontalLayout_5->addWidget(splitterHorizSpeaker);

    rightToolbarContainerFrame = Frame(page, "rightToolbarContainerFrame");
    rightToolbarContainerFrame->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    rightToolbarContainerFrame->setMinimumWidth(65);
    horizontalLayout_5->addWidget(rightToolbarContainerFrame);

    // The coverage-map side: colour scale and SPL settings, collapsible.
    splMapControlsFrame = Frame(page, "splMapControlsFrame");
    splMapControlsFrame->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* splLayout = Layout(new QHBoxLayout(splMapControlsFrame), "horizontalLayout", 0, 0);
    splDividerLine = Line(splMapControlsFrame, "splDividerLine", QFrame::VLine, 2);
    splLayout->addWidget(splDividerLine);
    splColorContainerFrame = Frame(splMapControlsFrame, "splColorContainerFrame");
    splColorContainerFrame->setMaximumWidth(25);
    auto* colorLayout = Layout(new QVBoxLayout(splColorContainerFrame), "verticalLayout_3", 0, 0);
    hideSplButton = Button(splColorContainerFrame, "hideSplButton");
    hideSplButton->setMinimumHeight(50);
    colorLayout->addWidget(hideSplButton);
    splColorFrame = Frame(splColorContainerFrame, "splColorFrame");
    splColorFrame->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Expanding);
    colorLayout->addWidget(splColorFrame);
    colorLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Fixed, QSizePolicy::Fixed));
    splLayout->addWidget(splColorContainerFrame);
    splMapContainerFrame = Frame(splMapControlsFrame, "splMapContainerFrame");
    splMapContainerFrame->setMinimumWidth(180);
    splLayout->addWidget(splMapContainerFrame);
    horizontalLayout_5->addWidget(splMapControlsFrame);

    QWidget::setTabOrder(setMaxGainButton, buttonSendToKVD);
    QWidget::setTabOrder(buttonSendToKVD, hideSplButton);
    retranslateUi(page);
}

void Ui_SpeakerAnalysisTab::retranslateUi(QWidget* page)
{
    const char* context = "zorvpro::SpeakerAnalysisTab";
    page->setWindowTitle(QCoreApplication::translate(context, "Form"));
    arrayPropertiesLabel->setText(QCoreApplication::translate(context, "ARRAY PROPERTIES"));
    setMaxGainButton->setToolTip(
        QCoreApplication::translate(context, "Set selected arrays to maximum allowed gain level"));
    setMaxGainButton->setText(QCoreApplication::translate(context, "Set Max Gain"));
    buttonSendToKVD->setToolTip(
        QCoreApplication::translate(context, "Send beam information to Kavlon Designer"));
    buttonSendToKVD->setText(QCoreApplication::translate(context, "Send to KVD"));
    hideSplButton->setText(QCoreApplication::translate(context, ">>"));
}

} // namespace zorvpro
