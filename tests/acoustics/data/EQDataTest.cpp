#include "acoustics/data/EQDataSpread.h"
#include "acoustics/data/EQSpiral.h"
#include "acoustics/data/EQTableReading.h"
#include "tools/datagen/EqTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace zorvpro::acoustics;
namespace datagen = zorvpro::datagen;

namespace
{

std::unique_ptr<juce::XmlElement> Parse(const std::string& xml)
{
    auto root = juce::XmlDocument::parse(juce::String::fromUTF8(xml.c_str()));
    EXPECT_NE(root, nullptr) << xml;
    return root;
}

EQDataSpread SpreadFrom(const std::string& xml)
{
    EQDataSpread data;
    auto root = Parse(xml);
    data.load(root.get());
    return data;
}

EQSpiral SpiralFrom(const std::string& xml)
{
    EQSpiral data;
    auto root = Parse(xml);
    data.load(root.get());
    return data;
}

std::string Row(double low, double tilt, double gain)
{
    return "<LowCutFreq>" + std::to_string(low) + "</LowCutFreq><Tilt>" + std::to_string(tilt) +
           "</Tilt><BoostOrCut>" + std::to_string(gain) + "</BoostOrCut>";
}

const std::string kSpread = "<Root><ShadingOn><Modules count=\"2\">"
                            "<Angle deg=\"10\">" +
                            Row(100, 1, -1) +
                            "</Angle>"
                            "<Angle deg=\"20\">" +
                            Row(200, 2, -2) +
                            "</Angle>"
                            "<Angle deg=\"30\">" +
                            Row(300, 3, -3) +
                            "</Angle>"
                            "</Modules></ShadingOn></Root>";

} // namespace

TEST(EQDataSpread, InterpolatesBetweenRowsAndHoldsOutside)
{
    const EQDataSpread data = SpreadFrom(kSpread);
    auto at = [&](double a) { return data.lookup(EQRequestDataSpread(true, a, 2)); };
    EXPECT_DOUBLE_EQ(at(15).LowCutFreq, 150.0);
    EXPECT_DOUBLE_EQ(at(15).Tilt, 1.5);
    EXPECT_DOUBLE_EQ(at(15).BoostOrCut, -1.5);
    EXPECT_DOUBLE_EQ(at(27.5).LowCutFreq, 275.0);
    EXPECT_EQ(at(5).LowCutFreq, 100.0);
    EXPECT_EQ(at(35).LowCutFreq, 300.0);
    // Within the tolerance the row itself is taken, not an interpolation.
    EXPECT_EQ(at(20 - 1e-15).LowCutFreq, 200.0);
    EXPECT_EQ(at(20).Tilt, 2.0);
}

TEST(EQDataSpread, MissingTablesGiveNoEq)
{
    const EQDataSpread data = SpreadFrom(kSpread);
    const EqCurveValues lacking = data.lookup(EQRequestDataSpread(true, 15, 3));
    EXPECT_EQ(lacking.LowCutFreq, 0.0);
    EXPECT_EQ(lacking.Tilt, 0.0);
    EXPECT_EQ(lacking.BoostOrCut, 0.0);
    EXPECT_EQ(data.lookup(EQRequestDataSpread(false, 15, 2)).LowCutFreq, 0.0);
    EXPECT_EQ(data.lookup(EQRequestDataSpiral(2, 0, 0, 10)).LowCutFreq, 0.0);

    const EQDataSpread noOn = SpreadFrom("<Root><ShadingOff><Modules>"
                                         "<Angle deg=\"0\">" +
                                         Row(80, 1, -1) + "</Angle></Modules></ShadingOff></Root>");
    EXPECT_EQ(noOn.lookup(EQRequestDataSpread(true, 0, 1)).LowCutFreq, 0.0);
    // "count" defaults to one module.
    EXPECT_EQ(noOn.lookup(EQRequestDataSpread(false, 0, 1)).LowCutFreq, 80.0);
}

TEST(EQDataSpread, KeysAreWholeDegreesAndLaterRowsWin)
{
    const EQDataSpread data = SpreadFrom("<Root><ShadingOn><Modules count=\"1\">"
                                         "<Angle deg=\"7.9\">" +
                                         Row(70, 1, -1) +
                                         "</Angle>"
                                         "<Angle deg=\"12\">" +
                                         Row(120, 1, -1) +
                                         "</Angle>"
                                         "<Angle deg=\"12\">" +
                                         Row(125, 4, -4) +
                                         "</Angle>"
                                         "<Other deg=\"1\">" +
                                         Row(1, 1, 1) +
                                         "</Other>"
                                         "<Angle>" +
                                         "<LowCutFreq> 30 </LowCutFreq></Angle>"
                                         "</Modules></ShadingOn></Root>");
    const auto& rows = data.tables().at(true).at(1);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.at(7).LowCutFreq, 70.0);
    EXPECT_EQ(rows.at(12).LowCutFreq, 125.0);
    EXPECT_EQ(rows.at(12).Tilt, 4.0);
    // No "deg" reads as 0; missing values read as 0.
    EXPECT_EQ(rows.at(0).LowCutFreq, 30.0);
    EXPECT_EQ(rows.at(0).Tilt, 0.0);
}

TEST(EQDataSpread, LoadReplacesAndNullKeeps)
{
    EQDataSpread data = SpreadFrom(kSpread);
    data.load(nullptr);
    EXPECT_EQ(data.lookup(EQRequestDataSpread(true, 10, 2)).LowCutFreq, 100.0);
    auto empty = Parse("<Root/>");
    data.load(empty.get());
    EXPECT_TRUE(data.tables().empty());
}

TEST(EQSpiral, SnapsEveryCoordinateToTheNearestKey)
{
    const std::string xml = "<Root><Modules count=\"1\">"
                            "<IncidentAngle>-10<OpenAngle>20"
                            "<Distance meter=\"10\">" +
                            Row(110, 1, -1) +
                            "</Distance>"
                            "<Distance meter=\"20\">" +
                            Row(120, 1, -1) +
                            "</Distance>"
                            "</OpenAngle><OpenAngle>40"
                            "<Distance meter=\"10\">" +
                            Row(140, 1, -1) +
                            "</Distance>"
                            "</OpenAngle></IncidentAngle>"
                            "<IncidentAngle>10<OpenAngle>20"
                            "<Distance meter=\"10\">" +
                            Row(210, 2, -2) +
                            "</Distance>"
                            "</OpenAngle></IncidentAngle>"
                            "</Modules></Root>";
    const EQSpiral data = SpiralFrom(xml);
    auto at = [&](double i, double o, double d)
    { return data.lookup(EQRequestDataSpiral(1, i, o, d)).LowCutFreq; };
    EXPECT_EQ(at(-10, 20, 15), 120.0); // midway: the larger distance
    EXPECT_EQ(at(-10, 20, 14.9), 110.0);
    EXPECT_EQ(at(-10, 20, 500), 120.0);
    EXPECT_EQ(at(-10, 31, 0), 140.0);
    EXPECT_EQ(at(0, 20, 10), 210.0); // midway incident angle: the larger
    EXPECT_EQ(at(-0.1, 20, 10), 110.0);
    EXPECT_EQ(at(-90, 90, 10), 140.0);
    EXPECT_EQ(data.lookup(EQRequestDataSpiral(2, 0, 20, 10)).LowCutFreq, 0.0);
    EXPECT_EQ(data.lookup(EQRequestDataSpread(true, 0, 1)).LowCutFreq, 0.0);
}

TEST(EQSpiral, EmptyBranchesGiveNoEq)
{
    const EQSpiral data = SpiralFrom("<Root><Modules count=\"3\"><IncidentAngle>0</IncidentAngle></Modules>"
                                     "<Modules count=\"2\"><IncidentAngle>0<OpenAngle>5</OpenAngle>"
                                     "</IncidentAngle></Modules></Root>");
    EXPECT_EQ(data.lookup(EQRequestDataSpiral(3, 0, 0, 0)).BoostOrCut, 0.0);
    EXPECT_EQ(data.lookup(EQRequestDataSpiral(2, 0, 5, 10)).BoostOrCut, 0.0);
}

TEST(EQTableReading, LeadingIntegerAndNearestKey)
{
    EXPECT_EQ(ParseLeadingInt("  -12abc"), -12);
    EXPECT_EQ(ParseLeadingInt("+7"), 7);
    EXPECT_EQ(ParseLeadingInt("12.5"), 12);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("99999999999999"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("-99999999999999"), -2147483647 - 1);

    const std::map<double, int> keys{{10, 0}, {20, 0}};
    EXPECT_EQ(NearestKey(keys, 15.0), 20.0);
    EXPECT_EQ(NearestKey(keys, 14.0), 10.0);
    EXPECT_EQ(NearestKey(keys, -5.0), 10.0);
    EXPECT_EQ(NearestKey(keys, 99.0), 20.0);
    EXPECT_EQ(NearestKey(std::map<double, int>{}, 3.5), 3.5);
}

// The generated tables read back row for row, and every row keeps the shelf
// formula defined: tilt in [0, 10], gain not 0, and a shelf ratio above the
// pole the corner frequency is divided by.
TEST(EQTables, GeneratedTablesReadBackAndKeepTheShelfDefined)
{
    auto defined = [](const EqCurveValues& v)
    {
        if (v.Tilt < 0 || v.Tilt > 10 || v.BoostOrCut == 0 || v.LowCutFreq <= 0)
            return false;
        const double s = std::copysign(v.Tilt, v.BoostOrCut) * 0.06 + v.BoostOrCut * 0.02666666666666667;
        const double r = std::pow(10.0, v.BoostOrCut / (s * -40.0));
        return s != 0 && r - 0.068 > 0.01;
    };

    const EQDataSpread spread = SpreadFrom(datagen::SpreadTableXml());
    for (bool shading : {true, false})
        for (int m = 1; m <= datagen::kTableModules; ++m)
            for (int a : datagen::SpreadAngles())
            {
                const EqCurveValues v = spread.lookup(EQRequestDataSpread(shading, a, m));
                const datagen::EqRow want = datagen::SpreadRow(shading, m, a);
                EXPECT_NEAR(v.LowCutFreq, want.lowCutFreq, 1e-6);
                EXPECT_NEAR(v.Tilt, want.tilt, 1e-6);
                EXPECT_NEAR(v.BoostOrCut, want.boostOrCut, 1e-6);
                EXPECT_TRUE(defined(v)) << shading << " " << m << " " << a;
            }

    const EQSpiral spiral = SpiralFrom(datagen::SpiralTableXml());
    size_t rows = 0;
    for (int m = 1; m <= datagen::kTableModules; ++m)
        for (int i : datagen::SpiralIncidentAngles())
            for (int o : datagen::SpiralOpenAngles())
                for (int d : datagen::SpiralDistances())
                {
                    const EqCurveValues v = spiral.lookup(EQRequestDataSpiral(m, i, o, d));
                    const datagen::EqRow want = datagen::SpiralRow(m, i, o, d);
                    EXPECT_NEAR(v.LowCutFreq, want.lowCutFreq, 1e-6);
                    EXPECT_NEAR(v.Tilt, want.tilt, 1e-6);
                    EXPECT_NEAR(v.BoostOrCut, want.boostOrCut, 1e-6);
                    EXPECT_TRUE(defined(v)) << m << " " << i << " " << o << " " << d;
                    ++rows;
                }
    EXPECT_EQ(rows, spiral.tables().size() * datagen::SpiralIncidentAngles().size() *
                        datagen::SpiralOpenAngles().size() * datagen::SpiralDistances().size());
}

TEST(EQSpiral, AngleEndsAtTheFirstChildElement)
{
    // Without white space after the number the nested text must not run into it.
    const EQSpiral data =
        SpiralFrom("<Root><Modules count=\"1\"><IncidentAngle> -5<OpenAngle>15"
                   "<Distance meter=\"8\">" +
                   Row(90, 1, -1) + "</Distance></OpenAngle></IncidentAngle></Modules></Root>");
    const auto& incidents = data.tables().at(1);
    ASSERT_EQ(incidents.size(), 1u);
    EXPECT_EQ(incidents.begin()->first, -5.0);
    EXPECT_EQ(incidents.begin()->second.begin()->first, 15.0);
    EXPECT_EQ(data.lookup(EQRequestDataSpiral(1, -5, 15, 8)).LowCutFreq, 90.0);
}
