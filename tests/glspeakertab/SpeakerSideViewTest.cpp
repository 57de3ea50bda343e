// The speaker tab's side view in a real window: it follows the one selected array, seen from
// the side its yaw faces, and shows every array again when none is selected (checked by pixels).

#include "../gl/GlViewSupport.h"
#include "../views/Editing/support/SpeakerAdapterFixture.h"
#include "GlTestEnv.h"

#include <QHBoxLayout>
#include <QTest>
#include <cmath>

namespace zorvpro::gltest
{
namespace
{
class SpeakerSideViewTest : public test::SpeakerAdapterFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::LoadArrayModel());
        SpeakerAdapterFixture::SetUp();
        auto* layout = new QHBoxLayout(page.get());
        layout->addWidget(plan);
        layout->addWidget(side);
        page->resize(1400, 600);
        page->show();
        ASSERT_TRUE(LoopWaitForExposed(page.get(), kDeadlineMs));
        adapter->LoadVenue();
    }

    // Columns of the side view's frame that hold the array's outline colour: left and right half.
    std::pair<int, int> OutlineByHalf(const view::BeamSpeakerEntityPtr& entity, const std::string& shot)
    {
        side->update();
        EXPECT_TRUE(Settle(*side));
        const QImage image = side->grabFramebuffer();
        SaveShot(image, shot, EsRequested());
        const QColor outline = entity->isSelected() ? entity->selectedColor() : entity->unselectedColor();
        int left = 0;
        int right = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (ColorNear(image, x, y, outline, 2))
                    (x < image.width() / 2 ? left : right) += 1;
        return {left, right};
    }
};

TEST_F(SpeakerSideViewTest, TheViewFollowsTheSelectedArrayFromTheSideItFaces)
{
    const auto a = AddArray();
    const auto b = AddArray();
    ASSERT_TRUE(a && b);
    Edit(b, "Beam_PosX", 0.0);
    adapter->MoveSpeaker(b, {30, 0, 0}, false, true, ModelAdapter::kBatchOnly);
    const auto entity = EntityOf(a);

    // Facing the other way, the array is turned half a circle and panned the other way: it sits
    // in the other half of the view.
    Select({});
    Select({a});
    ASSERT_EQ(EntitiesIn<view::BeamSpeakerEntity>(side).size(), 1u);
    const auto facing = OutlineByHalf(entity, "speaker-side-yaw0");
    Select({});
    Edit(a, "Beam_YawPosition", M_PI);
    Select({a});
    const auto away = OutlineByHalf(entity, "speaker-side-yaw180");
    EXPECT_GT(facing.first, 20);
    EXPECT_GT(facing.first, 4 * facing.second) << facing.first << " / " << facing.second;
    EXPECT_GT(away.second, 20);
    EXPECT_GT(away.second, 4 * away.first) << away.first << " / " << away.second;

    // The dark theme keeps the array where it was, in its own colours.
    adapter->themeChanged(0);
    const auto dark = OutlineByHalf(entity, "speaker-side-yaw180-dark");
    EXPECT_GT(dark.second, 20);
    EXPECT_GT(dark.second, 4 * dark.first);
    adapter->themeChanged(1);

    // None selected after a turned array: the camera goes back and both arrays are drawn again.
    Select({});
    Edit(a, "Beam_YawPosition", M_PI / 3);
    Select({a});
    EXPECT_GT(side->GetCamera().GetPosition().x, 1000.0);
    Select({});
    EXPECT_EQ(EntitiesIn<view::BeamSpeakerEntity>(side).size(), 2u);
    // Looking along +Y again, with the world origin at 15 % of the width and a fifth of the height.
    EXPECT_LT(side->GetCamera().GetPosition().y, -1000.0);
    const QPoint origin = side->GetViewport().WorldToScreen({0, 0, 0});
    EXPECT_NEAR(origin.x(), 0.15 * side->width(), 2.0);
    EXPECT_NEAR(origin.y(), 0.8 * side->height(), 2.0);
}
} // namespace
} // namespace zorvpro::gltest
