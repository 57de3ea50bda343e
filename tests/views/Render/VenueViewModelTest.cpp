// The view widget and the grid without drawing: render-list order, mouse records, cursors, and
// the grid's layout at odd sizes.
#include "views/Render/Camera.h"
#include "views/Render/CursorOverride.h"
#include "views/Render/GridEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/SelectionBoxEntity.h"
#include "views/Render/TextQP.h"
#include "views/Render/VenueView3D.h"
#include "views/Render/Viewport.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::view;

namespace
{
std::shared_ptr<QuadEntity> Quad(const char* name)
{
    return std::make_shared<QuadEntity>(name, math::Vec3{0, 0, 0}, math::Vec3{1, 0, 0}, math::Vec3{1, 1, 0},
                                        math::Vec3{0, 1, 0}, QColor(Qt::red));
}
} // namespace

TEST(VenueViewModelTest, RenderListKeepsSelectionBoxAndGridFirstAndInsertsByIdentity)
{
    VenueView3D view;
    auto list = view.GetEntities();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.front(), view.GetSelectionBox());
    EXPECT_EQ(list.back(), view.GetGrid());
    EXPECT_EQ(view.GetBackgroundColor(), QColor(20, 20, 20));

    auto a = Quad("a"), b = Quad("b"), c = Quad("c");
    view.AddEntity(nullptr);
    view.AddEntity(a);
    view.AddEntity(b);
    view.InsertEntityBefore(c, b);
    view.InsertEntityBefore(Quad("d"), Quad("not in the list"));
    list = view.GetEntities();
    EXPECT_EQ(std::vector<EntityPtr>(list.begin(), list.end()),
              (std::vector<EntityPtr>{view.GetSelectionBox(), view.GetGrid(), a, c, b}));
    view.AddEntity(a);
    view.RemoveEntity(a);
    EXPECT_FALSE(view.HasEntity(a));
    EXPECT_TRUE(view.HasEntity(c));
    EXPECT_EQ(view.GetEntities().size(), 4u);
}

TEST(VenueViewModelTest, MouseAndWheelEventsLeaveAsOneRecordEach)
{
    VenueView3D view;
    view.resize(200, 100);
    QSignalSpy spy(&view, &VenueView3D::mouseEvent);
    QTest::mousePress(&view, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(10, 20));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::AltModifier | Qt::MetaModifier, QPoint(11, 21));
    QWheelEvent wheel(QPointF(30, 40), QPointF(130, 140), QPoint(0, 0), QPoint(0, 120), Qt::RightButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    ASSERT_EQ(spy.count(), 3);

    const auto press = spy.at(0).at(0).value<MouseEvent>();
    EXPECT_EQ(press.type, 2u);
    EXPECT_EQ(press.modifiers, 5u);
    EXPECT_EQ(press.localPos, QPointF(10, 20));
    EXPECT_EQ(press.button, uint32_t(Qt::LeftButton));
    const auto release = spy.at(1).at(0).value<MouseEvent>();
    EXPECT_EQ(release.type, 3u);
    EXPECT_EQ(release.modifiers, 8u) << "meta is dropped";
    const auto turn = spy.at(2).at(0).value<MouseEvent>();
    EXPECT_EQ(turn.type, 31u);
    EXPECT_EQ(turn.wheelDelta, 120);
    EXPECT_EQ(turn.wheelOrientation, int(Qt::Vertical));
    EXPECT_EQ(turn.button, 0u);
    EXPECT_EQ(turn.windowPos, QPointF(0, 0));
    EXPECT_EQ(turn.localPos, QPointF(30, 40));
    EXPECT_EQ(turn.buttons, uint32_t(Qt::RightButton));
}

TEST(VenueViewModelTest, CursorOverrideReplacesItsOwnCursorAndPopsOnlyWhatItPushed)
{
    QWidget widget;
    CursorOverride onWidget;
    onWidget.SetWidget(&widget);
    onWidget.ApplyShape(Qt::CrossCursor);
    onWidget.ApplyShape(Qt::SizeAllCursor);
    EXPECT_EQ(widget.cursor().shape(), Qt::SizeAllCursor);
    onWidget.Restore();
    EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);

    CursorOverride global;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); // someone else's
    global.ApplyShape(Qt::CrossCursor);
    global.ApplyShape(Qt::PointingHandCursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    global.Restore();
    global.Restore();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
}

TEST(GridLayoutTest, LayoutFollowsTheViewportAndKeepsAFrameInTinyWindows)
{
    struct Case
    {
        int width, height;
        bool laidOut;
    };
    const Case cases[] = {{640, 480, true}, {30, 20, true}, {0, 480, false}};
    for (const Case& c : cases)
    {
        Viewport viewport;
        viewport.Resize(c.width, c.height);
        viewport.setPixelsPerMeter(50.0);
        viewport.GetCamera().LookAt({0, 0, 5000}, {0, 0, 0}, {0, 1, 0});
        viewport.UpdateProjection();
        GridEntity grid("Background grid", "\"Gotham\"", 9.0, 6.0);
        grid.SetLabels("X", "Y", "PLAN VIEW");
        grid.SetColors(QColor(140, 140, 140), QColor(140, 140, 140), QColor(20, 20, 20));
        grid.UpdateLayout(viewport);
        grid.setDirty(false);
        EXPECT_EQ(!grid.isDirty(), c.laidOut) << c.width;
        if (!c.laidOut)
            continue;
        const QRect frame = grid.ScreenRect();
        EXPECT_GE(frame.width(), 1) << c.width;
        EXPECT_GE(frame.height(), 1) << c.width;
        // A step is never narrower than the widest number label.
        const int widest = qpainter::MeasureText("\"Gotham\"", 9.0, "-10000.0", false).width();
        EXPECT_GE(grid.XStep() * 50.0, widest) << c.width;
        EXPECT_LT(grid.XStep() * 50.0 / 2.5, widest) << c.width;
        ASSERT_TRUE(grid.Labels());
        EXPECT_TRUE(grid.Labels()->IsOver());
        EXPECT_EQ(grid.Labels()->GetItems().at(2).text, "PLAN VIEW");
    }
}
