// The frame a view paints straight after it was resized already shows the new size: the same
// picture as once the view has settled, grid and surface alike.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "../gl/GlViewSupport.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSplitter>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
void Send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Pixels that differ by more than a little in any channel.
int Differing(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
        {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8)
                ++count;
        }
    return count;
}
} // namespace

TEST(Views, TheFrameAfterAResizeShowsTheNewSize)
{
    ShowAt(1920, 1080);
    StartProject();
    auto* plan = Shown<view::VenueView3D>("openGLPlan");
    auto* splitter = Shown<QSplitter>("splitterViewsVenue");
    ASSERT_TRUE(plan != nullptr && splitter != nullptr);
    ASSERT_TRUE(gltest::Settle(*plan));

    for (const int drag : {-90, 140})
    {
        SCOPED_TRACE(drag);
        const int before = plan->height();
        // Drag the handle between the plan and the side view: the views change size at once,
        // with no event loop pass (and no refresh tick) before the next frame.
        QWidget* handle = splitter->handle(1);
        const QPoint grip = handle->rect().center();
        Send(handle, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
        Send(handle, QEvent::MouseMove, grip + QPoint(0, drag), Qt::NoButton, Qt::LeftButton);
        Send(handle, QEvent::MouseButtonRelease, grip + QPoint(0, drag), Qt::LeftButton, Qt::NoButton);
        ASSERT_NE(plan->height(), before);
        const QImage first = plan->grabFramebuffer();
        ASSERT_TRUE(gltest::Settle(*plan));
        const QImage settled = plan->grabFramebuffer();
        gltest::SaveShot(first, "resize-first-frame-" + std::to_string(drag),
                         std::getenv("ZORV_GL_ES") != nullptr);
        gltest::SaveShot(settled, "resize-settled-frame-" + std::to_string(drag),
                         std::getenv("ZORV_GL_ES") != nullptr);
        EXPECT_EQ(first.size(), settled.size());
        EXPECT_LT(Differing(first, settled), first.width() * first.height() / 1000);
    }
}
} // namespace zorvpro::programtest
