#pragma once

#include "views/Common/IAppThemeListener.h"
#include "views/Common/IToolbarPositionListener.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/GridControl/IBindablePropertyUpdater.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QFrame;
class QGraphicsOpacityEffect;

namespace zorvpro
{
class BeamSpeakerPropertiesControl;
class EntitySelectionControl;
class SPLVerticalRangeSliderWidget;
class SpeakerTabActions;
class SpeakerTabAdapter;
class SplAdapter;
class SplLiveMapControls;
class SplPropertiesControl;
class ToolBarControl;
class Ui_SpeakerAnalysisTab;

// The speaker page: the loudspeaker list with the array panel on the left, the
// plan and side views with their tool bars and the live-map bar in the middle,
// a third tool bar and the collapsible SPL colour scale and settings on the
// right. It keeps the buttons and the panel's opacity in step with the
// selection, styles itself for the theme, passes tool-bar and live-map events
// on and tells the user when beam data could not be sent.
class SpeakerAnalysisTab : public QWidget,
                           public IAppThemeListener,
                           public IToolbarPositionListener,
                           public IBindablePropertyUpdater,
                           public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    // Throws std::runtime_error (after logging) when the page cannot be built.
    explicit SpeakerAnalysisTab(QWidget* parent = nullptr);
    ~SpeakerAnalysisTab() override;

    void themeChanged(const int& theme) override;
    void toolbarPositionChanged(const int& position) override;
    void updateProperty(const QString& name, const QVariant& value) override;
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void onProjectCleared();

    // The coverage-map adapter, attached by the main window after the page is built.
    void setSplAdapter(SplAdapter* adapter);

    SpeakerTabActions& actions() const { return *m_actions; }
    // The page's controller; owned by the page.
    SpeakerTabAdapter* adapter() const { return m_tabAdapter; }
    EntitySelectionControl* entityList() const { return m_entityList; }
    BeamSpeakerPropertiesControl* beamSpeakerPanel() const { return m_beamPanel; }
    ToolBarControl* planToolBar() const { return m_planBar; }
    ToolBarControl* sideToolBar() const { return m_sideBar; }
    ToolBarControl* rightToolBar() const { return m_rightBar; }
    SplPropertiesControl* splPanel() const { return m_splPanel; }
    SplLiveMapControls* liveMapControls() const { return m_liveMap; }
    SPLVerticalRangeSliderWidget* colorMapSlider() const { return m_slider; }
    double panelOpacity() const;

private:
    void BuildColorMapSlider();
    void Wire();
    void InstallToolBars();
    void PlacePanels();
    void FinishForm();
    // The Delete tools, the two buttons and the panel's opacity as the adapter's selection has them.
    void FollowSelection();
    void ShowSplPanel(bool shown);
    void OnTransferCompleted(bool wasSuccessful, const QString& errorMessage);

    std::unique_ptr<Ui_SpeakerAnalysisTab> m_ui;
    EntitySelectionControl* m_entityList = nullptr;
    BeamSpeakerPropertiesControl* m_beamPanel = nullptr;
    std::unique_ptr<SpeakerTabActions> m_actions;
    ToolBarControl* m_planBar = nullptr;
    ToolBarControl* m_sideBar = nullptr;
    ToolBarControl* m_rightBar = nullptr;
    SplPropertiesControl* m_splPanel = nullptr;
    SplLiveMapControls* m_liveMap = nullptr;
    QGraphicsOpacityEffect* m_opacity = nullptr;
    SPLVerticalRangeSliderWidget* m_slider = nullptr;
    QFrame* m_headerDivider = nullptr;
    int m_theme = 1;
    QPointer<SplAdapter> m_splAdapter;
    SpeakerTabAdapter* m_tabAdapter = nullptr;
};

} // namespace zorvpro
