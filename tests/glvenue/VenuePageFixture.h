#pragma once
// A venue tab in a real window over given surfaces, its plan view fitted to them, driven by mouse
// events sent to the plan view as the window system would.

#include "../gl/GlViewSupport.h"
#include "GlTestEnv.h"

#include "core/Commands/UndoStack.h"
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/Venue/VenueTab.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace zorvpro::gltest
{
class VenuePageFixture : public ::testing::Test
{
protected:
    // Starts from an empty project with the surfaces in its venue; a failure here is fatal to
    // the test.
    void OpenPage(const std::vector<QuadNodePtr>& surfaces)
    {
        ProjectDefinition::Instance()->Clear(false);
        UndoStack::Instance().clear();
        for (const QuadNodePtr& surface : surfaces)
            ProjectDefinition::Instance()->GetVenue()->GetRoot()->AddChild(surface);
        page = std::make_unique<VenueTab>();
        page->resize(1500, 900);
        page->show();
        page->activateWindow();
        ASSERT_TRUE(LoopWaitForExposed(page.get(), kDeadlineMs));
        page->adapter()->LoadVenue();
        plan = page->findChild<view::VenueView3D*>("openGLPlan");
        ASSERT_NE(plan, nullptr);
        ASSERT_TRUE(Settle(*plan));
        page->adapter()->ZoomToFit();
        ASSERT_TRUE(Settle(*plan));
    }

    void TearDown() override
    {
        page.reset();
        UndoStack::Instance().clear();
        ProjectDefinition::Instance()->Clear(false);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, plan->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(plan, &event);
    }

    QPoint Pixel(const math::Vec3& world) { return plan->GetViewport().WorldToScreen(world); }

    std::unique_ptr<VenueTab> page;
    view::VenueView3D* plan = nullptr;
};
} // namespace zorvpro::gltest
