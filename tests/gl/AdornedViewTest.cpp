// A selected surface and a selected steerable array on a real X display: their adorners checked
// by their pixels, and the mouse handler driven by real mouse events through the view.
// Mouse events through the window system's path, with the buttons held during moves; the widget
// path would move the X pointer and wait for an event that may come late.
#define QTEST_QPA_MOUSE_HANDLING
#include "GalleryScene.h"
#include "GallerySelection.h"
#include "GlTestEnv.h"
#include "GlViewSupport.h"

#include "data/Settings/AppSettings.h"
#include "views/Render/HitPoint.h"
#include "views/Render/ScenePick.h"
#include "views/Render/VenueMouseHandler.h"
#include "views/Render/ViewMouseSetup.h"
#include "views/Render/Viewport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <vector>

using namespace zorvpro;
using namespace zorvpro::gltest;
using view::VenueView3D;

namespace
{
struct Views
{
    Views()
    {
        auto* layout = new QHBoxLayout(&widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (VenueView3D** view : {&plan, &side})
        {
            *view = new VenueView3D(&widget);
            (*view)->setFixedSize(800, 500);
            layout->addWidget(*view);
        }
        gallery::AddToView(*plan, scene);
        gallery::AddToView(*side, scene);
        gallery::LookPlan(*plan, 50.0);
        gallery::LookSide(*side, 50.0);
        selection = gallery::AddSelection(scene, *plan, *side);
    }
    bool Show()
    {
        widget.show();
        return Settle(*plan) && Settle(*side);
    }
    QWidget widget;
    VenueView3D* plan = nullptr;
    VenueView3D* side = nullptr;
    gallery::Scene scene = gallery::BuildScene();
    gallery::Selection selection;
};

QPoint Pixel(VenueView3D& view, const math::Vec3& world)
{
    return view.GetViewport().WorldToScreen(world);
}

// The share of pixels along a screen segment within one pixel of the colour.
double ShareAlong(const QImage& image, QPoint a, QPoint b, const QColor& color)
{
    const int steps = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    int matches = 0;
    for (int i = 0; i <= steps; ++i)
    {
        const double t = steps == 0 ? 0.0 : double(i) / steps;
        const int x = int(a.x() + (b.x() - a.x()) * t + 0.5);
        const int y = int(a.y() + (b.y() - a.y()) * t + 0.5);
        matches += bool(ColorNearby(image, x, y, color, 40));
    }
    return double(matches) / (steps + 1);
}
} // namespace

TEST(AdornedViewTest, SelectedSurfaceAndArrayShowTheirHandlesLinesAndBeams)
{
    Views views;
    ASSERT_TRUE(views.selection.array) << "the generated array module did not load";
    ASSERT_TRUE(views.Show());
    const QImage plan = views.plan->grabFramebuffer();
    const QImage side = views.side->grabFramebuffer();
    SaveShot(plan, "adorned-plan", EsRequested());
    SaveShot(side, "adorned-side", EsRequested());
    const QColor orange(255, 140, 0), white(255, 255, 255), magenta(255, 0, 255);

    // Plan: the balcony's corner handles in its colour beyond its fill, and the white dot of P0.
    for (const math::Vec3& corner : {math::Vec3{0.5, -1, 3}, {5, -1, 3}, {5, 3, 3}, {0.5, 3, 3}})
    {
        const QPoint p = Pixel(*views.plan, corner);
        EXPECT_TRUE(ColorNearby(plan, p.x() + 3, p.y(), orange, 12)) << corner.x << "," << corner.y;
    }
    const QPoint p0 = Pixel(*views.plan, {0.5, 1, 3});
    EXPECT_TRUE(ColorNearby(plan, p0.x(), p0.y(), white, 12));
    EXPECT_TRUE(ColorNear(plan, p0.x() + 4, p0.y(), orange, 12)) << "the dot sits on its handle";
    // The array's frame in the beam colour, and its aiming line dashed along +x.
    const auto& frame = views.selection.planArray->Corners();
    const QPoint edge = Pixel(*views.plan, (frame[0] + frame[1]) * 0.5);
    EXPECT_TRUE(ColorNearby(plan, edge.x(), edge.y(), gallery::kBeamColor, 12));
    const double aiming =
        ShareAlong(plan, Pixel(*views.plan, {-4.5, 0, 3.5}),
                   Pixel(*views.plan, {-4.5, 0, 3.5}) + QPoint(120, 0), gallery::kBeamColor);
    EXPECT_GT(aiming, 0.45);
    EXPECT_LT(aiming, 0.9) << "dashed";

    // Side: the ear-height line of the balcony, dashed in magenta 1 m above it.
    const double ears =
        ShareAlong(side, Pixel(*views.side, {1, 0, 4.0}), Pixel(*views.side, {4.5, 0, 4.0}), magenta);
    EXPECT_GT(ears, 0.35);
    EXPECT_LT(ears, 0.75);
    // The selected beam's two handles in the beam colour; none on the other beam.
    auto& adorner = *views.selection.sideArray;
    for (const math::Vec3& handle : {adorner.TopRearHandle(0), adorner.BottomFrontHandle(0)})
    {
        const QPoint p = Pixel(*views.side, handle);
        EXPECT_TRUE(ColorNearby(side, p.x() + 3, p.y(), gallery::kBeamColor, 12)) << p.x() << "," << p.y();
    }
    const QPoint other = Pixel(*views.side, adorner.BottomFrontHandle(1));
    EXPECT_FALSE(ColorNearby(side, other.x() + 3, other.y() + 3, gallery::kBeamColor, 40));
    // The other beam's top/rear line in its own grey, from the array's top: the node's origin,
    // 3.5 m up, from which the modules hang.
    const math::Vec3 top = adorner.TopRearHandle(1);
    const double arrayTop = 3.5;
    const double grey =
        ShareAlong(side, Pixel(*views.side, {-5.0, 0, arrayTop}),
                   Pixel(*views.side, {-5.0 + (top.x + 5.0) * 0.4, 0, arrayTop + (top.z - arrayTop) * 0.4}),
                   gallery::kOtherBeamColor);
    EXPECT_GT(grey, 0.3);
}

TEST(AdornedViewTest, ThemeColoursTheArrayAndTheFrontCentreDot)
{
    Views views;
    ASSERT_TRUE(views.selection.array);
    UiSettings& ui = *AppSettings::Instance().GetUiSettings();
    const UiTypes::UiTheme before = ui.getTheme();
    struct Theme
    {
        const char* name;
        UiTypes::UiTheme theme;
        QColor background, dot, array;
    };
    const Theme themes[] = {
        {"light", UiTypes::UiTheme::Day, QColor(235, 235, 235), QColor("#FFFFFF"), QColor("#242424")},
        {"dark", UiTypes::UiTheme::Night, QColor(20, 20, 20), QColor("#000000"), QColor("#F8F8F8")}};
    for (const Theme& t : themes)
    {
        SCOPED_TRACE(t.name);
        ui.setTheme(t.theme);
        views.plan->SetBackgroundColor(t.background);
        views.side->SetBackgroundColor(t.background);
        view::BeamSpeakerEntity::ApplyTheme(views.selection.array, t.theme == UiTypes::UiTheme::Day);
        views.selection.planSurface->setDirty(true);
        ASSERT_TRUE(views.Show());
        const QImage plan = views.plan->grabFramebuffer();
        const QImage side = views.side->grabFramebuffer();
        SaveShot(plan, std::string("adorned-plan-") + t.name, EsRequested());
        SaveShot(side, std::string("adorned-side-") + t.name, EsRequested());
        const QPoint p0 = Pixel(*views.plan, {0.5, 1, 3});
        EXPECT_TRUE(ColorNearby(plan, p0.x(), p0.y(), t.dot, 12));
        // The array's upper module, a selected solid, in the theme's colour.
        const auto box = views.selection.array->BoundingBox();
        ASSERT_TRUE(box.has_value());
        const QPoint module = Pixel(*views.side, {(box->min.x + box->max.x) / 2, 0, box->max.z - 0.3});
        EXPECT_TRUE(ColorNearby(side, module.x(), module.y(), t.array, 12));
    }
    ui.setTheme(before);
}

TEST(AdornedViewTest, RealMouseEventsBecomeTheActionSequences)
{
    Views views;
    ASSERT_TRUE(views.selection.array);
    ASSERT_TRUE(views.Show());
    VenueView3D& plan = *views.plan;
    view::VenueMouseHandler handler;
    view::AttachMouseHandler(plan, handler, 5);
    QSignalSpy spy(&handler, &view::MouseHandler::MouseAction);

    const QPoint corner = Pixel(plan, {5, 3, 3});
    const QPoint floor = Pixel(plan, {-3.5, -1.8, 0});
    const QPoint empty = Pixel(plan, {7, -4, 0});
    struct Drag
    {
        const char* name;
        QPoint from;
        Qt::KeyboardModifiers modifiers;
        std::vector<uint32_t> actions;
    };
    const Drag drags[] = {{"corner handle", corner, Qt::NoModifier, {2, 3, 4}},
                          {"floor", floor, Qt::NoModifier, {1, 8, 9}},
                          {"empty space", empty, Qt::NoModifier, {10, 11, 12}},
                          {"control pan", empty, Qt::ControlModifier, {5, 6, 7}}};
    for (const Drag& drag : drags)
    {
        SCOPED_TRACE(drag.name);
        spy.clear();
        QTest::mousePress(&plan, Qt::LeftButton, drag.modifiers, drag.from);
        QTest::mouseMove(&plan, drag.from + QPoint(12, 7));
        QTest::mouseRelease(&plan, Qt::LeftButton, drag.modifiers, drag.from + QPoint(12, 7));
        ASSERT_EQ(spy.count(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(spy.at(i).at(0).value<view::MouseAction>().action, drag.actions[size_t(i)]) << i;
        EXPECT_EQ(handler.State(), view::MouseState::Idle);
    }
    // The handle drag carried the adorner and its corner part; the floor drag the floor.
    spy.clear();
    QTest::mousePress(&plan, Qt::LeftButton, Qt::NoModifier, corner);
    ASSERT_EQ(spy.count(), 1);
    const auto press = spy.at(0).at(0).value<view::MouseAction>();
    EXPECT_EQ(press.entity, views.selection.planSurface);
    EXPECT_EQ(press.hit->part, 4u); // p3
    QTest::mouseRelease(&plan, Qt::LeftButton, Qt::NoModifier, corner);

    // Hovering: a corner of the unturned balcony asks for vertical resize, the floor for size-all.
    QTest::mouseMove(&plan, corner + QPoint(2, 1));
    EXPECT_EQ(plan.cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(&plan, floor);
    EXPECT_EQ(plan.cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(&plan, empty);
    EXPECT_EQ(handler.LastCursorRequest(), view::CursorRequest::Default);

    // One wheel notch adds 4 pixels per metre about the pointer: the point under it stays.
    const QPoint pointer = Pixel(plan, {2, 1, 0});
    const math::Vec3 under = plan.GetViewport().ScreenToRay(pointer.x(), pointer.y()).origin;
    QWheelEvent wheel(QPointF(pointer), QPointF(plan.mapToGlobal(pointer)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plan, &wheel);
    EXPECT_DOUBLE_EQ(plan.GetViewport().pixelsPerMeter(), 54.0);
    const math::Vec3 after = plan.GetViewport().ScreenToRay(pointer.x(), pointer.y()).origin;
    EXPECT_NEAR(after.x, under.x, 1e-9);
    EXPECT_NEAR(after.y, under.y, 1e-9);
    EXPECT_EQ(Pixel(plan, {2, 1, 0}), pointer);
}
