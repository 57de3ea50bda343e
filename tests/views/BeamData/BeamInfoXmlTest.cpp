#include "data/BeamData/BeamInfoXml.h"
#include "tests/bridge/BridgeTestSupport.h"

#include <QDomDocument>
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

QDomDocument Parse(const QString& text)
{
    QDomDocument doc;
    QString error;
    EXPECT_TRUE(doc.setContent(text, &error)) << error.toStdString();
    return doc;
}

QDomElement Path(QDomElement element, const QStringList& tags)
{
    for (const QString& tag : tags)
        element = element.firstChildElement(tag);
    return element;
}

struct Property
{
    QString name, value, units;
    int driver = -1;
    bool hasUnits = false;
};

std::vector<Property> Properties(const QDomElement& parent)
{
    std::vector<Property> out;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
    {
        EXPECT_EQ(e.tagName(), "Property");
        EXPECT_FALSE(e.hasChildNodes());
        out.push_back({e.attribute("name"), e.attribute("value"), e.attribute("units"),
                       e.hasAttribute("driver") ? e.attribute("driver").toInt() : -1,
                       e.hasAttribute("units")});
    }
    return out;
}

// Every property's attributes come as name, value, driver (only per driver),
// units (only when not empty); the DOM keeps no order, so read the text.
void ExpectAttributeOrder(const QString& text)
{
    QXmlStreamReader reader(text);
    int count = 0;
    while (!reader.atEnd())
    {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != QLatin1String("Property"))
            continue;
        ++count;
        QStringList names;
        for (const QXmlStreamAttribute& a : reader.attributes())
        {
            names << a.name().toString();
            if (a.name() == QLatin1String("units"))
            {
                EXPECT_FALSE(a.value().isEmpty());
            }
        }
        const QString name = reader.attributes().value("name").toString();
        QStringList expected{"name", "value"};
        if (name == "Delay" || name == "Gain")
            expected << "driver";
        if (names.contains("units"))
            expected << "units";
        EXPECT_EQ(names, expected) << name.toStdString();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_GT(count, 0);
}

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
        const QDomDocument doc = Parse(text);
        const QDomElement array = Path(doc.documentElement(), {"Arrays", "Array"});
        ASSERT_EQ(doc.documentElement().tagName(), "TQR40V");

        const auto physical = Properties(Path(array, {"Physical", "Properties"}));
        ASSERT_EQ(physical.size(), 1u);
        EXPECT_EQ(physical[0].name, "Pitch");
        EXPECT_EQ(physical[0].value, "-5.0");
        EXPECT_EQ(physical[0].units, "Degrees");

        const auto design = Properties(Path(array, {"Design", "Properties"}));
        ASSERT_EQ(design.size(), 3u);
        EXPECT_EQ(design[0].value, QString::fromUtf8("Main \xC3\xBC array"));
        EXPECT_EQ(design[1].value, "left hang");
        EXPECT_EQ(design[2].name, "ModuleCount");
        EXPECT_EQ(design[2].value, "2");
        for (const Property& p : design)
            EXPECT_FALSE(p.hasUnits) << p.name.toStdString();
        ExpectAttributeOrder(text);

        const QDomElement preset = Path(array, {"Design", "Presets", "Preset"});
        const auto description = Properties(preset.firstChildElement("Properties"));
        ASSERT_EQ(description.size(), 1u);
        EXPECT_EQ(description[0].value, "preset #1");
        EXPECT_EQ(preset.firstChildElement().tagName(), "Properties");
        EXPECT_EQ(preset.lastChildElement().tagName(), "Beams");

        uint32_t b = 0;
        for (QDomElement beam = preset.firstChildElement("Beams").firstChildElement(); !beam.isNull();
             beam = beam.nextSiblingElement(), ++b)
        {
            SCOPED_TRACE(testing::Message() << "beam " << b);
            ASSERT_EQ(beam.tagName(), "Beam");
            const auto props = Properties(beam.firstChildElement("Properties"));
            const auto drivers = node->GetBeamDriverTable(b);
            ASSERT_EQ(drivers.size(), 2u * 16u);
            QStringList expected{"Index",    "Algorithm",   "DistanceTop", "DistanceBottom",
                                 "AngleTop", "AngleBottom", "BeamGain",    "GainShade"};
            if (c.spread)
                expected << "SpreadAngle";
            if (c.steer)
                expected << "SteerAngle";
            const int firstDriver = expected.size();
            for (size_t i = 0; i < drivers.size(); ++i)
                expected << "Delay"
                         << "Gain";
            expected << "ArrayEQGain"
                     << "ArrayEQFrequency"
                     << "ArrayEQTilt";
            QStringList names;
            for (const Property& p : props)
                names << p.name;
            ASSERT_EQ(names, expected);
            EXPECT_EQ(props[0].value, QString::number(b));
            EXPECT_EQ(props[1].value, c.name);
            EXPECT_EQ(props[2].units, "m");
            EXPECT_EQ(props[4].units, "Degrees");
            EXPECT_EQ(props[6].units, "dB");
            EXPECT_EQ(props[7].value, node->GetBeamSmoothing(b) ? "On" : "Off");
            for (size_t i = 0; i < drivers.size(); ++i)
            {
                const Property& delay = props[firstDriver + 2 * i];
                const Property& gain = props[firstDriver + 2 * i + 1];
                EXPECT_EQ(delay.driver, static_cast<int>(i));
                EXPECT_EQ(gain.driver, static_cast<int>(i));
                EXPECT_EQ(delay.units, "usec");
                EXPECT_EQ(gain.units, "dB");
                EXPECT_NEAR(delay.value.toDouble(), drivers[i].totalDelay * 1e6,
                            1e-5 * std::max(1.0, drivers[i].totalDelay * 1e6));
                const double weight = drivers[i].weight == 0.0 ? 1.0 : drivers[i].weight;
                EXPECT_NEAR(gain.value.toDouble(), 20.0 * std::log10(weight), 1e-4);
            }
            EXPECT_EQ(props[props.size() - 2].units, "Hz");
            EXPECT_TRUE(props.back().units.isEmpty());
            EXPECT_FALSE(props.back().hasUnits);
            EXPECT_FALSE(props[0].hasUnits);
        }
        EXPECT_EQ(b, c.beams);
    }
}

TEST(BeamInfoXml, ShapedBeamValuesAndNumberFormats)
{
    auto node = Array(3, 1, 1);
    node->SetBeamSmoothing(0, true);
    node->SetBeamSteering(0, 10.0 * kRadiansPerDegree);
    QString text;
    writeBeamInfoXml(text, node);
    const auto props =
        Properties(Path(Parse(text).documentElement(),
                        {"Arrays", "Array", "Design", "Presets", "Preset", "Beams", "Beam", "Properties"}));
    ASSERT_GT(props.size(), 10u);
    EXPECT_EQ(props[7].value, "On");
    EXPECT_EQ(props[9].name, "SteerAngle");
    EXPECT_EQ(props[9].value, "10.0");
    // Shading gives the outer drivers less level than the centre ones.
    const auto drivers = node->GetBeamDriverTable(0);
    ASSERT_EQ(drivers.size(), 48u);
    EXPECT_LT(props[10 + 1].value.toDouble(), props[10 + 2 * 24 + 1].value.toDouble());

    struct Format
    {
        double value;
        bool angle;
        const char* text;
    };
    const Format formats[] = {
        {10.0 * kRadiansPerDegree, true, "10.0"},
        {-0.3490658503988659, true, "-20.0"},
        {0.0, true, "0.0"},
        {0.000125 * 1e6, false, "125"},
        {12.5, false, "12.5"},
        {12.25, false, "12.25"},
        {1234567.0, false, "1.23457e+06"},
        {-3.0, false, "-3"},
    };
    for (const Format& f : formats)
        EXPECT_EQ((f.angle ? beamInfoAngle(f.value) : beamInfoNumber(f.value)), f.text) << f.text;
    EXPECT_TRUE(beamAlgorithmName(0).isEmpty());
    EXPECT_TRUE(beamAlgorithmName(4).isEmpty());
}

TEST(BeamInfoXml, NoBeamGivesEmptyBeamsAndNoNodeNoText)
{
    auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    ASSERT_EQ(node->GetBeamCount(), 0u);
    QString text;
    writeBeamInfoXml(text, node);
    const QDomElement beams =
        Path(Parse(text).documentElement(), {"Arrays", "Array", "Design", "Presets", "Preset", "Beams"});
    ASSERT_FALSE(beams.isNull());
    EXPECT_FALSE(beams.hasChildNodes());

    QString none;
    writeBeamInfoXml(none, nullptr);
    EXPECT_TRUE(none.isEmpty());
}

} // namespace
} // namespace zorvpro
