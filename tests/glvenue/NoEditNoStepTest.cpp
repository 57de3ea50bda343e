// Keys that edit nothing leave no undo step and do not move the view: a selection of only
// locked or hidden surfaces, far from the origin, in a real venue tab.

#include "VenuePageFixture.h"

#include "views/Adapters/Model/PlacementRegistry.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <QAbstractButton>
#include <QUndoStack>

namespace zorvpro::gltest
{
namespace
{
class NoEditNoStepTest : public VenuePageFixture
{
protected:
    void SetUp() override
    {
        // Far from the origin: a pan towards an empty box at the origin would show.
        for (int i = 0; i < 2; ++i)
        {
            QuadNodePtr quad = QuadNode::Create("S" + std::to_string(i), {0, 2, 0}, {3, 2, 0}, {3, -2, 0},
                                                {0, -2, 0}, QColor("#3070c0"), 1.2, 0.0);
            quad->SetTransform(math::Mat4::Translation({40.0 + 4.0 * i, 30.0, 0}));
            quads.push_back(quad);
        }
        OpenPage(quads);
    }

    // The row button of a surface in the entity list, as the user clicks it.
    QAbstractButton* RowButton(int row, const char* itemName)
    {
        EntitySelectionControl* list = page->entityList();
        for (int column = 0; column < list->columnCount(); ++column)
            if (QWidget* cell = list->cellWidget(row, column))
                if (auto* button = cell->findChild<QAbstractButton*>(itemName))
                    return button;
        return nullptr;
    }

    std::vector<QuadNodePtr> quads;
};

TEST_F(NoEditNoStepTest, OnlyLockedOrHiddenSurfacesSelectedMakesNoStepAndNoPan)
{
    const struct
    {
        const char* button;
        bool deletable; // a hidden surface may be deleted, a locked one may not
    } cases[] = {{"Entity_Lock", false}, {"Entity_Visibility", true}};
    VenueTabAdapter* adapter = page->adapter();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.button);
        // A click on empty floor makes the plan view the active view; Select All takes both.
        Mouse(QEvent::MouseButtonPress, QPoint(5, plan->height() - 5), Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, QPoint(5, plan->height() - 5), Qt::NoButton);
        QTest::keyClick(page.get(), Qt::Key_A, Qt::ControlModifier);
        ASSERT_EQ(adapter->GetSelectedCount(), 2);
        for (int row = 0; row < 2; ++row)
        {
            QAbstractButton* button = RowButton(row, c.button);
            ASSERT_NE(button, nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        }
        ASSERT_EQ(adapter->GetSelectedCount(), 2) << "changing the rows keeps the selection";
        ASSERT_TRUE(Settle(*plan));
        const int steps = UndoStack::Instance().count();
        const math::Vec3 camera = plan->GetCamera().GetPosition();
        const math::Vec3 at[] = {PlacementRegistry::NodePosition(quads[0]),
                                 PlacementRegistry::NodePosition(quads[1])};

        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Up, Qt::Key_Left, Qt::Key_Down})
            QTest::keyClick(page.get(), key);
        QTest::keyClick(page.get(), Qt::Key_Right, Qt::ControlModifier);
        EXPECT_EQ(UndoStack::Instance().count(), steps) << "nothing moved: no step";
        const math::Vec3 after = plan->GetCamera().GetPosition();
        EXPECT_NEAR(after.x, camera.x, 1e-9) << "the view does not pan";
        EXPECT_NEAR(after.y, camera.y, 1e-9);
        for (int i = 0; i < 2; ++i)
        {
            EXPECT_NEAR(PlacementRegistry::NodePosition(quads[i]).x, at[i].x, 1e-9);
            EXPECT_NEAR(PlacementRegistry::NodePosition(quads[i]).y, at[i].y, 1e-9);
        }

        // The tool bar's delete button, then Cut (once hidden surfaces are gone, nothing is left
        // selected to cut).
        auto* remove = page->findChild<QAbstractButton*>("Toolbar_DeleteEntity");
        ASSERT_NE(remove, nullptr);
        for (int attempt = 0; attempt < (c.deletable ? 1 : 2); ++attempt)
        {
            if (attempt == 0)
                QTest::mouseClick(remove, Qt::LeftButton);
            else
                QTest::keyClick(page.get(), Qt::Key_X, Qt::ControlModifier);
            if (c.deletable)
            {
                ASSERT_EQ(UndoStack::Instance().count(), steps + 1);
                EXPECT_EQ(UndoStack::Instance().text(steps), "Delete");
                EXPECT_TRUE(ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren().empty());
                UndoStack::Instance().undo();
            }
            else
            {
                EXPECT_EQ(UndoStack::Instance().count(), steps) << "locked surfaces are not deleted: no step";
            }
            EXPECT_EQ(ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren().size(), 2u);
        }

        // Back to two visible, unlocked surfaces for the next case.
        while (UndoStack::Instance().canUndo())
            UndoStack::Instance().undo();
        UndoStack::Instance().clear();
    }
}
} // namespace
} // namespace zorvpro::gltest
