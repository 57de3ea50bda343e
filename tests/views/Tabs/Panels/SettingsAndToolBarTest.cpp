// Project preferences, application settings, the tool bars and the tab
// layout helpers.

#include "PanelHost.h"
#include "data/Settings/AppSettings.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"
#include "views/Tabs/BaseComponents/TabLayoutFunctions.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
using test::PanelHost;
using Said = std::vector<std::string>;

TEST(ProjectPreferencesControlTest, RestoreDefaultsEditsInProgressAndUnits)
{
    PanelHost<ProjectPreferencesControl> host;
    ASSERT_TRUE(host.active);
    EXPECT_EQ(host.Shown("Humidity").toString(), "31");
    EXPECT_EQ(host.Shown("Temperature").toString(), "22.0");
    EXPECT_EQ(host.Shown("EarHeight").toString(), "1.00");

    // Humidity beyond its bound is clamped on commit; restoring the defaults
    // sends four values and leaves the texts alone.
    host.Type("ProjectVenue", "Main Hall");
    host.Type("Humidity", "150");
    host.Set("AirAbsorb", "ON");
    EXPECT_EQ(host.listener.Said(), (Said{"ProjectVenue=Main Hall", "Humidity=100", "AirAbsorb=true"}));
    QTest::mouseClick(host.panel->resetButton(), Qt::LeftButton);
    EXPECT_EQ(host.listener.Said(),
              (Said{"AirAbsorb=false", "Temperature=22", "Humidity=50", "EarHeight=1"}));
    EXPECT_EQ(host.Shown("ProjectVenue").toString(), "Main Hall");

    // Mid-edit of the temperature, the switch is clicked with the mouse: the
    // edit is committed before the switch is reported.
    QLineEdit* temperature = host.Widget("Temperature")->findChild<QLineEdit*>();
    temperature->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(temperature, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(temperature, "30");
    QTest::mouseClick(host.Widget("AirAbsorb"), Qt::LeftButton);
    EXPECT_EQ(host.listener.Said(), (Said{"Temperature=30", "AirAbsorb=true"}));

    UnitSettings* units = AppSettings::Instance().GetUnitSettings();
    units->setTemperatureUnits(TemperatureType::F);
    units->setMeasurementUnits(MeasurementType::Imperial);
    EXPECT_EQ(host.Shown("Temperature").toString(), "86.0");
    EXPECT_EQ(host.Shown("EarHeight").toString(), "3.28");
    units->setTemperatureUnits(TemperatureType::C);
    units->setMeasurementUnits(MeasurementType::Metric);
    EXPECT_EQ(host.Shown("Temperature").toString(), "30.0");

    // Notes hold at most 280 characters.
    host.panel->updateProperty("ProjectNotes", QString(400, 'n'));
    EXPECT_EQ(host.Shown("ProjectNotes").toString().size(), 280);
}

// Column (x) and row (y) of a widget in the panel's grid; -1 when not there.
QPoint Cell(const BoundPropertiesGrid& panel, QWidget* widget)
{
    auto* grid = static_cast<QGridLayout*>(panel.widget()->layout());
    const int index = grid->indexOf(widget);
    int row = -1, column = -1, rowSpan, columnSpan;
    if (index >= 0)
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return QPoint(column, row);
}

TEST(ApplicationSettingsControlTest, SwitchesReportTheirSideAndStandInOneColumn)
{
    PanelHost<ApplicationSettingsControl> host;
    ASSERT_TRUE(host.active);
    host.Set("ColorTheme", "Light");
    EXPECT_EQ(host.listener.Said(), Said{"ColorTheme=true"});

    // The hidden location switch is still bound and takes updates.
    EXPECT_EQ(host.Property("ToolbarLocation")->value(), QVariant(false));
    host.panel->updateProperty("ToolbarLocation", true);
    EXPECT_EQ(host.Property("ToolbarLocation")->value(), QVariant(true));
    EXPECT_EQ(host.Widget("ToolbarLocation")->parentWidget(), nullptr);
    EXPECT_TRUE(host.listener.heard.empty());

    // Title, then label and switch pairs from top to bottom in one column.
    std::vector<QPoint> cells;
    for (QWidget* widget : {static_cast<QWidget*>(host.panel->titleLabel()), host.Widget("MeasurementUnits"),
                            host.Widget("TemperatureUnits"), host.Widget("ColorTheme")})
        cells.push_back(Cell(*host.panel, widget));
    EXPECT_EQ(cells, (std::vector<QPoint>{{0, 1}, {0, 3}, {0, 5}, {0, 7}}));
}

TEST(ToolBarControlTest, EachPlacementLaysOutItsShareAndFollowsLinkAndPosition)
{
    PanelHost<ToolBarControl> speakerPlan(1u, ToolBarPlacement::PlanView);
    PanelHost<ToolBarControl> venuePlan(0u, ToolBarPlacement::PlanView);
    PanelHost<ToolBarControl> side(1u, ToolBarPlacement::SideView);
    PanelHost<ToolBarControl> right(1u, ToolBarPlacement::Right);
    EXPECT_EQ(side.panel->widget()->objectName(), "SpeakerSideViewToolBar");
    EXPECT_EQ(venuePlan.panel->widget()->objectName(), "VenuePlanViewToolBar");
    EXPECT_EQ(Cell(*speakerPlan.panel, speakerPlan.Widget("Toolbar_SliderPlan")).x(), 11);
    EXPECT_EQ(Cell(*speakerPlan.panel, speakerPlan.Widget("Toolbar_ThrowLines")).x(), 9);
    EXPECT_EQ(Cell(*venuePlan.panel, venuePlan.Widget("Toolbar_SliderPlan")).x(), 8);
    EXPECT_EQ(Cell(*venuePlan.panel, venuePlan.Widget("Toolbar_ThrowLines")).x(), -1);
    EXPECT_EQ(venuePlan.Widget("Toolbar_AddEntity")->toolTip(), "Add a new surface");
    EXPECT_EQ(speakerPlan.Property("Toolbar_ThrowLines")->value(), QVariant(true));

    // Linking hides the side bar's slider and link button; the plan bar only
    // changes the tooltip.
    side.Set("Toolbar_LinkViews", "ON");
    speakerPlan.Set("Toolbar_LinkViews", "ON");
    EXPECT_FALSE(side.Visible(side.Widget("Toolbar_SliderSide")));
    EXPECT_FALSE(side.Visible(side.Widget("Toolbar_LinkViews")));
    EXPECT_TRUE(speakerPlan.Visible(speakerPlan.Widget("Toolbar_LinkViews")));
    EXPECT_EQ(speakerPlan.Widget("Toolbar_LinkViews")->toolTip(), "Unlink zoom");
    side.panel->updateProperty("Toolbar_LinkViews", false);
    EXPECT_TRUE(side.Visible(side.Widget("Toolbar_SliderSide")));
    EXPECT_EQ(side.Widget("Toolbar_LinkViews")->toolTip(), "Link zoom");
    EXPECT_EQ(side.listener.Said(), Said{"Toolbar_LinkViews=true"});

    // Docked right: the plan bar keeps its switch, slider, link and fit.
    for (auto* bar : {speakerPlan.panel.get(), side.panel.get(), right.panel.get()})
        bar->toolbarPositionChanged(1);
    for (const char* name : {"Toolbar_AddEntity", "Toolbar_Undo", "Toolbar_Redo", "Toolbar_DeleteEntity"})
        EXPECT_FALSE(speakerPlan.Visible(speakerPlan.Widget(name))) << name;
    for (const char* name :
         {"Toolbar_ThrowLines", "Toolbar_SliderPlan", "Toolbar_LinkViews", "Toolbar_ZoomToFit"})
        EXPECT_TRUE(speakerPlan.Visible(speakerPlan.Widget(name))) << name;
    EXPECT_TRUE(right.panel->widget()->isVisible());
    EXPECT_TRUE(side.Visible(side.Widget("Toolbar_SliderSide")));
    for (auto* bar : {speakerPlan.panel.get(), right.panel.get()})
        bar->toolbarPositionChanged(0);
    EXPECT_TRUE(speakerPlan.Visible(speakerPlan.Widget("Toolbar_Undo")));
    EXPECT_FALSE(right.panel->widget()->isVisible());
}

TEST(ToolBarControlTest, ButtonsReportClicksAndHaveTheirShortcuts)
{
    PanelHost<ToolBarControl> right(0u, ToolBarPlacement::Right);
    ASSERT_TRUE(right.active);
    right.panel->toolbarPositionChanged(1);
    for (const char* name : {"Toolbar_AddEntity", "Toolbar_DeleteEntity"})
        QTest::mouseClick(right.Widget(name), Qt::LeftButton);
    // The undo shortcut works while the focus is on the bar (a text field
    // would take the key for its own undo).
    right.Widget("Toolbar_AddEntity")->setFocus();
    QTest::keySequence(right.Widget("Toolbar_AddEntity"), QKeySequence(QKeySequence::Undo));
    // A shortcut clicks its button after a short animation.
    ASSERT_TRUE(QTest::qWaitFor([&] { return right.listener.Changes().size() == 3; }, 3000));
    EXPECT_EQ(right.listener.Said(),
              (Said{"Toolbar_AddEntity=false", "Toolbar_DeleteEntity=false", "Toolbar_Undo=false"}));
}

TEST(TabLayoutFunctionsTest, SplitterSizesFrameStyleAndGuardedUpdates)
{
    QSplitter splitter;
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    splitter.resize(800 + splitter.handleWidth(), 100);
    setTabSplitterSizes(0, &splitter);
    EXPECT_EQ(splitter.sizes(), (QList<int>{160, 640}));
    setTabSplitterSizes(1, &splitter);
    setTabSplitterSizes(2, &splitter);
    EXPECT_EQ(splitter.sizes(), (QList<int>{533, 267}));
    EXPECT_THROW(setTabSplitterSizes(0, nullptr), std::logic_error);

    QFrame frame;
    frame.setFrameStyle(QFrame::Box | QFrame::Sunken);
    clearFrameStyle(&frame);
    EXPECT_EQ(frame.frameStyle(), QFrame::NoFrame | QFrame::Plain);
    EXPECT_THROW(clearFrameStyle(nullptr), std::logic_error);

    PanelHost<ApplicationSettingsControl> host;
    updatePropertyIfBound(host.panel.get(), "ColorTheme", true);
    updatePropertyIfBound(host.panel.get(), "NoSuchProperty", true);
    updatePropertyIfBound(nullptr, "ColorTheme", false);
    EXPECT_EQ(host.Property("ColorTheme")->value(), QVariant(true));
    EXPECT_TRUE(host.listener.heard.empty());
}
} // namespace
} // namespace zorvpro
