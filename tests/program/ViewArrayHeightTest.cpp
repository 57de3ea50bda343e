// An array as the speaker page draws it: its body spans the heights the panel shows, top to
// bottom, and the engine hangs its modules there too.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "../gl/GlViewSupport.h"
#include "acoustics/cluster/LoudspeakerCluster.h"
#include "core/math/Matrix4.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
void Click(const char* name)
{
    QWidget* widget = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (widget = Shown<QWidget>(name)) != nullptr; }, kDeadline))
        << name;
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Types over the field's number and leaves it with Tab.
void TypeAndLeave(const char* name, const QString& text)
{
    auto* edit = Shown<QLineEdit>(name);
    ASSERT_NE(edit, nullptr) << name;
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->isEnabled(); }, kDeadline)) << name;
    ActivateWindow();
    QTest::mouseClick(edit, Qt::LeftButton);
    // Gaining the focus selects the whole number once the event loop runs.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return edit->hasFocus() && !edit->text().isEmpty() && edit->selectedText() == edit->text(); },
        kDeadline))
        << name;
    QTest::keyClicks(edit, text);
    // Leaving the field commits it.
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_FALSE(edit->hasFocus()) << name;
}

// Picks the option once the box takes input.
void ChooseWhenEnabled(const char* name, const QString& option)
{
    auto* box = Shown<QComboBox>(name);
    ASSERT_NE(box, nullptr) << name;
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->isEnabled(); }, kDeadline)) << name;
    const int index = box->findText(option);
    ASSERT_GE(index, 0) << name;
    if (box->currentIndex() == index)
        return;
    // Open the list with the mouse and step to the option with the keys.
    ActivateWindow();
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, kDeadline)) << name;
    for (int i = box->currentIndex(); i != index; i += index > i ? 1 : -1)
        QTest::keyClick(list, index > i ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list->isVisible(); }, kDeadline)) << name;
    ASSERT_EQ(box->currentText(), option) << name;
}

// A new project on the speaker page with one array, added by its tool bar button.
std::shared_ptr<BeamSpeakerClusterNode> NewArray()
{
    StartProject();
    // The start page hands out its focus as it goes (queued); let that pass before typing.
    QCoreApplication::processEvents();
    Click("buttonSpeakerTab");
    Click("Toolbar_AddEntity");
    for (const NodePtr& node : ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren())
        if (auto array = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node))
            return array;
    return {};
}

double Z(const math::Mat4& transform, double localZ)
{
    return math::TransformPoint(transform, {0, 0, localZ}).z;
}

// Screen position of a world point, to a fraction of a pixel.
QPointF ScreenOf(view::VenueView3D& view, const math::Vec3& point)
{
    const math::Vec3 q = math::TransformPoint(math::Inverse(view.GetViewport().ScreenToWorldMatrix()), point);
    return {q.x, q.y};
}
} // namespace

TEST(SpeakerPage, ArrayIsDrawnFromThePanelsTopToItsBottom)
{
    ShowAt(1920, 1080);
    // Fields commit when they lose the keyboard focus, which only an active window hands out.
    ActivateWindow();
    struct Case
    {
        int modules;
        const char* pitch;
    };
    for (const Case c : {Case{1, "0"}, Case{3, "0"}, Case{1, "10"}, Case{3, "10"}})
    {
        SCOPED_TRACE(testing::Message() << c.modules << " modules, pitch " << c.pitch);
        const auto array = NewArray();
        ASSERT_NE(array, nullptr);
        ChooseWhenEnabled("Beam_Modules", QString::number(c.modules));
        ASSERT_EQ(array->GetChildCount(), uint64_t(c.modules));
        TypeAndLeave("Beam_TopPositionEdit", QStringLiteral("5"));
        TypeAndLeave("Beam_PitchPositionEdit", QLatin1String(c.pitch));

        // The panel's heights are those of the node: its origin and the point an array's
        // length below it.
        const math::Mat4 transform = array->GetTransform();
        const double length = c.modules * 0.985;
        const double top = Z(transform, 0.0);
        const double bottom = Z(transform, -length);
        EXPECT_NEAR(top, 5.0, 1e-9);
        EXPECT_EQ(Shown<QLineEdit>("Beam_TopPositionEdit")->text(), QStringLiteral("5.0"));
        EXPECT_EQ(Shown<QLineEdit>("Beam_PitchPositionEdit")->text(), QStringLiteral("%1.0").arg(c.pitch));
        EXPECT_EQ(Shown<QLineEdit>("Beam_BottomPositionEdit")->text(), QString::number(bottom, 'f', 1));

        // The engine hangs the modules from there (checked upright, where its box is the world's).
        if (std::strcmp(c.pitch, "0") == 0)
        {
            const auto& cluster = array->GetCluster();
            const math::BBox box = cluster->getBoundingBox();
            EXPECT_NEAR(cluster->getPosition().z + box.max.z, top, 0.01);
            EXPECT_NEAR(cluster->getPosition().z + box.min.z, bottom, 0.01);
        }

        // Walk down the body's middle in the side view: the body's colour begins at the top's
        // height and ends at the bottom's, within a pixel.
        auto* side = Shown<view::VenueView3D>("openGLSideSpkr");
        ASSERT_NE(side, nullptr);
        side->update();
        ASSERT_TRUE(gltest::Settle(*side));
        const QImage image = side->grabFramebuffer();
        gltest::SaveShot(image, "array-height-" + std::to_string(c.modules) + "-pitch" + std::string(c.pitch),
                         false);
        double middle = 0.0;
        {
            auto module = std::dynamic_pointer_cast<LoudspeakerNode>(array->GetChild(0));
            ASSERT_NE(module, nullptr);
            double lo = 1e9, hi = -1e9;
            for (const auto& face : module->GetDxfFaces())
                for (const math::Vec3& p : face.points)
                {
                    lo = std::min(lo, p.x);
                    hi = std::max(hi, p.x);
                }
            middle = (lo + hi) / 2;
        }
        const QPointF from = ScreenOf(*side, math::TransformPoint(transform, {middle, 0, 1.0}));
        const QPointF to = ScreenOf(*side, math::TransformPoint(transform, {middle, 0, -length - 1.0}));
        const int steps = int(std::hypot(to.x() - from.x(), to.y() - from.y()) * 4);
        ASSERT_GT(steps, 40);
        const QColor body(0x24, 0x24, 0x24);
        double first = NAN, last = NAN;
        for (int i = 0; i <= steps; ++i)
        {
            const QPointF p = from + (to - from) * (double(i) / steps);
            const QPoint pixel(int(std::floor(p.x())), int(std::floor(p.y())));
            if (!image.rect().contains(pixel) || !gltest::ColorNear(image, pixel.x(), pixel.y(), body, 14))
                continue;
            if (std::isnan(first))
                first = pixel.y();
            last = pixel.y() + 1;
        }
        ASSERT_FALSE(std::isnan(first)) << "no array drawn in the side view";
        const double topRow = ScreenOf(*side, {0, 0, top}).y();
        const double bottomRow = ScreenOf(*side, {0, 0, bottom}).y();
        EXPECT_NEAR(first, topRow, 1.0) << "pixels per metre " << side->GetViewport().pixelsPerMeter();
        EXPECT_NEAR(last, bottomRow, 1.0) << "pixels per metre " << side->GetViewport().pixelsPerMeter();
    }
}
} // namespace zorvpro::programtest
