// The venue tab page in a real window with its two OpenGL views: layout, tool bars, the
// selection rules of the panel and tool bars, link mirroring, theming (checked by pixels, both
// themes saved for a person to look at) and clearing the project.

#include "../gl/GlViewSupport.h"
#include "GlTestEnv.h"

#include "core/Commands/UndoStack.h"
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Render/GridEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"
#include "views/Tabs/Venue/SurfacePropertiesControl.h"
#include "views/Tabs/Venue/VenueTab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QSplitter>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>

namespace zorvpro::gltest
{
namespace
{
// How many pixels of the rectangle are within 3 of the colour.
int CountNear(const QImage& image, const QRect& rect, const QColor& color)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (ColorNear(image, x, y, color))
                ++count;
    return count;
}

class VenueTabPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProjectDefinition::Instance()->Clear(false);
        UndoStack::Instance().clear();
        const NodePtr root = ProjectDefinition::Instance()->GetVenue()->GetRoot();
        const char* names[] = {"Wall", "Floor", "Stage"};
        for (int i = 0; i < 3; ++i)
        {
            QuadNodePtr quad = QuadNode::Create(names[i], {0, 2, 0}, {3, 2, 0}, {3, -2, 0}, {0, -2, 0},
                                                QColor(i == 0 ? "#ff8632" : "#3070c0"), 1.2, 0.0);
            quad->SetTransform(math::Mat4::Translation({-5.0 + 4.0 * i, 0, 0}));
            root->AddChild(quad);
            quads.push_back(quad);
        }
        page = std::make_unique<VenueTab>();
        page->resize(1500, 900);
        page->show();
        ASSERT_TRUE(LoopWaitForExposed(page.get(), kDeadlineMs));
        page->adapter()->LoadVenue();
    }

    void TearDown() override
    {
        page.reset();
        UndoStack::Instance().clear();
        ProjectDefinition::Instance()->Clear(false);
    }

    template <typename T> T* Find(const char* name) const
    {
        T* found = page->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        EntitySelectionControl* list = page->entityList();
        const QRect cell = list->visualRect(list->model()->index(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
        QCoreApplication::processEvents();
    }

    bool DeleteEditable(ToolBarControl* bar) const
    {
        return bar->getProperty("Toolbar_DeleteEntity")->widget()->isEnabled();
    }

    QImage Shot()
    {
        view::VenueView3D* plan = Find<view::VenueView3D>("openGLPlan");
        view::VenueView3D* side = Find<view::VenueView3D>("openGLSide");
        EXPECT_TRUE(Settle(*plan));
        EXPECT_TRUE(Settle(*side));
        QCoreApplication::processEvents();
        return page->grab().toImage();
    }

    std::vector<QuadNodePtr> quads;
    std::unique_ptr<VenueTab> page;
};

TEST_F(VenueTabPageTest, FormHasItsNamesSizesAndToolBars)
{
    EXPECT_EQ(page->objectName(), "tabButtonVenue");
    EXPECT_EQ(page->entityList()->objectName(), "VenueTabEntitySelectionControl");
    EXPECT_EQ(Find<QLabel>("surfacePropertiesLabel")->text(), "SURFACE PROPERTIES");
    EXPECT_FALSE(Find<QFrame>("propertiesDividerLine")->isVisible());
    EXPECT_EQ(Find<view::VenueView3D>("openGLPlan")->minimumWidth(), 600);
    // The splitters keep the tab rule's proportions.
    const QList<int> props = Find<QSplitter>("splitterPropsVenue")->sizes();
    const QList<int> views = Find<QSplitter>("splitterViewsVenue")->sizes();
    ASSERT_EQ(props.size(), 2);
    ASSERT_EQ(views.size(), 2);
    EXPECT_NEAR(double(props[0]) / (props[0] + props[1]), 160.0 / 800.0, 0.02);
    EXPECT_NEAR(double(views[0]) / (views[0] + views[1]), 533.0 / 800.0, 0.02);
    EXPECT_FALSE(Find<QSplitter>("splitterPropsVenue")->isCollapsible(0));

    // The tool bars arrive on the first pass of the event loop, inset like the plan grid's labels.
    ASSERT_TRUE(WaitUntil([&] { return page->planToolBar()->widget()->parentWidget() != nullptr; }));
    EXPECT_EQ(page->planToolBar()->widget()->parentWidget(), Find<QFrame>("planToolbarContainerFrame"));
    EXPECT_EQ(page->sideToolBar()->widget()->parentWidget(), Find<QFrame>("sideToolbarContainerFrame"));
    EXPECT_EQ(page->rightToolBar()->widget()->parentWidget(), Find<QFrame>("rightToolbarContainerFrame"));
    const QMargins insets = Find<QFrame>("planToolbarContainerFrame")->layout()->contentsMargins();
    EXPECT_EQ(insets.top(), 0);
    EXPECT_EQ(insets.bottom(), 0);

    // The list shows the three surfaces; the views show them.
    EXPECT_EQ(page->entityList()->rowCount(), 3);

    // The right tool bar's frame shows only for the position Right, exactly 60 pixels wide.
    page->toolbarPositionChanged(0);
    EXPECT_FALSE(Find<QFrame>("rightToolbarContainerFrame")->isVisible());
    page->toolbarPositionChanged(1);
    QFrame* right = Find<QFrame>("rightToolbarContainerFrame");
    EXPECT_TRUE(right->isVisible());
    EXPECT_EQ(right->width(), 60);
    // Its buttons lie inside it, where the user can reach them.
    QWidget* add = page->rightToolBar()->getProperty("Toolbar_AddEntity")->widget();
    ASSERT_TRUE(WaitUntil([&] { return add->isVisible(); }));
    const QRect inRight(add->mapTo(right, QPoint(0, 0)), add->size());
    EXPECT_TRUE(right->rect().contains(inRight)) << inRight.x() << "," << inRight.y();
}

TEST_F(VenueTabPageTest, SelectionDrivesPanelOpacityAndTheDeleteButton)
{
    const std::vector<ToolBarControl*> bars = {page->planToolBar(), page->sideToolBar(),
                                               page->rightToolBar()};
    auto expectState = [&](int selected, double opacity, bool deletable)
    {
        EXPECT_EQ(page->adapter()->GetSelectedCount(), selected);
        EXPECT_DOUBLE_EQ(page->panelOpacity(), opacity) << selected;
        for (ToolBarControl* bar : bars)
            EXPECT_EQ(DeleteEditable(bar), deletable) << selected;
    };
    ClickRow(0);
    expectState(1, 0.9, true);
    // The panel shows the one selected surface.
    EXPECT_EQ(page->surfacePanel()->getProperty("Quad_FrontWidth")->value().toDouble(), 4.0);
    ClickRow(1, Qt::ControlModifier);
    expectState(2, 0.35, true);
    ClickRow(0, Qt::ControlModifier);
    ClickRow(1, Qt::ControlModifier);
    expectState(0, 0.35, false);

    // Delete from the tool bar, as the user would: both surfaces go in one step.
    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);
    auto* remove =
        qobject_cast<QAbstractButton*>(page->planToolBar()->getProperty("Toolbar_DeleteEntity")->widget());
    ASSERT_NE(remove, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return remove->isVisible(); }));
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildCount(), 1u);
    EXPECT_EQ(page->entityList()->rowCount(), 1);
    EXPECT_EQ(UndoStack::Instance().count(), 1);
    EXPECT_EQ(UndoStack::Instance().text(0), "Delete");
}

TEST_F(VenueTabPageTest, LinkViewsReachesAllToolBarsBeforeTheAdapter)
{
    ProjectSettings* settings = ProjectDefinition::Instance()->GetSettings();
    std::vector<bool> barsAtAdapter;
    QObject guard;
    QObject::connect(
        settings, &ProjectSettings::zoomIsPairedChanged, &guard,
        [&]
        {
            for (ToolBarControl* bar : {page->planToolBar(), page->sideToolBar(), page->rightToolBar()})
                barsAtAdapter.push_back(bar->getProperty("Toolbar_LinkViews")->value().toBool());
        });
    ASSERT_TRUE(WaitUntil([&] { return page->planToolBar()->widget()->isVisible(); }));
    auto* link =
        qobject_cast<QAbstractButton*>(page->planToolBar()->getProperty("Toolbar_LinkViews")->widget());
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(link->isChecked());
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_FALSE(page->adapter()->IsZoomPaired());
    EXPECT_FALSE(settings->getZoomPaired(ProjectSettings::VenueTab));
    EXPECT_EQ(barsAtAdapter, (std::vector<bool>{false, false, false}));
}

TEST_F(VenueTabPageTest, ThemesPaintViewsAndToolBarsInTheirColours)
{
    struct Theme
    {
        int value;
        const char* name;
        QColor background, line, margin;
    };
    for (const Theme& theme :
         {Theme{0, "venue-tab-dark", QColor("#000000"), QColor("#3d3d3d"), QColor("#242424")},
          Theme{1, "venue-tab-light", QColor("#FFFFFF"), QColor("#c8c8c8"), QColor("#f3f3f3")}})
    {
        // The application's theme adapter styles the application and tells the page and, registered
        // beside it, the tab's adapter.
        AppThemeAdapter* themes = AppThemeAdapter::instance();
        themes->configure(qApp);
        themes->addThemeListener(page.get());
        themes->addThemeListener(page->adapter());
        AppSettings::Instance().GetUiSettings()->setTheme(theme.value == 1 ? UiTypes::UiTheme::Day
                                                                           : UiTypes::UiTheme::Night);
        themes->notifyListeners();
        themes->removeThemeListener(page.get());
        themes->removeThemeListener(page->adapter());
        page->toolbarPositionChanged(1);
        page->adapter()->setPlanViewZoomLevel(60);
        ClickRow(0);
        const QImage image = Shot();
        SaveShot(image, theme.name, EsRequested());

        view::VenueView3D* side = Find<view::VenueView3D>("openGLSide");
        EXPECT_EQ(side->GetBackgroundColor(), theme.background);
        const QPoint origin = side->mapTo(page.get(), QPoint(0, 0));
        const QRect frame = side->GetGrid()->ScreenRect().translated(origin);
        ASSERT_TRUE(frame.isValid());
        // The margin around the plotting frame, the frame's background and its grid lines.
        EXPECT_TRUE(ColorNear(image, origin.x() + 2, origin.y() + side->height() - 3, theme.margin))
            << theme.name;
        const QRect plot = frame.adjusted(4, 4, -4, -4);
        const int area = plot.width() * plot.height();
        EXPECT_GT(CountNear(image, plot, theme.background), area / 2) << theme.name;
        EXPECT_EQ(side->GetGrid()->LineColor(), theme.line);
        // The right tool bar's frame.
        QFrame* right = Find<QFrame>("rightToolbarContainerFrame");
        const QPoint barPoint = right->mapTo(page.get(), QPoint(30, right->height() - 5));
        EXPECT_TRUE(ColorNear(image, barPoint.x(), barPoint.y(), theme.margin)) << theme.name;
    }
}

TEST_F(VenueTabPageTest, ZoomToFitFramesEverySurfaceInBothViews)
{
    view::VenueView3D* plan = Find<view::VenueView3D>("openGLPlan");
    view::VenueView3D* side = Find<view::VenueView3D>("openGLSide");
    ASSERT_TRUE(Settle(*plan) && Settle(*side));
    ASSERT_TRUE(WaitUntil([&] { return page->sideToolBar()->widget()->isVisible(); }));
    page->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_ZoomToFit", true);
    ASSERT_TRUE(Settle(*plan) && Settle(*side));

    // The surfaces span x -5 to 6 and y -2 to 2; each view shows all of it centred in its frame,
    // the limiting extent filling most of the frame (one zoom level below the exact fit).
    const math::Vec3 low(-5, -2, 0), high(6, 2, 0);
    for (view::VenueView3D* view : {plan, side})
    {
        const QRect frame = view->GetGrid()->ScreenRect();
        const QPoint a = view->GetViewport().WorldToScreen(low);
        const QPoint b = view->GetViewport().WorldToScreen(high);
        EXPECT_TRUE(frame.contains(a) && frame.contains(b))
            << a.x() << "," << a.y() << " " << b.x() << "," << b.y();
        const QPoint centre = view->GetViewport().WorldToScreen((low + high) * 0.5);
        EXPECT_NEAR(centre.x(), frame.center().x(), 2);
        if (view == plan)
        {
            EXPECT_NEAR(centre.y(), frame.center().y(), 2);
        }
    }
    const QRect planFrame = plan->GetGrid()->ScreenRect();
    const QPoint a = plan->GetViewport().WorldToScreen(low), b = plan->GetViewport().WorldToScreen(high);
    const double filled = std::max(double(std::abs(b.x() - a.x())) / planFrame.width(),
                                   double(std::abs(b.y() - a.y())) / planFrame.height());
    EXPECT_GT(filled, 0.9);
    EXPECT_LT(filled, 0.95);
    EXPECT_DOUBLE_EQ(page->adapter()->GetPlanZoom(), page->adapter()->GetSideZoom());
}

TEST_F(VenueTabPageTest, ClearingTheProjectEmptiesTheTabButNotTheTree)
{
    ClickRow(0);
    quads[1]->SetLocked(true);
    page->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_LinkViews", false);
    page->onProjectCleared();
    EXPECT_EQ(page->entityList()->rowCount(), 0);
    EXPECT_TRUE(page->adapter()->GetLinks().AllEntities().empty());
    EXPECT_EQ(ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildCount(), 3u);
    EXPECT_TRUE(quads[1]->GetLocked());
    EXPECT_FALSE(page->surfacePanel()->getProperty("Quad_FrontWidth")->widget()->isEnabled());
    for (ToolBarControl* bar : {page->planToolBar(), page->sideToolBar(), page->rightToolBar()})
        EXPECT_TRUE(bar->getProperty("Toolbar_LinkViews")->value().toBool());
}
} // namespace
} // namespace zorvpro::gltest
