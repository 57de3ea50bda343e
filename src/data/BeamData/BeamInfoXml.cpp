#include "data/BeamData/BeamInfoXml.h"

#include <QXmlStreamWriter>

#include <cmath>

namespace zorvpro
{
namespace
{

const QString kName = QStringLiteral("name");
const QString kValue = QStringLiteral("value");
const QString kDriver = QStringLiteral("driver");
const QString kUnits = QStringLiteral("units");
const QString kDegrees = QStringLiteral("Degrees");
const QString kMetres = QStringLiteral("m");
const QString kDecibels = QStringLiteral("dB");
const QString kMicroseconds = QStringLiteral("usec");
const QString kHertz = QStringLiteral("Hz");

constexpr double kDegreesPerRadian = 57.29577951308232;

QString Degrees(double radians)
{
    return beamInfoAngle(radians);
}
QString General(double value)
{
    return beamInfoNumber(value);
}

// The driver table keeps a linear amplitude, 0 standing for full level.
double WeightToDecibels(double weight)
{
    const double amplitude = weight == 0.0 ? 1.0 : std::fabs(weight);
    return 20.0 * std::log10(amplitude);
}

class PropertyWriter
{
public:
    explicit PropertyWriter(QXmlStreamWriter& xml) : m_xml(xml) {}

    void Write(const QString& name, const QString& value, const QString& units = QString(), int driver = -1)
    {
        m_xml.writeEmptyElement(QStringLiteral("Property"));
        m_xml.writeAttribute(kName, name);
        m_xml.writeAttribute(kValue, value);
        if (driver >= 0)
            m_xml.writeAttribute(kDriver, QString::number(driver));
        if (!units.isEmpty())
            m_xml.writeAttribute(kUnits, units);
    }

private:
    QXmlStreamWriter& m_xml;
};

void WriteBeam(QXmlStreamWriter& xml, BeamSpeakerClusterNode& node, uint32_t beam)
{
    PropertyWriter property(xml);
    xml.writeStartElement(QStringLiteral("Beam"));
    xml.writeStartElement(QStringLiteral("Properties"));
    const uint32_t algorithm = node.GetBeamAlgorithm(beam);
    property.Write(QStringLiteral("Index"), QString::number(beam));
    property.Write(QStringLiteral("Algorithm"), beamAlgorithmName(algorithm));
    property.Write(QStringLiteral("DistanceTop"), General(node.GetBeamTopRearDistance(beam)), kMetres);
    property.Write(QStringLiteral("DistanceBottom"), General(node.GetBeamBottomFrontDistance(beam)), kMetres);
    property.Write(QStringLiteral("AngleTop"), Degrees(node.GetBeamTopRearAngle(beam)), kDegrees);
    property.Write(QStringLiteral("AngleBottom"), Degrees(node.GetBeamBottomFrontAngle(beam)), kDegrees);
    property.Write(QStringLiteral("BeamGain"), General(node.GetBeamGain(beam)), kDecibels);
    property.Write(QStringLiteral("GainShade"),
                   node.GetBeamSmoothing(beam) ? QStringLiteral("On") : QStringLiteral("Off"));
    if (algorithm == 1)
        property.Write(QStringLiteral("SpreadAngle"), Degrees(node.GetBeamSpreading(beam)), kDegrees);
    if (algorithm == 1 || algorithm == 2)
        property.Write(QStringLiteral("SteerAngle"), Degrees(node.GetBeamSteering(beam)), kDegrees);
    const auto drivers = node.GetBeamDriverTable(beam);
    for (size_t i = 0; i < drivers.size(); ++i)
    {
        const int driver = static_cast<int>(i);
        property.Write(QStringLiteral("Delay"), General(drivers[i].totalDelay * 1e6), kMicroseconds, driver);
        property.Write(QStringLiteral("Gain"), General(WeightToDecibels(drivers[i].weight)), kDecibels,
                       driver);
    }
    property.Write(QStringLiteral("ArrayEQGain"), General(node.GetBeamEqGain(beam)), kDecibels);
    property.Write(QStringLiteral("ArrayEQFrequency"), General(node.GetBeamEqFrequency(beam)), kHertz);
    property.Write(QStringLiteral("ArrayEQTilt"), General(node.GetBeamEqTilt(beam)));
    xml.writeEndElement(); // Properties
    xml.writeEndElement(); // Beam
}

} // namespace

QString beamInfoAngle(double radians)
{
    return QString::number(radians * kDegreesPerRadian, 'f', 1);
}

QString beamInfoNumber(double value)
{
    return QString::number(value, 'g', 6);
}

QString beamAlgorithmName(uint32_t algorithm)
{
    switch (algorithm)
    {
    case 1:
        return QStringLiteral("Symmetric Gain+Delay");
    case 2:
        return QStringLiteral("Asymmetric Delay");
    case 3:
        return QStringLiteral("Asymmetric Spiral");
    default:
        return QString();
    }
}

void writeBeamInfoXml(QString& target, const BeamSpeakerClusterNodePtr& node)
{
    if (!node)
        return;
    QXmlStreamWriter xml(&target);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    PropertyWriter property(xml);

    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("TQR40V"));
    xml.writeStartElement(QStringLiteral("Arrays"));
    xml.writeStartElement(QStringLiteral("Array"));

    xml.writeStartElement(QStringLiteral("Physical"));
    xml.writeStartElement(QStringLiteral("Properties"));
    property.Write(QStringLiteral("Pitch"), Degrees(node->GetPitch()), kDegrees);
    xml.writeEndElement(); // Properties
    xml.writeEndElement(); // Physical

    xml.writeStartElement(QStringLiteral("Design"));
    xml.writeStartElement(QStringLiteral("Properties"));
    property.Write(QStringLiteral("Name"), QString::fromStdString(node->GetName()));
    property.Write(QStringLiteral("Comments"), QString::fromStdString(node->GetUserNote()));
    property.Write(QStringLiteral("ModuleCount"), QString::number(node->GetChildren().size()));
    xml.writeEndElement(); // Properties

    xml.writeStartElement(QStringLiteral("Presets"));
    xml.writeStartElement(QStringLiteral("Preset"));
    xml.writeStartElement(QStringLiteral("Properties"));
    property.Write(QStringLiteral("Description"), QStringLiteral("preset #1"));
    xml.writeEndElement(); // Properties

    xml.writeStartElement(QStringLiteral("Beams"));
    const uint32_t beams = node->GetBeamCount();
    for (uint32_t beam = 0; beam < beams; ++beam)
        WriteBeam(xml, *node, beam);
    xml.writeEndElement(); // Beams
    xml.writeEndElement(); // Preset
    xml.writeEndElement(); // Presets
    xml.writeEndElement(); // Design
    xml.writeEndElement(); // Array
    xml.writeEndElement(); // Arrays
    xml.writeEndElement(); // TQR40V
    xml.writeEndDocument();
}

} // namespace zorvpro
