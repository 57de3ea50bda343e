// The coordinates beside a dragged surface corner, read as pixels: from the X server (what the
// user sees) and from a grab of the view (what screenshots and widget snapshots see).

#include "VenuePageFixture.h"

#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/TooltipQP.h"

#include <QScreen>

namespace zorvpro::gltest
{
namespace
{
// The box of three lines is about 50 x 30 pixels at the view's font, most of them filled with its
// background colour: well over this many.
constexpr int kTooltipFill = 500;
// Pixels of moved drawings (the dragged edge) that may come close to the fill colour.
constexpr int kStray = 40;

// How many pixels of the rectangle are near the colour in `now` but were not in `then`: the grid's
// antialiased lines, the same in both, do not count.
int CountNewlyNear(const QImage& now, const QImage& then, const QRect& rect, const QColor& color)
{
    int count = 0;
    const QRect inside = rect.intersected(now.rect()).intersected(then.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (ColorNear(now, x, y, color) && !ColorNear(then, x, y, color))
                ++count;
    return count;
}

class CornerTooltipTest : public VenuePageFixture
{
protected:
    void SetUp() override
    {
        quad =
            QuadNode::Create("S", {0, 2, 0}, {3, 2, 0}, {3, -2, 0}, {0, -2, 0}, QColor("#3070c0"), 1.2, 0.0);
        OpenPage({quad});
        if (HasFatalFailure())
            return;
        // Zoomed out from the fit, so that the box beside the corner has room in the view.
        page->adapter()->setPlanViewZoomLevel(page->adapter()->GetPlanZoom() - 8.0, true);
        ASSERT_TRUE(Settle(*plan));
    }

    // The plan view as the X server shows it.
    QImage Screen() const
    {
        const QPoint origin = plan->mapToGlobal(QPoint(0, 0));
        return plan->screen()->grabWindow(0, origin.x(), origin.y(), plan->width(), plan->height()).toImage();
    }

    QuadNodePtr quad;
};

TEST_F(CornerTooltipTest, CornerDragShowsTheCoordinatesBesideTheCursorOnScreenAndInGrabsUntilRelease)
{
    const QPoint body = Pixel({1.5, 0.0, 0});
    Mouse(QEvent::MouseMove, body, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, body, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, body, Qt::NoButton);
    ASSERT_EQ(page->adapter()->GetSelectedCount(), 1);
    ASSERT_TRUE(Settle(*plan));
    std::shared_ptr<view::QuadAdornerEntity> adorner;
    for (const view::EntityPtr& entity : plan->GetEntities())
        if (auto typed = std::dynamic_pointer_cast<view::QuadAdornerEntity>(entity))
            adorner = typed;
    ASSERT_TRUE(adorner);

    // Drag the back corner P2 (world (3, 2)) 40 pixels up; the box sits below right of the handle.
    const QPoint corner = Pixel({3.0, 2.0, 0});
    const QPoint cursor = corner + QPoint(0, -40);
    ASSERT_TRUE(QRect(0, 0, plan->width() - 160, plan->height() - 120).contains(cursor))
        << cursor.x() << ", " << cursor.y();
    const QRect beside(cursor + QPoint(5, 5), QSize(150, 90));
    const QImage before = Screen();
    const QImage grabbedBefore = plan->grab().toImage();

    Mouse(QEvent::MouseMove, corner, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, corner, Qt::LeftButton);
    Mouse(QEvent::MouseMove, corner + QPoint(0, -20), Qt::LeftButton);
    Mouse(QEvent::MouseMove, cursor, Qt::LeftButton);
    ASSERT_EQ(adorner->ActiveHandle(), 2u);
    // The press styles the box in the theme's colours.
    const QColor fill = adorner->Tooltip()->BackgroundColor();
    auto fillOf = [&](const QImage& image, const QImage& then)
    { return CountNewlyNear(image, then, beside, fill); };

    QImage screen;
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            screen = Screen();
            return fillOf(screen, before) > kTooltipFill;
        }))
        << fillOf(screen, before) << " pixels of the fill colour beside the cursor on screen";
    SaveShot(screen, "venue-corner-tooltip-screen", EsRequested());
    EXPECT_EQ(adorner->Tooltip()->GetText(), view::FormatCoordinateTooltip(quad->GetP2(), true));
    // A grab renders the frame again; the painter passes must land in it, not under it.
    const QImage grabbed = plan->grab().toImage();
    SaveShot(grabbed, "venue-corner-tooltip-grab", EsRequested());
    // The grab shows the same box as the screen.
    EXPECT_NEAR(fillOf(grabbed, grabbedBefore), fillOf(screen, before), kStray)
        << "pixels of the fill colour beside the cursor";

    Mouse(QEvent::MouseButtonRelease, cursor, Qt::NoButton);
    EXPECT_EQ(adorner->ActiveHandle(), view::QuadAdornerEntity::kNoHandle);
    EXPECT_TRUE(WaitUntil([&] { return fillOf(Screen(), before) < kStray; }))
        << "the box stays after release";
    EXPECT_LT(fillOf(plan->grab().toImage(), grabbedBefore), kStray);
    EXPECT_GT(quad->GetP2().y, 2.0);
}
} // namespace
} // namespace zorvpro::gltest
