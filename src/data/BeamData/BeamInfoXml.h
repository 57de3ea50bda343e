#pragma once

#include "data/Nodes/BeamSpeakerClusterNode.h"

#include <QString>

#include <cstdint>

namespace zorvpro
{

// The beam settings of one steerable array as the DSP-configuration
// application reads them. Writes nothing (the text stays empty) without a node.
void writeBeamInfoXml(QString& target, const BeamSpeakerClusterNodePtr& node);

// "Symmetric Gain+Delay", "Asymmetric Delay", "Asymmetric Spiral" for 1 to 3,
// an empty text for anything else.
QString beamAlgorithmName(uint32_t algorithm);

// The document's number formats: an angle in radians as degrees with one
// decimal; lengths, gains, delays and equaliser values with 6 significant digits.
QString beamInfoAngle(double radians);
QString beamInfoNumber(double value);

} // namespace zorvpro
