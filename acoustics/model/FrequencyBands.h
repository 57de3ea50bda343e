#pragma once

#include "acoustics/model/DoubleBuffer.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace zorvpro::acoustics
{

// Bandwidth codes: a positive code b means bands 1/b octave wide.
enum BandwidthCode : int32_t
{
    VocalBands = -2,
    AllBands = -1,
    Broadband = 0,
    OctaveBands = 1,
    ThirdOctaveBands = 3,
};

// Number of bands of the calculation (one-third octaves 31.5 Hz .. 16 kHz).
constexpr uint32_t CalculationBandCount = 28;

class OctaveBand
{
public:
    OctaveBand() = default;
    OctaveBand(double lower, double centre, double upper, double nominal)
        : lowerEdge(lower), centreFrequency(centre), upperEdge(upper), nominalFrequency(nominal)
    {
    }
    virtual ~OctaveBand() = default;
    OctaveBand(const OctaveBand&) = default;
    OctaveBand& operator=(const OctaveBand&) = default;

    double lowerEdge = 0.0;
    double centreFrequency = 0.0;
    double upperEdge = 0.0;
    double nominalFrequency = 0.0;
};

// The bands of one bandwidth code. The four lists always have equal length.
class CoverageMapFreqs
{
public:
    CoverageMapFreqs(int32_t code, std::string name, std::vector<double> centres,
                     std::vector<double> nominals, std::vector<std::string> labels,
                     std::vector<OctaveBand> bands);
    virtual ~CoverageMapFreqs() = default;
    CoverageMapFreqs(const CoverageMapFreqs&) = default;
    CoverageMapFreqs(CoverageMapFreqs&&) = default;

    int32_t code;
    std::string name;
    std::vector<double> centres;
    std::vector<double> nominals;
    std::vector<std::string> labels;
    std::vector<OctaveBand> bands;
};

using BandTable = std::unordered_map<int32_t, CoverageMapFreqs>;

std::string bandwidthName(int32_t code);

// Centre of band x of fraction b (base-ten series referred to 1 Hz); the
// edges are written when given. b = 0 gives 0 and leaves the edges alone.
double bandCentreFrequency(uint32_t b, uint32_t x, double* lower = nullptr, double* upper = nullptr);
std::vector<OctaveBand> makeOctaveBands(uint32_t b, double lowest, double highest);
std::vector<double> makeBandFrequencies(uint32_t b, double lowest, double highest, bool nominal);
double roundToNominalFrequency(double f, uint32_t b);

std::string formatFrequency(double f, bool withUnit);
std::vector<std::string> frequencyLabels(const std::vector<double>& frequencies, bool withUnit, bool asRange);

// The process-wide band table (codes 1, 3, -2, -1), built on first use.
const BandTable& bandTable();
const std::vector<double>& coverageMapFrequencies(int32_t code, bool nominal);
std::vector<std::string> bandLabels(int32_t code);
double frequencyForLabel(int32_t code, const std::string& label);
std::string labelForFrequency(int32_t code, double f);

// The 28 nominal one-third-octave frequencies for code 3; empty otherwise.
const DoubleBuffer& frequencyTable(int32_t code);

std::vector<std::string> splBandwidthNames();
int32_t splBandwidthFromName(const std::string& name);
// Throws std::out_of_range for a code that is not a choice.
std::string splBandwidthName(int32_t code);

std::vector<std::string> splResolutionNames();
uint32_t splResolutionIndex(double value);
uint32_t splResolutionFromName(const std::string& name);
double splResolutionValue(uint32_t index);
std::string splResolutionName(uint32_t index);
bool isValidSplResolution(double value);
double defaultSplResolution();

} // namespace zorvpro::acoustics
