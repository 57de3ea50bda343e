// Editing the venue tab in a real window as a user does: mouse drags and rectangles through the
// plan view's mouse handler, and the editing keys.

#include "VenuePageFixture.h"

#include "data/Settings/AppSettings.h"
#include "views/Adapters/Model/PlacementRegistry.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/GridControl/BindableProperty.h"

#include <QUndoStack>

namespace zorvpro::gltest
{
namespace
{
class VenueTabEditingTest : public VenuePageFixture
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
        {
            QuadNodePtr quad = QuadNode::Create("S" + std::to_string(i), {0, 2, 0}, {3, 2, 0}, {3, -2, 0},
                                                {0, -2, 0}, QColor("#3070c0"), 1.2, 0.0);
            quad->SetTransform(math::Mat4::Translation({-5.0 + 4.0 * i, 0, 0}));
            quads.push_back(quad);
        }
        OpenPage(quads);
    }

    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseMove, from, Qt::NoButton);
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    static math::Vec3 At(const NodePtr& node) { return PlacementRegistry::NodePosition(node); }

    std::vector<QuadNodePtr> quads;
};

TEST_F(VenueTabEditingTest, DragsRectanglesAndArrowKeysMoveAndSelectAsOneStepEach)
{
    VenueTabAdapter* adapter = page->adapter();
    // A rectangle around the first two surfaces selects exactly them.
    Drag(Pixel({-5.5, 2.5, 0}), Pixel({2.5, -2.5, 0}));
    EXPECT_EQ(adapter->GetSelectedCount(), 2);
    EXPECT_FALSE(adapter->GetLinks().GetEntityForNode(quads[2])->isSelected());

    // Select All, then drag the middle surface by its body: all three follow, one undo step.
    QTest::keyClick(page.get(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(adapter->GetSelectedCount(), 3);
    const double scale = plan->GetViewport().pixelsPerMeter();
    const math::Vec3 before[] = {At(quads[0]), At(quads[1]), At(quads[2])};
    const QPoint grab = Pixel({0.5, 1.0, 0});
    Drag(grab, grab + QPoint(60, 0));
    ASSERT_EQ(UndoStack::Instance().count(), 1);
    EXPECT_EQ(UndoStack::Instance().text(0), "Move selected");
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(At(quads[i]).x - before[i].x, 60.0 / scale, 1e-6) << i;

    // The arrow key nudges the selection by a metre to the right; undo takes it back.
    QTest::keyClick(page.get(), Qt::Key_Right);
    ASSERT_EQ(UndoStack::Instance().count(), 2);
    EXPECT_NEAR(At(quads[0]).x - before[0].x, 60.0 / scale + 1.0, 1e-6);
    UndoStack::Instance().undo();
    UndoStack::Instance().undo();
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(At(quads[i]).x, before[i].x, 1e-6) << i;
    SaveShot(page->grab().toImage(), "venue_tab_editing", false);

    // Copy and paste make a named copy, selected; cut takes it away again as one step.
    Drag(Pixel({-5.5, 2.5, 0}), Pixel({-1.5, -2.5, 0}));
    ASSERT_EQ(adapter->GetSelectedCount(), 1);
    QTest::keyClick(page.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(page.get(), Qt::Key_V, Qt::ControlModifier);
    const NodePtr copy = adapter->FindNodeByName("Copy 1 of S0");
    ASSERT_TRUE(copy);
    EXPECT_TRUE(adapter->GetLinks().GetEntityForNode(copy)->isSelected());
    const int steps = UndoStack::Instance().index();
    QTest::keyClick(page.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(adapter->FindNodeByName("Copy 1 of S0"));
    EXPECT_EQ(UndoStack::Instance().index(), steps + 1);
}

TEST_F(VenueTabEditingTest, ZoomKeysStepTheActiveViewAndStopAtTheLimit)
{
    VenueTabAdapter* adapter = page->adapter();
    view::VenueView3D* side = page->findChild<view::VenueView3D*>("openGLSide");
    // A pan release in the side view makes it the active view.
    Drag(Pixel({20, 20, 0}), Pixel({20, 20, 0}));
    Mouse(QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    const QPoint inSide(side->width() / 2, side->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, inSide, side->mapToGlobal(inSide), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inSide, side->mapToGlobal(inSide), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(side, &press);
    QApplication::sendEvent(side, &release);
    ASSERT_EQ(adapter->GetActiveView(), side);

    adapter->setPlanViewZoomLevel(50.0, true);
    ASSERT_TRUE(adapter->IsZoomPaired());
    QTest::keyClick(page.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 49.0);
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 49.0); // paired: both

    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_LinkViews", false);
    ASSERT_FALSE(adapter->IsZoomPaired());
    QTest::keyClick(page.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 48.0);
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 49.0); // only the active view

    adapter->setSideViewZoomLevel(99.5, true);
    QTest::keyClick(page.get(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 100.0);
    QTest::keyClick(page.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 100.0);
    adapter->setSideViewZoomLevel(60.0, true);
    QTest::keyClick(page.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 61.0);
}

TEST_F(VenueTabEditingTest, CornerDragInEitherThemeIsOneStep)
{
    struct Theme
    {
        int value;
        const char* name;
        QColor text, background;
    };
    VenueTabAdapter* adapter = page->adapter();
    for (const Theme& theme : {Theme{1, "venue-corner-drag-light", QColor("#242424"), QColor("#F8F8F8")},
                               Theme{0, "venue-corner-drag-dark", QColor("#F8F8F8"), QColor("#575757")}})
    {
        SCOPED_TRACE(theme.name);
        AppThemeAdapter* themes = AppThemeAdapter::instance();
        themes->configure(qApp);
        themes->addThemeListener(page.get());
        themes->addThemeListener(adapter);
        AppSettings::Instance().GetUiSettings()->setTheme(theme.value == 1 ? UiTypes::UiTheme::Day
                                                                           : UiTypes::UiTheme::Night);
        themes->notifyListeners();
        themes->removeThemeListener(page.get());
        themes->removeThemeListener(adapter);
        UndoStack::Instance().clear();

        // Click the middle surface's body, then drag its back corner P2 (world (2, 2)) upwards.
        const QPoint body = Pixel({0.5, 0.0, 0});
        Drag(body, body);
        ASSERT_EQ(adapter->GetSelectedCount(), 1);
        ASSERT_TRUE(Settle(*plan));
        const QPoint corner = Pixel({2.0, 2.0, 0});
        const QPoint to = corner + QPoint(0, -40);
        Mouse(QEvent::MouseMove, corner, Qt::NoButton);
        Mouse(QEvent::MouseButtonPress, corner, Qt::LeftButton);
        Mouse(QEvent::MouseMove, corner + QPoint(0, -20), Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        ASSERT_TRUE(Settle(*plan));
        SaveShot(page->grab().toImage(), theme.name, false);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        ASSERT_EQ(UndoStack::Instance().count(), 1);
        EXPECT_EQ(UndoStack::Instance().text(0), "Move points S1");
        EXPECT_GT(quads[1]->GetP2().y, 2.0);
        UndoStack::Instance().undo();
        EXPECT_DOUBLE_EQ(quads[1]->GetP2().y, 2.0);
    }
}
} // namespace
} // namespace zorvpro::gltest
