// Edits typed into the panels of the running program, then undone and redone from the
// automation interface: the coverage map follows the listener plane, and one beam's gain changes
// that beam only.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "core/Commands/UndoStack.h"
#include "core/Nodes/QuadNode.h"
#include "core/math/Matrix4.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Dashboard/Dashboard.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Shell/MainWindow.h"
#include "views/Tabs/Speaker/SpeakerAnalysisTab.h"
#include "views/Tabs/Venue/VenueTab.h"

#include "tests/core/support/LogCapture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
bool Automation(const char* method)
{
    bool result = false;
    QObject* processor = Window()->findChild<QObject*>(QStringLiteral("SquishCommandProcessor"));
    QMetaObject::invokeMethod(processor, method, Qt::DirectConnection, Q_RETURN_ARG(bool, result));
    return result;
}

// Types the value into the panel's field once it takes input and presses Return.
void TypeWhenReady(const char* field, const QString& text)
{
    QLineEdit* edit = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            edit = qobject_cast<QLineEdit*>(Shown(field));
            return edit != nullptr && edit->isEnabled();
        },
        kDeadline))
        << field;
    ActivateWindow();
    ASSERT_TRUE(windowtest::ClickUntilFocused(edit, edit)) << field << " does not keep the focus";
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return); // commits when the field lets its focus go
}

// How far the surface's coverage-map points lie from the surface's listener plane as the node
// holds it now, once the map was cut again; a large number when there are no points.
double DistanceFromListenerPlane(const QuadNode& surface)
{
    SplAdapter* spl = Window()->splAdapter();
    double worst = 1e9;
    for (const SplAdapter::PairingPtr& p : spl->GetPairings())
    {
        if (!p || p->node.get() != &surface || !p->chunk)
            continue;
        const auto points = p->chunk->GetPoints().GetPoints();
        if (points.empty())
            return 1e9;
        const double plane =
            math::TransformPoint(surface.GetTransform(),
                                 surface.GetP1() + math::Vec3{0, 0, surface.GetListenerHeight()})
                .z;
        worst = 0;
        for (const auto& point : points)
            worst = std::max(worst, std::fabs(point.z - plane));
    }
    return worst;
}
} // namespace

TEST(PanelEdits, TheCoverageMapFollowsTheListenerPlaneThroughEditUndoAndRedo)
{
    StartProject();
    MainWindow* window = Window();
    const auto children = ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren();
    ASSERT_EQ(children.size(), 1u);
    const auto surface = std::dynamic_pointer_cast<QuadNode>(children.front());
    ASSERT_TRUE(surface);
    ActivateWindow(); // the window's shortcuts take keys only while it is active
    QTest::keyClick(window->venueTab(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(window->venueTab()->adapter()->GetSelectedCount(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return DistanceFromListenerPlane(*surface) < 1e-6; }, 20000))
        << "the new surface's map lies on its listener plane";

    const double first = surface->GetListenerHeight();
    TypeWhenReady("Quad_ListenerHeightEdit", QStringLiteral("2.5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return surface->GetListenerHeight() != first; }, kDeadline))
        << "the typed height never reached the surface";
    const double edited = surface->GetListenerHeight();
    ASSERT_GT(std::fabs(edited - first), 0.1) << "the typed height reached the surface";
    const int steps = UndoStack::Instance().count();

    // The switch hides and shows the ear-height line; the map stays on the plane either way.
    auto* line = qobject_cast<QAbstractButton*>(Shown("Quad_ListenerHeightEnabled"));
    ASSERT_NE(line, nullptr);
    QTest::mouseClick(line, Qt::LeftButton);
    ASSERT_FALSE(surface->GetListenerHeightEnabled());
    ASSERT_EQ(UndoStack::Instance().count(), steps + 1);

    const struct
    {
        const char* operation;
        double height;
        bool lineShown;
    } steps_[] = {{"undo", edited, true},  {"undo", first, true},  {"redo", edited, true},
                  {"redo", edited, false}, {"undo", edited, true}, {"undo", first, true}};
    for (const auto& s : steps_)
    {
        SCOPED_TRACE(s.operation);
        ASSERT_TRUE(Automation(s.operation));
        EXPECT_DOUBLE_EQ(surface->GetListenerHeight(), s.height);
        EXPECT_EQ(surface->GetListenerHeightEnabled(), s.lineShown);
        EXPECT_TRUE(QTest::qWaitFor([&] { return DistanceFromListenerPlane(*surface) < 1e-6; }, 20000))
            << "map points " << DistanceFromListenerPlane(*surface) << " m off the listener plane at "
            << s.height << " m";
    }
}

TEST(PanelEdits, OneBeamsGainChangesTheNodeItsEntityAndPanelOnlyAsOneStep)
{
    StartProject();
    MainWindow* window = Window();
    QTest::mouseClick(qobject_cast<QAbstractButton*>(Shown("buttonSpeakerTab")), Qt::LeftButton);
    ASSERT_EQ(window->currentPage(), 2);
    QTest::mouseClick(qobject_cast<QAbstractButton*>(Shown("Toolbar_AddEntity")), Qt::LeftButton);
    std::shared_ptr<BeamSpeakerClusterNode> array;
    for (const NodePtr& node : ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren())
        if (auto found = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node))
            array = found;
    ASSERT_TRUE(array);
    SpeakerTabAdapter* speaker = window->speakerPage()->adapter();
    VenueTabAdapter* venue = window->venueTab()->adapter();
    const auto shown =
        std::dynamic_pointer_cast<view::BeamSpeakerEntity>(speaker->GetLinks().GetEntityForNode(array));
    const view::EntityPtr inVenue = venue->GetLinks().GetEntityForNode(array);
    ASSERT_TRUE(shown && inVenue);

    const double before = array->GetBeamGain(0);
    TypeWhenReady("Beam_MainGain1Edit", QStringLiteral("-6"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return array->GetBeamGain(0) != before; }, kDeadline))
        << "the typed gain never reached the array";
    const int steps = UndoStack::Instance().count();
    ASSERT_GE(steps, 1);
    EXPECT_EQ(UndoStack::Instance().text(steps - 1),
              QString("Modify %1 gain").arg(QString::fromStdString(array->GetName())));
    const double edited = array->GetBeamGain(0);
    ASSERT_NE(edited, before);

    auto* field = qobject_cast<QLineEdit*>(Shown("Beam_MainGain1Edit"));
    ASSERT_NE(field, nullptr);
    const struct
    {
        const char* operation;
        double gain;
    } cases[] = {{"undo", before}, {"redo", edited}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.operation);
        ASSERT_TRUE(Automation(c.operation));
        EXPECT_DOUBLE_EQ(array->GetBeamGain(0), c.gain);
        EXPECT_DOUBLE_EQ(shown->beam(0).gain(), c.gain) << "the entity copies the node";
        EXPECT_NEAR(field->text().toDouble(), c.gain, 0.05)
            << "the panel shows it: " << field->text().toStdString();
        EXPECT_EQ(venue->GetLinks().GetEntityForNode(array), inVenue)
            << "one beam's gain does not rebuild the arrays of the venue tab";
    }
    EXPECT_EQ(UndoStack::Instance().count(), steps);

    // Without its array in the tab (its adding undone), an edit names the missing entity.
    while (speaker->GetLinks().GetEntityForNode(array))
        ASSERT_TRUE(Automation("undo"));
    test::LogCapture log;
    speaker->ApplyBeamDoubleValue(array, 45, -3.0, true);
    const auto texts = log.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Mismatched entity in model adapter set value"),
              texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "Unknown field id in process generic value"),
              texts.end());
}
} // namespace zorvpro::programtest
