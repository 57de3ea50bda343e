// The adapter and the speaker tab's real SPL panel: project settings shown in the panel, and the
// user's edits in the panel stored in the project and applied to the colour scale.
#include "SplTestSupport.h"

#include "Resources/Fonts/StandInFonts.h"
#include "tests/views/Tabs/Panels/PanelHost.h"
#include "views/Adapters/Spl/SplPanelLink.h"
#include "views/Common/NumberLocale.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/Tabs/Speaker/SplPropertiesControl.h"

#include <QLocale>

namespace zorvpro::test
{
namespace
{
TEST(SplPanelLink, SettingsReachThePanelAndItsEditsReachTheProject)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    UseLocaleWithoutGroupSeparators();
    RegisterStandInFonts();
    ProjectDefinition::Instance()->Clear(false);
    ProjectSettings& settings = *ProjectDefinition::Instance()->GetSettings();
    settings.setSplOctaveMode(3);
    settings.setSplFreqCtr(1000.0);
    settings.setSplLowValue(70.0);
    settings.setSplHighValue(100.0);
    settings.setSplAutoAdjustRange(false);
    settings.setSplResolution(0.5);

    PanelHost<SplPropertiesControl> host;
    ASSERT_TRUE(host.active);
    SPLVerticalRangeSliderWidget slider;
    slider.setMinimum(36.0);
    slider.setMaximum(132.0);
    host.panel->setRangeSlider(&slider);
    SplPanelLink link(*host.panel);
    {
        SplAdapter adapter(&link);
        EXPECT_EQ(host.Shown("Spl_Mode").toString(), "1/3 Octave");
        EXPECT_EQ(host.Shown("Spl_Min_dB").toString(), "70");
        EXPECT_EQ(host.Shown("Spl_Max_dB").toString(), "100");
        EXPECT_EQ(host.Shown("Spl_Res").toString(), "High");
        EXPECT_EQ(host.Shown("Spl_Auto_Adjust").toString(), "OFF");
        EXPECT_EQ(slider.lowValue(), 70.0);
        EXPECT_EQ(slider.highValue(), 100.0);
        EXPECT_EQ(adapter.ColorRange().Low(), 70.0);

        host.panel->setEventListener(&adapter);
        host.Type("Spl_Max_dB", "105");
        EXPECT_EQ(settings.getSplHighValue(), 105.0);
        EXPECT_EQ(adapter.ColorRange().High(), 105.0);
        EXPECT_EQ(slider.highValue(), 105.0);
        host.Type("Spl_Min_dB", "110"); // refused by the panel, which forwards the old value
        EXPECT_EQ(settings.getSplLowValue(), 70.0);
        host.Set("Spl_Auto_Adjust", "ON");
        EXPECT_TRUE(settings.getSplAutoAdjustRange());
        QTest::mouseClick(host.panel->adjustRangeButton(), Qt::LeftButton);
        EXPECT_EQ(settings.getSplHighValue(), 105.0) << "no map shown, nothing to fit";

        // A cleared project shows its defaults again.
        ProjectDefinition::Instance()->Clear(false);
        adapter.NodeChanged(SplAdapter::ProjectReset, {});
        EXPECT_EQ(host.Shown("Spl_Max_dB").toString(), QString::number(settings.getSplHighValue()));
        EXPECT_EQ(host.Shown("Spl_Res").toString(), "Medium");
        host.panel->setEventListener(nullptr);
    }
    ProjectDefinition::Instance()->Clear(false);
}
} // namespace
} // namespace zorvpro::test
