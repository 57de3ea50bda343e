// The tool-bar steps the venue and speaker pages share.
#include "views/Tabs/BaseComponents/TabToolBars.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"

#include <QFrame>
#include <QLayout>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
TEST(TabToolBarsTest, BarsSitOverThePlottingAreaAndFollowPositionAndSelection)
{
    // The grid's label columns beside the plotting area; none below zero.
    EXPECT_EQ(plotAreaInsets(48, 12), QMargins(48, 0, 12, 0));
    EXPECT_EQ(plotAreaInsets(-3, 5), QMargins(0, 0, 5, 0));

    // The frames outlive the bars, as on the pages.
    QFrame planFrame;
    QFrame rightFrame;
    ToolBarControl plan(0u, ToolBarPlacement::PlanView);
    ToolBarControl right(0u, ToolBarPlacement::Right);
    installTabToolBar(&planFrame, &plan, QMargins(48, 0, 12, 0), nullptr);
    installTabToolBar(&rightFrame, &right, QMargins(), nullptr);
    ASSERT_NE(planFrame.layout(), nullptr);
    EXPECT_EQ(planFrame.layout()->contentsMargins(), QMargins(48, 0, 12, 0));
    EXPECT_EQ(rightFrame.layout()->contentsMargins(), QMargins());
    EXPECT_EQ(plan.widget()->parentWidget(), &planFrame);

    placeTabToolBars({&plan, &right}, &rightFrame, 1);
    EXPECT_FALSE(rightFrame.isHidden());
    placeTabToolBars({&plan, &right}, &rightFrame, 0);
    EXPECT_TRUE(rightFrame.isHidden());

    for (int selected : {2, 0, 1})
    {
        enableTabToolBarDelete({&plan, &right}, selected);
        for (ToolBarControl* bar : {&plan, &right})
            EXPECT_EQ(bar->getProperty("Toolbar_DeleteEntity")->widget()->isEnabled(), selected >= 1)
                << selected;
    }

    EXPECT_NE(tabToolBarSheet(1), tabToolBarSheet(0));
    EXPECT_TRUE(tabToolBarSheet(0).contains("background-color: #242424"));
    EXPECT_TRUE(tabSplitterHandleSheet(1).startsWith("QSplitter::handle"));
}
} // namespace
} // namespace zorvpro
