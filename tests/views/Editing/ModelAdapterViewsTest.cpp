// Zoom levels and their pairing, the tool-bar events, captions, cameras and theme colours of the
// model adapter, through the venue tab's adapter.

#include "support/VenueAdapterFixture.h"

#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Render/Camera.h"
#include "views/Render/GridEntity.h"

#include <QSignalSpy>
#include <cmath>

namespace zorvpro::test
{
namespace
{
using ModelAdapterViewsTest = VenueAdapterFixture;

ProjectSettings* Settings()
{
    return ProjectDefinition::Instance()->GetSettings();
}

TEST_F(ModelAdapterViewsTest, ZoomLevelsReachViewsSettingsAndSlidersOnce)
{
    adapter->setPlanViewZoomLevel(37.9);
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 37.9);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 37.9); // paired when built
    EXPECT_DOUBLE_EQ(Settings()->getViewZoom(0), 37.0);
    EXPECT_DOUBLE_EQ(Settings()->getViewZoom(1), 37.0);
    EXPECT_EQ(toolbar.values["Toolbar_SliderPlan"], QVariant(37));
    EXPECT_EQ(toolbar.values["Toolbar_SliderSide"], QVariant(37));
    EXPECT_NEAR(plan->GetViewport().pixelsPerMeter(), ZoomLevelToScale(37.9), 1e-9);
    EXPECT_NEAR(side->GetViewport().pixelsPerMeter(), ZoomLevelToScale(37.9), 1e-9);

    for (double outside : {0.5, 100.5, std::nan("")})
    {
        adapter->setPlanViewZoomLevel(outside);
        adapter->setSideViewZoomLevel(outside);
    }
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 37.9);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 37.9);

    // The sliders of the tool bar drive the same slots; focus events and other buttons do nothing.
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_SliderSide", 20);
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 20.0);
    adapter->onPropertyEvent(BoundPropertyEvent::FocusGained, "Toolbar_SliderPlan", 70);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_DuplicateEntity", true);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_ThrowLines", true);
    adapter->onPropertyEvent(BoundPropertyEvent::ValuePassedThrough, "Toolbar_AddEntity", true);
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 20.0);
    EXPECT_EQ(Root()->GetChildCount(), 0u);
    EXPECT_EQ(UndoCount(), 0);
}

TEST_F(ModelAdapterViewsTest, PairingFollowsTheLinkButtonAndTheSettings)
{
    qRegisterMetaType<ProjectSettings::Tab>("zorvpro::ProjectSettings::Tab");
    QSignalSpy paired(Settings(), &ProjectSettings::zoomIsPairedChanged);
    adapter->setPlanViewZoomLevel(30);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_LinkViews", false);
    EXPECT_FALSE(adapter->IsZoomPaired());
    EXPECT_FALSE(Settings()->getZoomPaired(ProjectSettings::VenueTab));
    EXPECT_EQ(paired.count(), 1);
    adapter->setSideViewZoomLevel(80);
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 30.0);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 80.0);

    // Switching pairing on (or off again) gives the side view the plan view's level.
    Settings()->setZoomPaired(ProjectSettings::VenueTab, true);
    EXPECT_TRUE(adapter->IsZoomPaired());
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 30.0);

    // The other tab's pairing is not this tab's.
    Settings()->setZoomPaired(ProjectSettings::SpeakerTab, false);
    EXPECT_TRUE(adapter->IsZoomPaired());

    // While a venue loads, a pairing change only sets the flag.
    Settings()->setZoomPaired(ProjectSettings::VenueTab, false);
    adapter->setSideViewZoomLevel(90);
    adapter->SetLoading(true);
    Settings()->setZoomPaired(ProjectSettings::VenueTab, true);
    EXPECT_TRUE(adapter->IsZoomPaired());
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 90.0);
    adapter->SetLoading(false);
}

TEST_F(ModelAdapterViewsTest, CaptionsNameTheViewAndTheOneSelectedEntity)
{
    const QuadNodePtr wall = AddSurface("Wall");
    const QuadNodePtr floor = AddSurface("Floor", {20, 0, 0});
    adapter->LoadVenue();
    EXPECT_EQ(adapter->GetViewTitle(plan), "PLAN VIEW");
    EXPECT_EQ(adapter->GetViewTitle(side), "SIDE VIEW");

    adapter->SetSelection(true, {EntityOf(wall)}, true, false);
    adapter->UpdateViewTitles(side);
    EXPECT_EQ(adapter->GetViewTitle(side), "SPEAKER SIDE VIEW - Wall");
    adapter->SetSelection(false, {EntityOf(floor)}, true, false);
    adapter->UpdateViewTitles(side);
    EXPECT_EQ(adapter->GetViewTitle(side), "SIDE VIEW");

    // A side camera looking along another axis keeps no X/Z caption.
    side->GetCamera().LookAt({5000, 0, 0}, {0, 0, 0}, {0, 0, 1});
    adapter->SetSelection(true, {}, true, false);
    adapter->UpdateViewTitles(side);
    EXPECT_EQ(adapter->GetViewTitle(side), "SIDE VIEW"); // right is -Y, up Z: captions stay
    side->GetCamera().LookAt({0, 0, 5000}, {0, 0, 0}, {0, 1, 0});
    adapter->UpdateViewTitles(side);
    EXPECT_EQ(adapter->GetViewTitle(side), "PLAN VIEW");
}

TEST_F(ModelAdapterViewsTest, CamerasComeBackFromTheSettingsOrAnchorTheOrigin)
{
    // Nothing stored: each view shows the world origin at 15 % of its width, at mid height in the
    // plan and a fifth up in the side view, also after a resize; no camera is stored meanwhile.
    adapter->LoadVenue();
    for (const QSize size : {QSize(0, 0), QSize(640, 300)})
        for (view::VenueView3D* view : {plan, side})
        {
            view::Viewport& viewport = view->GetViewport();
            if (!size.isEmpty())
                viewport.Resize(size.width(), size.height());
            const QPoint origin = viewport.WorldToScreen({0, 0, 0});
            EXPECT_NEAR(origin.x(), 0.15 * viewport.Width(), 1.0) << size.width();
            EXPECT_NEAR(origin.y(), (view == plan ? 0.5 : 0.8) * viewport.Height(), 1.0) << size.width();
        }
    EXPECT_GT(plan->GetCamera().GetPosition().z, 1000.0); // still looking down
    adapter->StoreViewCamera(plan->GetId());
    EXPECT_EQ(Settings()->getViewCameraTranslation(0), math::Vec3(0, 0, 0));

    // Stored cameras and zoom come back and stand.
    Settings()->setViewCameraTranslation(0, math::Vec3(3, 4, 5000));
    Settings()->setViewCameraTranslation(1, math::Vec3(-2, -5000, 1.5));
    Settings()->setViewZoom(0, 42);
    adapter->LoadVenue();
    EXPECT_EQ(plan->GetCamera().GetPosition(), math::Vec3(3, 4, 5000));
    EXPECT_EQ(side->GetCamera().GetPosition(), math::Vec3(-2, -5000, 1.5));
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 42.0);
    plan->GetViewport().Pan({1, 0, 0});
    adapter->StoreViewCamera(plan->GetId());
    EXPECT_EQ(Settings()->getViewCameraTranslation(0), math::Vec3(4, 4, 5000));
    adapter->StoreViewCamera(987654321); // no such view: nothing
    EXPECT_EQ(Settings()->getViewCameraTranslation(1), math::Vec3(-2, -5000, 1.5));
}

TEST_F(ModelAdapterViewsTest, ZoomToFitWithNothingToFitFallsBackToLevelSixty)
{
    adapter->setPlanViewZoomLevel(90);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Toolbar_ZoomToFit", true);
    EXPECT_DOUBLE_EQ(adapter->GetPlanZoom(), 60.0);
    EXPECT_DOUBLE_EQ(adapter->GetSideZoom(), 60.0);
}

TEST_F(ModelAdapterViewsTest, ThemesColourViewsAndGrids)
{
    struct Case
    {
        int theme;
        const char *background, *line, *text, *margin;
    };
    for (const Case& c : {Case{0, "#000000", "#3d3d3d", "#aaaaaa", "#242424"},
                          Case{1, "#FFFFFF", "#c8c8c8", "#575757", "#f3f3f3"}})
    {
        adapter->themeChanged(c.theme);
        EXPECT_EQ(adapter->IsLightTheme(), c.theme == 1);
        for (view::VenueView3D* view : {plan, side})
        {
            EXPECT_EQ(view->GetBackgroundColor(), QColor(c.background));
            EXPECT_EQ(view->GetGrid()->LineColor(), QColor(c.line));
            EXPECT_EQ(view->GetGrid()->TextColor(), QColor(c.text));
            EXPECT_EQ(view->GetGrid()->BackgroundColor(), QColor(c.margin));
        }
    }
    // A view registered later takes the current colours.
    view::VenueView3D late(page.get());
    adapter->SetSideView(&late);
    EXPECT_EQ(late.GetBackgroundColor(), QColor("#FFFFFF"));
    adapter->SetSideView(side);
}
} // namespace
} // namespace zorvpro::test
