#pragma once

#include "acoustics/data/LoudspeakerImpl.h"

#include <memory>
#include <string>

namespace zorvpro::acoustics
{

// Reads the data-set archive at the path into a new loudspeaker model.
// Returns empty when the archive holds no usable model: not a zip, no
// "Main.xml", XML that does not parse, another document element, or a binary
// model file that cannot be opened; `reason`, when given, then says which.
// Throws std::invalid_argument for data that is present but invalid
// ("Invalid dxf type", "Invalid connection yaw/roll/pitch", "Invalid
// arguments Polar::ctor", and corrupt binary content).
std::shared_ptr<LoudspeakerImpl> loadLoudspeakerDataSet(const std::string& path,
                                                        std::string* reason = nullptr);

} // namespace zorvpro::acoustics
