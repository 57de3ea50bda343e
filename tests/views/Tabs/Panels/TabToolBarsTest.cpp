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
    // A 500-pixel view: the label insets beside its plotting area; none before it is laid out
    // or where the area reaches past the view.
    EXPECT_EQ(plotAreaInsets(QRect(), 500), QMargins());
    EXPECT_EQ(plotAreaInsets(QRect(QPoint(48, 4), QPoint(487, 300)), 500), QMargins(48, 0, 12, 0));
    EXPECT_EQ(plotAreaInsets(QRect(QPoint(-3, 4), QPoint(505, 300)), 500), QMargins());

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
