#pragma once

#include <QString>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QScrollArea;
class QSplitter;
class QStackedWidget;
class QVBoxLayout;
class QWidget;

namespace zorvpro
{
class MyPropertyButton;

namespace view
{
class VenueView3D;
}

// The speaker page's widgets, built as its designer form lays them out.
class Ui_SpeakerAnalysisTab
{
public:
    void setupUi(QWidget* page);
    void retranslateUi(QWidget* page);

    QHBoxLayout* horizontalLayout_5 = nullptr;
    QSplitter* splitterHorizSpeaker = nullptr;
    QSplitter* splitterPropsSpeaker = nullptr;
    QFrame* speakerSelectionContainerFrame = nullptr;
    QFrame* propertiesSelectionHeaderFrame = nullptr;
    QLabel* arrayPropertiesLabel = nullptr;
    MyPropertyButton* setMaxGainButton = nullptr;
    QFrame* propertiesDividerLine = nullptr;
    QFrame* speakerSelectionFrame = nullptr;
    QFrame* speakerPropertiesContainerFrame = nullptr;
    QScrollArea* scrollAreaSpeakerProperties = nullptr;
    QWidget* widgetSpeakerPropertiesContainer = nullptr;
    QStackedWidget* stackedWidgetSpeakerProperties = nullptr;
    QFrame* sendToKVDFrame = nullptr;
    MyPropertyButton* buttonSendToKVD = nullptr;
    QFrame* speakerContainerFrame = nullptr;
    QSplitter* splitterViewSpeaker = nullptr;
    QFrame* planContainerFrame = nullptr;
    QFrame* planToolbarContainerFrame = nullptr;
    view::VenueView3D* openGLPlanSpkr = nullptr;
    QFrame* sideContainerFrame = nullptr;
    QFrame* sideToolbarContainerFrame = nullptr;
    view::VenueView3D* openGLSideSpkr = nullptr;
    QFrame* liveSPLMapFrame = nullptr;
    QHBoxLayout* horizontalLayout_4 = nullptr;
    QFrame* rightToolbarContainerFrame = nullptr;
    QFrame* splMapControlsFrame = nullptr;
    QFrame* splDividerLine = nullptr;
    QFrame* splColorContainerFrame = nullptr;
    MyPropertyButton* hideSplButton = nullptr;
    QFrame* splColorFrame = nullptr;
    QFrame* splMapContainerFrame = nullptr;
};

} // namespace zorvpro
