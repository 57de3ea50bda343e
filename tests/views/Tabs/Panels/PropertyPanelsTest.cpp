// The surface and beam-speaker panels: editability, row visibility and the
// current beam, driven as a user drives them.

#include "PanelHost.h"
#include "views/Tabs/Speaker/BeamRowRegistry.h"
#include "views/Tabs/Speaker/BeamSpeakerPropertiesControl.h"
#include "views/Tabs/Venue/SurfacePropertiesControl.h"

#include <QLineEdit>
#include <cmath>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
using test::PanelHost;
using Said = std::vector<std::string>;

constexpr double kHalfPi = 1.5707963267948966;
const char* const kCorners[] = {"Quad_P1X", "Quad_P1Y", "Quad_P1Z", "Quad_P2X", "Quad_P2Y", "Quad_P2Z",
                                "Quad_P3X", "Quad_P3Y", "Quad_P3Z", "Quad_P4X", "Quad_P4Y", "Quad_P4Z"};

TEST(SurfacePropertiesControlTest, CornersLockUnlessTheRotationIsARightAngle)
{
    PanelHost<SurfacePropertiesControl> host;
    ASSERT_TRUE(host.active);
    for (const char* corner : kCorners)
        host.panel->updateProperty(corner, 2.5);

    const std::pair<double, bool> rotations[] = {{0.0, true},
                                                 {kHalfPi, true},
                                                 {-2 * kHalfPi, true},
                                                 {3 * kHalfPi, true},
                                                 {kHalfPi + 9e-6, true},
                                                 {kHalfPi - 9e-6, true},
                                                 {kHalfPi + 2e-5, false},
                                                 {0.1, false}};
    for (const auto& [rotation, editable] : rotations)
    {
        host.panel->updateProperty("Quad_Rotation", rotation);
        for (const char* corner : kCorners)
        {
            EXPECT_EQ(host.Widget(corner)->isEnabled(), editable) << rotation << " " << corner;
            EXPECT_EQ(host.Shown(corner).toString(), "2.50") << corner;
        }
    }
    EXPECT_TRUE(host.listener.heard.empty());

    // Typed in degrees: a right angle unlocks, anything else locks again.
    host.Type("Quad_Rotation", "90");
    EXPECT_TRUE(host.Widget("Quad_P3Y")->isEnabled());
    host.Type("Quad_Rotation", "45");
    EXPECT_FALSE(host.Widget("Quad_P3Y")->isEnabled());
    const auto changes = host.listener.Changes();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_DOUBLE_EQ(changes[1].value.toDouble(), kHalfPi / 2);
    // Other edits leave the lock alone.
    host.Type("Quad_P0X", "3");
    EXPECT_FALSE(host.Widget("Quad_P3Y")->isEnabled());
}

TEST(SurfacePropertiesControlTest, ShapeBoundsAndEarHeightSwitch)
{
    PanelHost<SurfacePropertiesControl> host;
    ASSERT_TRUE(host.active);
    const std::tuple<const char*, const char*, double> entries[] = {
        {"Quad_BackHeight", "-100", -100.0}, {"Quad_BackHeight", "100", 100.0},
        {"Quad_BackHeight", "150", 100.0},   {"Quad_FrontWidth", "-5", 0.0},
        {"Quad_BackDepth", "301", 300.0},    {"Quad_ListenerHeight", "12", 10.0},
        {"Quad_P2Z", "-2000", -1000.0},      {"Quad_Rotation", "400", 6.28319}};
    for (const auto& [name, text, model] : entries)
    {
        host.listener.heard.clear();
        host.Type(name, text);
        const auto changes = host.listener.Changes();
        ASSERT_EQ(changes.size(), 1u) << name << " " << text;
        // A clamped angle is kept as shown, to the shown hundredth of a degree.
        EXPECT_NEAR(changes[0].value.toDouble(), model, 1e-4) << name << " " << text;
    }
    EXPECT_EQ(host.Property("Quad_ListenerHeightEnabled")->value(), QVariant(true));
}

class BeamPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        BeamRowRegistry::Clear();
        host = std::make_unique<PanelHost<BeamSpeakerPropertiesControl>>();
        ASSERT_TRUE(host->active);
    }
    void TearDown() override
    {
        host.reset();
        BeamRowRegistry::Clear();
    }
    bool RowShown(const QString& key) const
    {
        // A row is shown or hidden as a whole.
        const auto& row = BeamRowRegistry::At(key);
        std::vector<bool> parts;
        for (QWidget* part : {row.label.data(), row.widget.data()})
            if (part != nullptr)
                parts.push_back(host->Visible(part));
        EXPECT_FALSE(parts.empty()) << key.toStdString();
        EXPECT_TRUE(parts.size() < 2 || parts[0] == parts[1]) << key.toStdString();
        return !parts.empty() && parts[0];
    }
    QString SectionStyle(int beam) const { return host->panel->beamSection(beam)->styleSheet(); }
    std::unique_ptr<PanelHost<BeamSpeakerPropertiesControl>> host;
};

TEST_F(BeamPanelTest, BeamCountShowsTheSecondSectionAndKeepsTogglesHidden)
{
    BeamSpeakerPropertiesControl& panel = *host->panel;
    EXPECT_FALSE(RowShown("Title2"));
    EXPECT_FALSE(RowShown("Beam_SteeringAngle2"));
    EXPECT_TRUE(RowShown("Beam_SteeringAngle1"));
    EXPECT_FALSE(host->Visible(host->Widget("Beam_BeamSelection")));

    const QStringList hiddenToggles{"Beam_AutoManual1", "Beam_AutoManual2", "Beam_EvenessMaxSpl1",
                                    "Beam_EvenessMaxSpl2"};
    for (const char* count : {"Dual (Dante)", "Single", "Dual (Dante)"})
    {
        host->Set("Beam_Beams", count);
        const bool dual = QString(count) != "Single";
        EXPECT_EQ(panel.isDual(), dual);
        EXPECT_EQ(RowShown("Title2"), dual) << count;
        EXPECT_EQ(RowShown("Beam_MainGain2"), dual) << count;
        EXPECT_EQ(RowShown("Beam_Smoothing2"), dual) << count;
        EXPECT_EQ(host->Visible(panel.beamSeparator()), dual) << count;
        for (const QString& toggle : hiddenToggles)
            EXPECT_FALSE(host->Visible(host->Widget(toggle))) << toggle.toStdString();
    }
    // The same choice again changes nothing, and says so only once more.
    const std::size_t before = host->listener.Changes().size();
    panel.updateProperty("Beam_Beams", "Dual (Dante)");
    EXPECT_TRUE(RowShown("Title2"));
    EXPECT_EQ(host->listener.Changes().size(), before);
}

TEST_F(BeamPanelTest, BeamShapeShowsAndHidesItsRows)
{
    host->Set("Beam_Beams", "Dual (Dante)");
    struct Shape
    {
        const char* text;
        bool steering, spreading, smoothing;
    };
    const Shape shapes[] = {{"Flat Floor", true, false, true},
                            {"Raked Floor", false, false, false},
                            {"Steer / Spread", true, true, true}};
    for (const int beam : {1, 2})
        for (const Shape& shape : shapes)
        {
            const QString n = QString::number(beam);
            host->Set("Beam_Manual" + n, shape.text);
            EXPECT_EQ(RowShown("Beam_SteeringAngle" + n), shape.steering) << shape.text << beam;
            EXPECT_EQ(RowShown("Beam_SpreadingAngle" + n), shape.spreading) << shape.text << beam;
            EXPECT_EQ(RowShown("Beam_Smoothing" + n), shape.smoothing) << shape.text << beam;
            EXPECT_TRUE(RowShown("Beam_MainGain" + n));
        }

    // Back to one beam: a shape pushed for beam 2 leaves its (hidden) rows alone,
    // and going dual again shows the rows its shape asks for.
    host->Set("Beam_Beams", "Single");
    host->panel->updateProperty("Beam_Manual2", "Steer / Spread");
    EXPECT_FALSE(RowShown("Beam_SteeringAngle2"));
    host->panel->updateProperty("Beam_Manual2", "Raked Floor");
    host->Set("Beam_Beams", "Dual (Dante)");
    EXPECT_TRUE(RowShown("Beam_MainGain2"));
    EXPECT_FALSE(RowShown("Beam_SteeringAngle2"));
}

TEST_F(BeamPanelTest, TouchingABeamMakesItCurrentAndHighlightsIt)
{
    BeamSpeakerPropertiesControl& panel = *host->panel;
    host->Set("Beam_Beams", "Dual (Dante)");
    host->listener.heard.clear();

    host->Property("Beam_TopRearAngle2")->setWidgetFocus(true);
    EXPECT_EQ(panel.currentBeam(), 2);
    EXPECT_EQ(host->listener.Said(), Said{"Beam_BeamSelection=true"});
    EXPECT_EQ(SectionStyle(2), "QWidget { background-color: #f3f3f3; }");
    EXPECT_EQ(SectionStyle(1), "QWidget { background-color: #F8F8F8; }");

    // A switch of beam 1 selects beam 1 as well as passing its change on.
    host->other->setFocus();
    host->listener.heard.clear();
    host->Set("Beam_Smoothing1", "OFF");
    EXPECT_EQ(host->listener.Said(), (Said{"Beam_Smoothing1=false", "Beam_BeamSelection=false"}));
    EXPECT_EQ(panel.currentBeam(), 1);

    panel.themeChanged(0);
    EXPECT_EQ(SectionStyle(1), "QWidget { background-color: #242424; }");
    EXPECT_EQ(SectionStyle(2), "QWidget { background-color: #141414; }");

    // The adapter's selection is shown without an event.
    host->listener.heard.clear();
    panel.updateProperty("Beam_BeamSelection", true);
    EXPECT_EQ(panel.currentBeam(), 2);
    EXPECT_EQ(SectionStyle(2), "QWidget { background-color: #242424; }");
    EXPECT_TRUE(host->listener.heard.empty());

    // With one beam both sections are plain, whichever is current.
    host->Set("Beam_Beams", "Single");
    panel.updateBeamHighlight();
    EXPECT_EQ(SectionStyle(2), "QWidget { background-color: #141414; }");
    EXPECT_THROW(panel.bindBeamProperties(3), std::logic_error);
    EXPECT_THROW(BeamRowRegistry::At("Beam_Nothing"), std::out_of_range);
}
} // namespace
} // namespace zorvpro
