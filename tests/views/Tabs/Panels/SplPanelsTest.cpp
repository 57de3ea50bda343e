// The SPL settings panel and the live-map bar, driven as a user drives them.

#include "PanelHost.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "core/Base/ApplicationSeam.h"
#include "views/Common/SplTypes.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/Tabs/Speaker/SplLiveMapControls.h"
#include "views/Tabs/Speaker/SplPropertiesControl.h"

#include <QLabel>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
using test::PanelHost;

const QString kMode = "Spl_Mode", kFreq = "Spl_Freq", kMin = "Spl_Min_dB", kMax = "Spl_Max_dB",
              kRes = "Spl_Res";

class SplPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.active);
        slider.setMinimum(36.0);
        slider.setMaximum(132.0);
        host.panel->setRangeSlider(&slider);
    }
    PanelHost<SplPropertiesControl> host;
    SPLVerticalRangeSliderWidget slider;
};

using Said = std::vector<std::string>;

TEST_F(SplPanelTest, LowerLevelNotBelowUpperFallsBackAndIsForwardedAsTheOldValue)
{
    // Built with vocal bands, medium resolution and 80 to 112 dB, silently.
    EXPECT_EQ(host.Shown(kMode).toString(), "Vocal Bands");
    EXPECT_EQ(host.Shown(kRes).toString(), "Medium");
    EXPECT_EQ(host.panel->bandwidth(), -2);
    EXPECT_TRUE(host.listener.heard.empty());

    host.panel->setSliderValues(80.0, 112.0);
    host.Type(kMin, "120");
    EXPECT_EQ(host.listener.Said(), Said{"Spl_Min_dB=80"});
    EXPECT_EQ(host.Shown(kMin).toString(), "80");
    EXPECT_EQ(slider.lowValue(), 80.0);

    host.Type(kMin, "95");
    host.Type(kMax, "90");
    EXPECT_EQ(host.listener.Said(), (Said{"Spl_Min_dB=95", "Spl_Max_dB=112"}));
    EXPECT_EQ(slider.lowValue(), 95.0);
    EXPECT_EQ(host.Shown(kMax).toString(), "112");
    EXPECT_EQ(slider.highValue(), 112.0);
}

TEST_F(SplPanelTest, RangesFromTheAdapterShowWithoutEvents)
{
    host.panel->setSplRange(100.0, 90.0);
    EXPECT_EQ(host.Shown(kMin).toString(), "89");
    EXPECT_EQ(host.Shown(kMax).toString(), "90");
    EXPECT_EQ(host.panel->minimumSpl(), 89.0);
    EXPECT_EQ(slider.lowValue(), 89.0);
    EXPECT_EQ(slider.highValue(), 90.0);

    // An update that would cross the other level keeps the stored one.
    host.panel->updateProperty(kMin, 95.0);
    EXPECT_EQ(host.Shown(kMin).toString(), "89");
    host.panel->updateProperty(kMax, 120.0);
    EXPECT_EQ(slider.highValue(), 120.0);
    EXPECT_TRUE(host.listener.heard.empty());

    // The programmatic setters skip the range check but tell the listener,
    // and so does the button, which changes nothing itself.
    host.panel->setMinSpl(95.0);
    host.panel->setMaxSpl(90.0);
    QTest::mouseClick(host.panel->adjustRangeButton(), Qt::LeftButton);
    EXPECT_EQ(host.listener.Said(), (Said{"Spl_Min_dB=95", "Spl_Max_dB=90", "Spl_Adjust_Spl_Range=false"}));
    EXPECT_EQ(host.panel->maximumSpl(), 90.0);
    EXPECT_EQ(slider.lowValue(), 95.0);
}

TEST_F(SplPanelTest, BandwidthAndBandChoicesTravelAsCodesAndFrequencies)
{
    host.Set(kMode, "1/3 Octave");
    host.Set(kFreq, "1.25 kHz");
    host.Set(kMode, "Octave");
    host.Set(kMode, "All Bands");
    host.Set(kRes, "High");
    host.Set("Spl_Auto_Adjust", "ON");
    // Each bandwidth change first moves to the band nearest the last one
    // shown (the lowest band when none was chosen), then reports the code.
    EXPECT_EQ(host.listener.heard[1].value.userType(), qMetaTypeId<SplTypes::Mode>());
    EXPECT_EQ(host.listener.Said(),
              (Said{"Spl_Freq=31.5", "Spl_Mode=3", "Spl_Freq=1250", "Spl_Freq=1000", "Spl_Mode=1",
                    "Spl_Mode=-1", "Spl_Res=0.5", "Spl_Auto_Adjust=true"}));

    // With all bands a band update is ignored.
    const QVariant before = host.Shown(kFreq);
    host.panel->updateProperty(kFreq, 2000.0);
    EXPECT_EQ(host.Shown(kFreq), before);
    EXPECT_TRUE(host.listener.heard.empty());
}

TEST_F(SplPanelTest, AdapterValuesTranslateBackToTexts)
{
    host.panel->updateProperty(kMode, QVariant::fromValue(SplTypes::ThirdOctave));
    EXPECT_EQ(host.Shown(kMode).toString(), "1/3 Octave");
    host.panel->updateProperty(kRes, 2.0);
    EXPECT_EQ(host.Shown(kRes).toString(), "Low");
    EXPECT_TRUE(host.listener.heard.empty());

    // A band pushed as a frequency is shown as its label and announced.
    host.panel->updateProperty(kFreq, 2000.0);
    EXPECT_EQ(host.Shown(kFreq).toString(), "2 kHz");
    EXPECT_EQ(host.listener.Said(), Said{"Spl_Freq=2000"});

    // A code the list does not offer is refused and changes nothing.
    host.panel->updateProperty(kMode, 7);
    EXPECT_EQ(host.Shown(kMode).toString(), "1/3 Octave");
    EXPECT_EQ(host.panel->bandwidth(), 3);
}

// Busy while the flag says so.
class BusyEngine : public acoustics::IZorvAcoustics
{
public:
    Version getVersion() const override { return {}; }
    void start() override {}
    void requestStop() override {}
    void addSurface(std::weak_ptr<acoustics::ISurface>) override {}
    void removeSurface(std::weak_ptr<acoustics::ISurface>) override {}
    void addCluster(std::shared_ptr<acoustics::LoudspeakerCluster>) override {}
    void removeCluster(std::shared_ptr<acoustics::LoudspeakerCluster>) override {}
    void setFieldPoints(uint64_t, std::shared_ptr<acoustics::FieldPoints>) override {}
    void removeFieldPoints(uint64_t) override {}
    void setCalculationEnabled(bool) override {}
    bool isCalculationEnabled() const override { return false; }
    void calculate(bool) override {}
    std::shared_ptr<acoustics::FieldPointsData> getDataSet(uint64_t) const override { return {}; }
    void addCalcListener(acoustics::CalcListener*) override {}
    void removeCalcListener(acoustics::CalcListener*) override {}
    bool isBusy() const override { return busy; }
    std::atomic<bool> busy{false};
};

TEST(SplLiveMapControlsTest, SwitchesShowAndHideTheirCompanions)
{
    PanelHost<SplLiveMapControls> host;
    ASSERT_TRUE(host.active);
    SplLiveMapControls& bar = *host.panel;
    QWidget* autoSwitch = host.Widget("Spl_AutoCalculate");
    struct Step
    {
        const char* name;
        const char* text;
        bool autoShown, buttonShown;
    };
    // Map off hides everything; auto-calculation alone decides the button.
    const Step steps[] = {{"Spl_ShowSplMap", "OFF", false, false},   {"Spl_ShowSplMap", "ON", true, true},
                          {"Spl_AutoCalculate", "ON", true, false},  {"Spl_ShowSplMap", "OFF", false, false},
                          {"Spl_AutoCalculate", "OFF", false, true}, {"Spl_ShowSplMap", "ON", true, true}};
    for (const Step& step : steps)
    {
        host.Set(step.name, step.text);
        EXPECT_EQ(host.Visible(autoSwitch), step.autoShown) << step.name << step.text;
        EXPECT_EQ(host.Visible(bar.autoCalculateLabel()), step.autoShown) << step.name << step.text;
        EXPECT_EQ(host.Visible(bar.statusLabel()), step.autoShown) << step.name << step.text;
        EXPECT_EQ(host.Visible(bar.recalculateButton()), step.buttonShown) << step.name << step.text;
    }
    EXPECT_EQ(host.listener.Said().size(), 6u);

    // Values from the tab follow the same rules without events.
    bar.updateProperty("Spl_AutoCalculate", true);
    EXPECT_FALSE(host.Visible(bar.recalculateButton()));
    EXPECT_TRUE(host.listener.heard.empty());

    bar.updateProperty("Spl_AutoCalculate", false);
    QTest::mouseClick(bar.recalculateButton(), Qt::LeftButton);
    ASSERT_FALSE(host.listener.heard.empty());
    EXPECT_EQ(host.listener.heard.back().event, BoundPropertyEvent::ValuePassedThrough);
    EXPECT_EQ(host.listener.heard.back().name, "Spl_RecalculateButton");
}

TEST(SplLiveMapControlsTest, StatusCyclesWhileTheEngineIsBusy)
{
    PanelHost<SplLiveMapControls> host;
    SplLiveMapControls& bar = *host.panel;
    EXPECT_EQ(bar.statusTimer()->interval(), 1000);
    EXPECT_TRUE(bar.statusTimer()->isActive());

    // No application object, no engine: nothing to report.
    bar.onStatusTimer();
    EXPECT_EQ(bar.statusLabel()->text(), "");

    ApplicationSeam app;
    auto engine = std::make_shared<BusyEngine>();
    app.SetEngine(engine);
    engine->busy = true;
    std::vector<QString> texts;
    for (int tick = 0; tick < 6; ++tick)
    {
        bar.onStatusTimer();
        texts.push_back(bar.statusLabel()->text());
    }
    const std::vector<QString> expected{"SPL calculating",    "SPL calculating.", "SPL calculating..",
                                        "SPL calculating...", "SPL calculating",  "SPL calculating."};
    EXPECT_EQ(texts, expected);
    engine->busy = false;
    bar.onStatusTimer();
    EXPECT_EQ(bar.statusLabel()->text(), "");

    // The timer itself polls the engine.
    engine->busy = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar.statusLabel()->text().isEmpty(); }, 3000));
}
} // namespace
} // namespace zorvpro
