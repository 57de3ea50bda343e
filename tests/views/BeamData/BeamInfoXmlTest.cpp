#include "data/BeamData/BeamInfoXml.h"
#include "tests/bridge/BridgeTestSupport.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace zorvpro
{
namespace
{

constexpr double kRadiansPerDegree = 0.017453292519943295;

BeamSpeakerClusterNodePtr Array(int modules, uint32_t beams, uint32_t algorithm)
{
    auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    node->SetName("Main \xC3\xBC array");
    node->SetUserNote("left hang");
    test::AddModules(node, modules);
    node->SetBeamCount(beams);
    for (uint32_t b = 0; b < beams; ++b)
        node->SetBeamAlgorithm(b, algorithm);
    return node;
}

// Every "Property" of a document with its element path and its attributes in document order.
struct Property
{
    QString path, name, value;
    QStringList attributes;
    QString Attribute(const QString& key) const { return values.value(key); }
    QMap<QString, QString> values;
};

std::vector<Property> Read(const QString& text)
{
    std::vector<Property> out;
    QStringList path;
    QXmlStreamReader reader(text);
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isEndElement())
            path.removeLast();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("Property"))
        {
            Property p{path.join('/'), {}, {}, {}, {}};
            for (const QXmlStreamAttribute& a : reader.attributes())
            {
                p.attributes << a.name().toString();
                p.values[a.name().toString()] = a.value().toString();
            }
            p.name = p.values["name"];
            p.value = p.values["value"];
            out.push_back(p);
        }
        path << reader.name().toString();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return out;
}

const QString kBeam = "TQR40V/Arrays/Array/Design/Presets/Preset/Beams/Beam/Properties";

TEST(BeamInfoXml, DocumentOfEachAlgorithmAndBeamCount)
{
    struct Case
    {
        uint32_t algorithm, beams;
        QString name;
        bool spread, steer;
    };
    const Case cases[] = {
        {1, 1, "Symmetric Gain+Delay", true, true}, {1, 2, "Symmetric Gain+Delay", true, true},
        {2, 1, "Asymmetric Delay", false, true},    {2, 2, "Asymmetric Delay", false, true},
        {3, 1, "Asymmetric Spiral", false, false},  {3, 2, "Asymmetric Spiral", false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "algorithm " << c.algorithm << ", beams " << c.beams);
        auto node = Array(2, c.beams, c.algorithm);
        ASSERT_EQ(node->GetBeamCount(), c.beams);
        node->SetPitch(-5.0 * kRadiansPerDegree);
        QString text;
        writeBeamInfoXml(text, node);
        EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\"?>\n<TQR40V>\n    <Arrays>\n"))
            << text.left(80).toStdString();
        const auto props = Read(text);

        // Header: pitch, then the design properties (no units), then the preset's description.
        QStringList header;
        for (size_t i = 0; i < 5; ++i)
            header << props[i].path + ":" + props[i].name + "=" + props[i].value + ":" +
                          props[i].attributes.join(',');
        EXPECT_EQ(header,
                  (QStringList{
                      "TQR40V/Arrays/Array/Physical/Properties:Pitch=-5.0:name,value,units",
                      QString::fromUtf8(
                          "TQR40V/Arrays/Array/Design/Properties:Name=Main \xC3\xBC array:name,value"),
                      "TQR40V/Arrays/Array/Design/Properties:Comments=left hang:name,value",
                      "TQR40V/Arrays/Array/Design/Properties:ModuleCount=2:name,value",
                      "TQR40V/Arrays/Array/Design/Presets/Preset/Properties:Description=preset #1:name,value",
                  }));

        size_t at = 5;
        for (uint32_t b = 0; b < c.beams; ++b)
        {
            SCOPED_TRACE(testing::Message() << "beam " << b);
            const auto drivers = node->GetBeamDriverTable(b);
            ASSERT_EQ(drivers.size(), 2u * 16u);
            QStringList expected{"Index",    "Algorithm",   "DistanceTop", "DistanceBottom",
                                 "AngleTop", "AngleBottom", "BeamGain",    "GainShade"};
            if (c.spread)
                expected << "SpreadAngle";
            if (c.steer)
                expected << "SteerAngle";
            const size_t firstDriver = at + expected.size();
            for (size_t i = 0; i < drivers.size(); ++i)
                expected << "Delay"
                         << "Gain";
            expected << "ArrayEQGain"
                     << "ArrayEQFrequency"
                     << "ArrayEQTilt";
            QStringList names;
            for (size_t i = at; i < std::min(props.size(), at + expected.size()); ++i)
            {
                EXPECT_EQ(props[i].path, kBeam);
                names << props[i].name;
            }
            ASSERT_EQ(names, expected);
            EXPECT_EQ(props[at].value, QString::number(b));
            EXPECT_EQ(props[at + 1].value, c.name);
            EXPECT_EQ(props[at + 7].value, node->GetBeamSmoothing(b) ? "On" : "Off");
            for (size_t i = 0; i < drivers.size(); ++i)
            {
                const Property& delay = props[firstDriver + 2 * i];
                const Property& gain = props[firstDriver + 2 * i + 1];
                EXPECT_EQ(delay.attributes, (QStringList{"name", "value", "driver", "units"}));
                EXPECT_EQ(delay.Attribute("driver"), QString::number(i));
                EXPECT_EQ(gain.Attribute("driver"), QString::number(i));
                EXPECT_EQ(delay.Attribute("units"), "usec");
                EXPECT_EQ(gain.Attribute("units"), "dB");
                const double us = drivers[i].totalDelay * 1e6;
                EXPECT_NEAR(delay.value.toDouble(), us, 1e-5 * std::max(1.0, us));
                const double weight = drivers[i].weight == 0.0 ? 1.0 : drivers[i].weight;
                EXPECT_NEAR(gain.value.toDouble(), 20.0 * std::log10(weight), 1e-4);
            }
            // Units where the table gives them, and no empty ones anywhere.
            const QStringList units{"", "", "m", "m", "Degrees", "Degrees", "dB", ""};
            for (int i = 0; i < units.size(); ++i)
                EXPECT_EQ(props[at + i].attributes.contains("units"), !units[i].isEmpty())
                    << names[i].toStdString();
            at += expected.size();
            EXPECT_EQ(props[at - 2].Attribute("units"), "Hz");
            EXPECT_EQ(props[at - 1].attributes, (QStringList{"name", "value"}));
        }
        EXPECT_EQ(at, props.size());
    }
}

TEST(BeamInfoXml, ShapedValuesNumberFormatsAndEmptyCases)
{
    auto node = Array(3, 1, 1);
    node->SetBeamSmoothing(0, true);
    node->SetBeamSteering(0, 10.0 * kRadiansPerDegree);
    QString text;
    writeBeamInfoXml(text, node);
    const auto props = Read(text);
    ASSERT_GT(props.size(), 60u);
    EXPECT_EQ(props[5 + 7].value, "On");
    EXPECT_EQ(props[5 + 9].name, "SteerAngle");
    EXPECT_EQ(props[5 + 9].value, "10.0");
    // Shading gives the outer drivers less level than the centre ones.
    EXPECT_LT(props[15 + 1].value.toDouble(), props[15 + 2 * 24 + 1].value.toDouble());

    const std::pair<QString, const char*> formats[] = {
        {beamInfoAngle(10.0 * kRadiansPerDegree), "10.0"},
        {beamInfoAngle(-0.3490658503988659), "-20.0"},
        {beamInfoNumber(0.000125 * 1e6), "125"},
        {beamInfoNumber(12.5), "12.5"},
        {beamInfoNumber(12.25), "12.25"},
        {beamInfoNumber(1234567.0), "1.23457e+06"},
        {beamAlgorithmName(0), ""},
        {beamAlgorithmName(4), ""},
    };
    for (const auto& f : formats)
        EXPECT_EQ(f.first, f.second);

    // No beam: an empty "Beams"; no node: no text at all.
    QString noBeam;
    writeBeamInfoXml(noBeam, BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster()));
    EXPECT_TRUE(noBeam.contains(QRegularExpression("<Beams(/>|></Beams>)"))) << noBeam.toStdString();
    EXPECT_EQ(Read(noBeam).size(), 5u);
    QString none;
    writeBeamInfoXml(none, nullptr);
    EXPECT_TRUE(none.isEmpty());
}

} // namespace
} // namespace zorvpro
