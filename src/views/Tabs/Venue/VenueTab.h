#pragma once

#include "views/Common/IAppThemeListener.h"
#include "views/Common/IToolbarPositionListener.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/GridControl/IBindablePropertyUpdater.h"

#include <QWidget>
#include <cstdint>

class QFrame;
class QGraphicsOpacityEffect;
class QLabel;
class QScrollArea;
class QSplitter;

namespace zorvpro
{
class EntitySelectionControl;
class SurfacePropertiesControl;
class ToolBarControl;
class VenueTabAdapter;

namespace view
{
class VenueView3D;
}

// The venue tab page: the surface list with the surface panel on the left, the plan and side
// views with their tool bars in the middle and a third tool bar on the right. All editing is the
// adapter's; the page lays out, themes and passes tool-bar events on.
class VenueTab : public QWidget,
                 public IAppThemeListener,
                 public IToolbarPositionListener,
                 public IBindablePropertyUpdater,
                 public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    // Throws std::runtime_error (after logging) when the page cannot be built.
    explicit VenueTab(QWidget* parent = nullptr);
    ~VenueTab() override;

    void themeChanged(const int& theme) override;
    void toolbarPositionChanged(const int& position) override;
    void updateProperty(const QString& name, const QVariant& value) override;
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void onProjectCleared();

    VenueTabAdapter* adapter() const { return tabAdapter; }
    EntitySelectionControl* entityList() const { return list; }
    SurfacePropertiesControl* surfacePanel() const { return panel; }
    ToolBarControl* planToolBar() const { return planBar; }
    ToolBarControl* sideToolBar() const { return sideBar; }
    ToolBarControl* rightToolBar() const { return rightBar; }
    double panelOpacity() const;

private:
    void buildForm();
    void installToolBars();
    // The Delete tool and the panel's opacity as the adapter's selection has them.
    void followSelection();

    // The form.
    QSplitter* splitterHoriz = nullptr;
    QFrame* propertiesContainer = nullptr;
    QFrame* headerFrame = nullptr;
    QLabel* headerLabel = nullptr;
    QFrame* dividerLine = nullptr;
    QSplitter* splitterProps = nullptr;
    QFrame* selectionContainer = nullptr;
    QScrollArea* definitionScrollArea = nullptr;
    QWidget* definitionWidget = nullptr;
    QSplitter* splitterViews = nullptr;
    QFrame* planContainer = nullptr;
    QFrame* planToolbarContainer = nullptr;
    view::VenueView3D* planView = nullptr;
    QFrame* sideContainer = nullptr;
    QFrame* sideToolbarContainer = nullptr;
    view::VenueView3D* sideView = nullptr;
    QFrame* rightToolbarContainer = nullptr;

    EntitySelectionControl* list = nullptr;
    ToolBarControl* planBar = nullptr;
    ToolBarControl* sideBar = nullptr;
    ToolBarControl* rightBar = nullptr;
    VenueTabAdapter* tabAdapter = nullptr;
    SurfacePropertiesControl* panel = nullptr;
    bool lightTheme = true;
    QGraphicsOpacityEffect* opacity = nullptr;
    QFrame* headerDivider = nullptr;
};
} // namespace zorvpro
