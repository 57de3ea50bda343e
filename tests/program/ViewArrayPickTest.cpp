// An array zoomed out to a few pixels in the plan view, its throw lines off: it is drawn at its
// real size and a click just beside it still selects it, as its throw lines' box would.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "../gl/GlViewSupport.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
TEST(SpeakerPage, AnArrayAFewPixelsAcrossIsClickedFromJustBesideIt)
{
    ShowAt(1920, 1080);
    StartProject();
    QTest::mouseClick(Shown("buttonSpeakerTab"), Qt::LeftButton);
    QTest::mouseClick(Shown<QWidget>("Toolbar_AddEntity"), Qt::LeftButton);
    std::shared_ptr<BeamSpeakerClusterNode> array;
    for (const NodePtr& node : ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren())
        if (auto a = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node))
            array = a;
    ASSERT_NE(array, nullptr);
    auto* throwLines = qobject_cast<QAbstractButton*>(Shown<QWidget>("Toolbar_ThrowLines"));
    ASSERT_NE(throwLines, nullptr);
    if (throwLines->isChecked())
        QTest::mouseClick(throwLines, Qt::LeftButton);
    ASSERT_FALSE(throwLines->isChecked());

    auto* plan = Shown<view::VenueView3D>("openGLPlanSpkr");
    auto* list = Shown<QTableWidget>("SpeakerAnalysisTabEntitySelectionControl");
    ASSERT_TRUE(plan != nullptr && list != nullptr);
    ASSERT_TRUE(gltest::Settle(*plan));
    const double ppm = plan->GetViewport().pixelsPerMeter();

    // The module outline's footprint, drawn at its real size.
    auto module = std::dynamic_pointer_cast<LoudspeakerNode>(array->GetChild(0));
    ASSERT_NE(module, nullptr);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const auto& face : module->GetDxfFaces())
        for (const math::Vec3& p : face.points)
        {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    const double across = (maxY - minY) * ppm;
    ASSERT_LT(across, 6.0) << "zoomed out: the body is a few pixels across";
    const math::Vec3 centre = math::TransformPoint(array->GetTransform(), {(minX + maxX) / 2, 0, 0});
    const QPoint body = plan->GetViewport().WorldToScreen(centre);
    const QImage image = plan->grabFramebuffer();
    const QColor unselected(0x77, 0x77, 0x77), selected(0x24, 0x24, 0x24);
    EXPECT_TRUE(gltest::ColorNearby(image, body.x(), body.y(), selected, 30));

    // Away from everything, a click clears the selection; just beside the body it selects it,
    // on either side.
    for (const int side : {1, -1})
    {
        SCOPED_TRACE(side);
        QTest::mouseClick(plan, Qt::LeftButton, {}, body + QPoint(0, 200));
        ASSERT_TRUE(QTest::qWaitFor([&] { return list->selectedItems().isEmpty(); }, kDeadline));
        ASSERT_TRUE(gltest::Settle(*plan));
        EXPECT_TRUE(gltest::ColorNearby(plan->grabFramebuffer(), body.x(), body.y(), unselected, 30));
        const QPoint beside = body + QPoint(0, side * int(std::lround(across / 2 + 2)));
        QTest::mouseClick(plan, Qt::LeftButton, {}, beside);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !list->selectedItems().isEmpty(); }, kDeadline))
            << "click " << (beside - body).y() << " px from the middle of a body " << across << " px across";
    }
}
} // namespace zorvpro::programtest
