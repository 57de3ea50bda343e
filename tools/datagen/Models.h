#pragma once

#include "tools/datagen/Archive.h"
#include "tools/datagen/Descriptor.h"
#include "tools/datagen/ModelFile.h"

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace zorvpro::datagen
{

// Facts of the steerable array module, shared by the generator and its tests.
constexpr const char* kArrayModelName = "TQR40V";
constexpr const char* kArrayFamily = "TQR";
constexpr double kArrayModuleHeight = 0.984;
constexpr int kArrayDriverCount = 16;
constexpr float kArrayPolarStep = 5.0f;

constexpr const char* kPointSourceName = "TQP8";
constexpr const char* kPointSourceFamily = "TQP";

// Nominal third-octave band centres, 31.5 Hz to 16 kHz.
const std::vector<double>& NominalBands();

// Attenuation in dB of a driver at off-axis angle theta (degrees from +x) and
// azimuth phi (degrees, 0 = horizontal +y, 90 = up +z) in band b: the
// horizontal coverage narrows with frequency, the vertical stays wide.
float DriverAttenuation(double thetaDeg, double phiDeg, int band);
std::vector<float> DirectionalMagnitudes(float stepDegrees);

// The parts of the array module; tests change copies of them.
ModelFile ArrayModelFile();
Descriptor ArrayDescriptor();
DataSet MakeArrayDataSet();

// A small point source written with the older format versions.
ModelFile PointSourceModelFile();
Descriptor PointSourceDescriptor();
DataSet MakePointSourceDataSet();

// Assembles an archive from a descriptor and a model file (entries at the
// names the descriptor's paths give) plus any extra entries.
DataSet Assemble(const std::string& fileName, const Descriptor& d, const ModelFile& m,
                 std::vector<ArchiveEntry> extra = {});

// Writes the standard data sets into the folder; returns the files written.
std::vector<juce::File> WriteStandardDataSets(const juce::File& folder);

} // namespace zorvpro::datagen
