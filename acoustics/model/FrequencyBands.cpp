#include "acoustics/model/FrequencyBands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace zorvpro::acoustics
{

namespace
{

constexpr double LowestFrequency = 31.5;
constexpr double HighestFrequency = 16000.0;
// 10^(3/10): the base-ten octave ratio.
constexpr double OctaveRatio = 1.9952623149688795;

std::string toLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const std::map<int32_t, std::string>& splBandwidthChoices()
{
    static const std::map<int32_t, std::string> choices{{OctaveBands, "Octave"},
                                                        {ThirdOctaveBands, "1/3 Octave"},
                                                        {AllBands, "All Bands"},
                                                        {VocalBands, "Vocal Bands"}};
    return choices;
}

// Display order of the bandwidth choices.
const std::vector<int32_t>& splBandwidthOrder()
{
    static const std::vector<int32_t> order{OctaveBands, ThirdOctaveBands, AllBands, VocalBands};
    return order;
}

const std::map<uint32_t, std::string>& splResolutionChoices()
{
    static const std::map<uint32_t, std::string> choices{{0, "High"}, {1, "Medium"}, {2, "Low"}};
    return choices;
}

CoverageMapFreqs makeSeriesEntry(int32_t code)
{
    const auto b = static_cast<uint32_t>(code);
    auto nominals = makeBandFrequencies(b, LowestFrequency, HighestFrequency, true);
    auto labels = frequencyLabels(nominals, true, false);
    return CoverageMapFreqs(
        code, bandwidthName(code), makeBandFrequencies(b, LowestFrequency, HighestFrequency, false),
        std::move(nominals), std::move(labels), makeOctaveBands(b, LowestFrequency, HighestFrequency));
}

// A single band spanning lower .. upper, centred on the mean of its edges.
CoverageMapFreqs makeRangeEntry(int32_t code, double lower, double upper)
{
    const double centre = (lower + upper) / 2.0;
    return CoverageMapFreqs(code, bandwidthName(code), {centre}, {centre},
                            frequencyLabels({lower, upper}, true, true),
                            {OctaveBand(lower, centre, upper, centre)});
}

const CoverageMapFreqs* findEntry(int32_t code)
{
    const auto& table = bandTable();
    auto it = table.find(code);
    return it == table.end() ? nullptr : &it->second;
}

} // namespace

CoverageMapFreqs::CoverageMapFreqs(int32_t code_, std::string name_, std::vector<double> centres_,
                                   std::vector<double> nominals_, std::vector<std::string> labels_,
                                   std::vector<OctaveBand> bands_)
    : code(code_), name(std::move(name_)), centres(std::move(centres_)), nominals(std::move(nominals_)),
      labels(std::move(labels_)), bands(std::move(bands_))
{
    const size_t n = centres.size();
    if (nominals.size() != n || labels.size() != n || bands.size() != n)
    {
        centres.clear();
        nominals.clear();
        labels.clear();
        bands.clear();
    }
}

std::string bandwidthName(int32_t code)
{
    switch (code)
    {
    case -2:
        return "Vocal Bands";
    case -1:
        return "All Bands";
    case 0:
        return "Broadband";
    case 1:
        return "Octave";
    case 3:
        return "1/3 Octave";
    case 6:
        return "1/6 Octave";
    case 12:
        return "1/12 Octave";
    case 24:
        return "1/24 Octave";
    case 48:
        return "1/48 Octave";
    default:
        return {};
    }
}

double bandCentreFrequency(uint32_t b, uint32_t x, double* lower, double* upper)
{
    if (b == 0)
        return 0.0;
    const double bd = b;
    const double exponent = (b % 2 == 1) ? x / bd : (2.0 * x + 1.0) / (2.0 * bd);
    const double centre = std::pow(OctaveRatio, exponent);
    if (lower)
        *lower = std::pow(OctaveRatio, -1.0 / (2.0 * bd)) * centre;
    if (upper)
        *upper = std::pow(OctaveRatio, 1.0 / (2.0 * bd)) * centre;
    return centre;
}

namespace
{

// Walks the series from index 0 and hands every band whose centre lies in
// lowest .. highest to take; the last band is the first whose upper edge
// passes highest.
template <typename Take> void walkBands(uint32_t b, double lowest, double highest, Take take)
{
    if (b < 1 || lowest <= 0.0 || highest <= lowest)
        return;
    uint32_t x = 0;
    double upper = 0.0;
    while (highest >= upper)
    {
        double lower = 0.0;
        const double centre = bandCentreFrequency(b, x, &lower, &upper);
        if (centre > highest)
            break;
        ++x;
        if (centre >= lowest)
            take(lower, centre, upper);
    }
}

} // namespace

std::vector<OctaveBand> makeOctaveBands(uint32_t b, double lowest, double highest)
{
    std::vector<OctaveBand> bands;
    walkBands(b, lowest, highest,
              [&](double lower, double centre, double upper)
              { bands.emplace_back(lower, centre, upper, roundToNominalFrequency(centre, b)); });
    return bands;
}

std::vector<double> makeBandFrequencies(uint32_t b, double lowest, double highest, bool nominal)
{
    std::vector<double> frequencies;
    walkBands(b, lowest, highest,
              [&](double, double centre, double)
              { frequencies.push_back(nominal ? roundToNominalFrequency(centre, b) : centre); });
    return frequencies;
}

double roundToNominalFrequency(double f, uint32_t b)
{
    if (f <= 0.0 || b == 0)
        return f;
    const auto e = static_cast<int>(std::trunc(std::log10(f) - 1.0));
    const double s = std::pow(10.0, e);
    const double m = f / s;
    double r = 0.0;
    if (b % 2 == 1)
    {
        r = std::round(2.0 * m) / 2.0;
        // 794.33 Hz is called 800 Hz, not 795 Hz.
        if (r == 79.5)
            r = 80.0;
    }
    else
    {
        r = (m < 50.0) ? std::floor(100.0 * m + 0.5) / 100.0 : std::floor(10.0 * m + 0.5) / 10.0;
    }
    return r * s;
}

std::string formatFrequency(double f, bool withUnit)
{
    if (f <= 0.0)
        return {};
    const double x = f < 1000.0 ? f : f * 0.001;
    double whole = 0.0;
    const double frac = std::modf(x, &whole);
    int decimals = 0;
    if (frac != 0.0)
    {
        const double q = std::floor((frac * 10.0) * 100.0 + 0.5) * 0.01;
        double qWhole = 0.0;
        decimals = std::modf(q, &qWhole) != 0.0 ? 2 : 1;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    std::string result(text);
    if (withUnit)
        result += f < 1000.0 ? " Hz" : " kHz";
    return result;
}

std::vector<std::string> frequencyLabels(const std::vector<double>& frequencies, bool withUnit, bool asRange)
{
    std::vector<std::string> labels;
    if (asRange && frequencies.size() == 2)
    {
        labels.push_back(formatFrequency(frequencies[0], withUnit) + " - " +
                         formatFrequency(frequencies[1], withUnit));
        return labels;
    }
    labels.reserve(frequencies.size());
    for (double f : frequencies)
        labels.push_back(formatFrequency(f, withUnit));
    return labels;
}

const BandTable& bandTable()
{
    static const BandTable table = []
    {
        BandTable t;
        t.emplace(OctaveBands, makeSeriesEntry(OctaveBands));
        t.emplace(ThirdOctaveBands, makeSeriesEntry(ThirdOctaveBands));
        t.emplace(VocalBands, makeRangeEntry(VocalBands, 1000.0, 4000.0));
        t.emplace(AllBands, makeRangeEntry(AllBands, LowestFrequency, HighestFrequency));
        return t;
    }();
    return table;
}

const std::vector<double>& coverageMapFrequencies(int32_t code, bool nominal)
{
    static const std::vector<double> none;
    const auto* entry = findEntry(code);
    if (!entry)
        return none;
    return nominal ? entry->nominals : entry->centres;
}

std::vector<std::string> bandLabels(int32_t code)
{
    const auto* entry = findEntry(code);
    return entry ? entry->labels : std::vector<std::string>{};
}

double frequencyForLabel(int32_t code, const std::string& label)
{
    const auto* entry = findEntry(code);
    if (!entry)
        return 0.0;
    for (size_t i = 0; i < entry->labels.size(); ++i)
        if (entry->labels[i] == label)
            return entry->nominals[i];
    return 0.0;
}

std::string labelForFrequency(int32_t code, double f)
{
    const auto* entry = findEntry(code);
    if (!entry)
        return {};
    double largest = 0.0;
    for (size_t i = 0; i < entry->nominals.size(); ++i)
    {
        if (entry->nominals[i] == f)
            return entry->labels[i];
        largest = std::max(largest, entry->nominals[i]);
    }
    double best = largest;
    std::string candidate;
    for (size_t i = 0; i < entry->nominals.size(); ++i)
    {
        const double distance = std::fabs(entry->nominals[i] - f);
        if (distance < best)
        {
            best = distance;
            candidate = entry->labels[i];
        }
    }
    return candidate;
}

const DoubleBuffer& frequencyTable(int32_t code)
{
    static const DoubleBuffer empty;
    static const DoubleBuffer thirdOctaves = []
    {
        const auto& nominals = coverageMapFrequencies(ThirdOctaveBands, true);
        DoubleBuffer table(nominals.size());
        std::copy(nominals.begin(), nominals.end(), table.begin());
        return table;
    }();
    return code == ThirdOctaveBands ? thirdOctaves : empty;
}

std::vector<std::string> splBandwidthNames()
{
    std::vector<std::string> names;
    for (int32_t code : splBandwidthOrder())
        names.push_back(splBandwidthChoices().at(code));
    return names;
}

int32_t splBandwidthFromName(const std::string& name)
{
    const std::string wanted = toLower(name);
    for (int32_t code : splBandwidthOrder())
        if (toLower(splBandwidthChoices().at(code)) == wanted)
            return code;
    return 0;
}

std::string splBandwidthName(int32_t code)
{
    const auto& choices = splBandwidthChoices();
    auto it = choices.find(code);
    if (it == choices.end())
        throw std::out_of_range("invalid map<K, T> key");
    return it->second;
}

std::vector<std::string> splResolutionNames()
{
    std::vector<std::string> names;
    for (const auto& [index, name] : splResolutionChoices())
        names.push_back(name);
    return names;
}

uint32_t splResolutionIndex(double value)
{
    if (value == 0.5)
        return 0;
    if (value == 1.0)
        return 1;
    if (value == 2.0)
        return 2;
    return 3;
}

uint32_t splResolutionFromName(const std::string& name)
{
    const std::string wanted = toLower(name);
    for (const auto& [index, text] : splResolutionChoices())
        if (toLower(text) == wanted)
            return index;
    return 3;
}

double splResolutionValue(uint32_t index)
{
    switch (index)
    {
    case 0:
        return 0.5;
    case 1:
        return 1.0;
    case 2:
        return 2.0;
    default:
        return 0.0;
    }
}

std::string splResolutionName(uint32_t index)
{
    const auto& choices = splResolutionChoices();
    auto it = choices.find(index);
    return it == choices.end() ? choices.at(1) : it->second;
}

bool isValidSplResolution(double value)
{
    return splResolutionIndex(value) < 3;
}

double defaultSplResolution()
{
    return 1.0;
}

} // namespace zorvpro::acoustics
