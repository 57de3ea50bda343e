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

TEST(ProjectPreferencesControlTest, RestoreDefaultsSendsFourEventsAndKeepsTheTexts)
{
    PanelHost<ProjectPreferencesControl> host;
    ASSERT_TRUE(host.active);
    EXPECT_EQ(host.Shown("Humidity").toString(), "31");
    EXPECT_EQ(host.Shown("Temperature").toString(), "22.0");
    EXPECT_EQ(host.Shown("EarHeight").toString(), "1.00");

    host.Type("ProjectVenue", "Main Hall");
    host.Type("Humidity", "150");
    host.Set("AirAbsorb", "ON");
    host.listener.heard.clear();
    QTest::mouseClick(host.panel->resetButton(), Qt::LeftButton);

    const std::vector<std::pair<QString, QVariant>> expected{
        {"AirAbsorb", false}, {"Temperature", 22.0}, {"Humidity", 50.0}, {"EarHeight", 1.0}};
    const auto changes = host.listener.Changes();
    ASSERT_EQ(changes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(changes[i].name, expected[i].first);
        EXPECT_EQ(changes[i].value.toDouble(), expected[i].second.toDouble()) << i;
    }
    EXPECT_EQ(host.Shown("ProjectVenue").toString(), "Main Hall");
    EXPECT_EQ(host.Shown("Humidity").toString(), "50");
}

TEST(ProjectPreferencesControlTest, AirSwitchEndsAnEditFirstAndUnitsSwitchLive)
{
    PanelHost<ProjectPreferencesControl> host;
    ASSERT_TRUE(host.active);
    // Humidity beyond its bound is clamped on commit.
    host.Type("Humidity", "150");
    ASSERT_EQ(host.listener.Changes().size(), 1u);
    EXPECT_EQ(host.listener.Changes()[0].value.toDouble(), 100.0);

    // Mid-edit of the temperature, the switch is clicked with the mouse.
    host.listener.heard.clear();
    QLineEdit* temperature = host.Widget("Temperature")->findChild<QLineEdit*>();
    temperature->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(temperature, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(temperature, "30");
    QTest::mouseClick(host.Widget("AirAbsorb"), Qt::LeftButton);
    const auto changes = host.listener.Changes();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].name, "Temperature");
    EXPECT_EQ(changes[0].value.toDouble(), 30.0);
    EXPECT_EQ(changes[1].name, "AirAbsorb");
    EXPECT_EQ(changes[1].value, QVariant(true));

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

TEST(ApplicationSettingsControlTest, SwitchesReportTheirSideAndStandInOneColumn)
{
    PanelHost<ApplicationSettingsControl> host;
    ASSERT_TRUE(host.active);
    host.Set("ColorTheme", "Light");
    ASSERT_EQ(host.listener.Changes().size(), 1u);
    EXPECT_EQ(host.listener.Changes()[0].name, "ColorTheme");
    EXPECT_EQ(host.listener.Changes()[0].value, QVariant(true));

    // The hidden location switch is still bound and takes updates.
    EXPECT_EQ(host.Property("ToolbarLocation")->value(), QVariant(false));
    host.panel->updateProperty("ToolbarLocation", true);
    EXPECT_EQ(host.Property("ToolbarLocation")->value(), QVariant(true));
    EXPECT_EQ(host.Widget("ToolbarLocation")->parentWidget(), nullptr);
    EXPECT_EQ(host.listener.Changes().size(), 1u);

    // Title, then label and switch pairs from top to bottom in one column.
    auto* grid = static_cast<QGridLayout*>(host.panel->widget()->layout());
    std::vector<QWidget*> column{host.panel->titleLabel()};
    for (const char* name : {"MeasurementUnits", "TemperatureUnits", "ColorTheme"})
        column.push_back(host.Widget(name));
    int lastRow = -1;
    for (QWidget* widget : column)
    {
        int row, col, rowSpan, colSpan;
        grid->getItemPosition(grid->indexOf(widget), &row, &col, &rowSpan, &colSpan);
        EXPECT_EQ(col, 0);
        EXPECT_GT(row, lastRow);
        lastRow = row;
    }
    EXPECT_EQ(lastRow, 7);
}

// Column of a widget in the bar's one row; -1 when it is not laid out there.
int ColumnOf(const ToolBarControl& bar, QWidget* widget)
{
    auto* grid = static_cast<QGridLayout*>(bar.widget()->layout());
    const int index = grid->indexOf(widget);
    if (index < 0)
        return -1;
    int row, column, rowSpan, columnSpan;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return column;
}

TEST(ToolBarControlTest, EachPlacementLaysOutItsShareAndFollowsLinkAndPosition)
{
    PanelHost<ToolBarControl> speakerPlan(1u, ToolBarPlacement::PlanView);
    PanelHost<ToolBarControl> venuePlan(0u, ToolBarPlacement::PlanView);
    PanelHost<ToolBarControl> side(1u, ToolBarPlacement::SideView);
    PanelHost<ToolBarControl> right(1u, ToolBarPlacement::Right);
    EXPECT_EQ(side.panel->widget()->objectName(), "SpeakerSideViewToolBar");
    EXPECT_EQ(venuePlan.panel->widget()->objectName(), "VenuePlanViewToolBar");
    EXPECT_EQ(ColumnOf(*speakerPlan.panel, speakerPlan.Widget("Toolbar_SliderPlan")), 11);
    EXPECT_EQ(ColumnOf(*speakerPlan.panel, speakerPlan.Widget("Toolbar_ThrowLines")), 9);
    EXPECT_EQ(ColumnOf(*venuePlan.panel, venuePlan.Widget("Toolbar_SliderPlan")), 8);
    EXPECT_EQ(ColumnOf(*venuePlan.panel, venuePlan.Widget("Toolbar_ThrowLines")), -1);
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
    ASSERT_EQ(side.listener.Changes().size(), 1u);
    EXPECT_EQ(side.listener.Changes()[0].value, QVariant(true));

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
    const auto changes = right.listener.Changes();
    EXPECT_EQ(changes[0].name, "Toolbar_AddEntity");
    EXPECT_EQ(changes[1].name, "Toolbar_DeleteEntity");
    EXPECT_EQ(changes[2].name, "Toolbar_Undo");
}

TEST(TabLayoutFunctionsTest, SplitterSizesFrameStyleAndGuardedUpdates)
{
    QSplitter splitter;
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    splitter.resize(800, 100);
    splitter.show();
    setTabSplitterSizes(0, &splitter);
    const QList<int> venue = splitter.sizes();
    EXPECT_NEAR(double(venue[0]) / venue[1], 160.0 / 640.0, 0.02);
    setTabSplitterSizes(1, &splitter);
    const QList<int> speaker = splitter.sizes();
    EXPECT_NEAR(double(speaker[0]) / speaker[1], 533.0 / 267.0, 0.02);
    setTabSplitterSizes(2, &splitter);
    EXPECT_EQ(splitter.sizes(), speaker);
    EXPECT_THROW(setTabSplitterSizes(0, nullptr), std::logic_error);

    QFrame frame;
    frame.setFrameShape(QFrame::Box);
    frame.setFrameShadow(QFrame::Sunken);
    clearFrameStyle(&frame);
    EXPECT_EQ(frame.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(frame.frameShadow(), QFrame::Plain);
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
