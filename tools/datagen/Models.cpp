#include "tools/datagen/Models.h"

#include "tools/datagen/EqTables.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::datagen
{
namespace
{

constexpr double kPi = 3.141592653589793;

// Joins an entry name the way the reader resolves "path" attributes.
std::string JoinPath(std::initializer_list<std::string> parts, const std::string& file)
{
    std::string dir;
    for (const std::string& p : parts)
    {
        std::string part = p;
        std::replace(part.begin(), part.end(), '\\', '/');
        dir += part;
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
    }
    return dir + file;
}

std::vector<float> PerBand(float (*f)(double hz))
{
    std::vector<float> values;
    for (double hz : NominalBands())
        values.push_back(f(hz));
    return values;
}

} // namespace

const std::vector<double>& NominalBands()
{
    static const std::vector<double> bands{31.5, 40,   50,   63,   80,   100,   125,   160,  200,  250,
                                           315,  400,  500,  630,  800,  1000,  1250,  1600, 2000, 2500,
                                           3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000};
    return bands;
}

float DriverAttenuation(double thetaDeg, double phiDeg, int band)
{
    const double hz = NominalBands()[static_cast<size_t>(band)];
    const double octaves = std::log2(std::max(hz, 125.0) / 125.0); // 0 .. 7
    // Half-angle at which the level is 6 dB down.
    const double horizontal = std::max(45.0, 180.0 - 19.0 * octaves);
    const double vertical = std::max(90.0, 180.0 - 11.0 * octaves);
    const double c = std::cos(phiDeg * kPi / 180.0), s = std::sin(phiDeg * kPi / 180.0);
    const double halfAngle =
        1.0 / std::sqrt(c * c / (horizontal * horizontal) + s * s / (vertical * vertical));
    const double ratio = thetaDeg / halfAngle;
    return static_cast<float>(std::min(40.0, 6.0 * ratio * ratio));
}

std::vector<float> DirectionalMagnitudes(float stepDegrees)
{
    const double radians = static_cast<double>(stepDegrees) * 0.017453292519943295;
    const double d = radians * 57.29577951308232;
    const uint32_t azimuths = static_cast<uint32_t>(std::trunc(360.0 / d));
    const uint32_t polars = static_cast<uint32_t>(std::trunc(180.0 / d)) + 1;
    std::vector<float> values;
    values.reserve(static_cast<size_t>(azimuths) * polars * kBandCount);
    for (uint32_t i = 0; i < azimuths; ++i)
        for (uint32_t j = 0; j < polars; ++j)
            for (int b = 0; b < kBandCount; ++b)
                values.push_back(DriverAttenuation(j * d, i * d, b));
    return values;
}

ModelFile ArrayModelFile()
{
    ModelFile m;
    m.version = kVersionCurrent;
    m.name = kArrayModelName;
    m.description = "Steerable column module";
    m.componentValue = 21.5f;
    m.withExtraGrid = true;

    TransformerRecord t;
    t.name = "Direct";
    t.tapCode = 0;
    t.id = 0;
    m.transformers.push_back(t);

    PolarRecord p;
    p.version = kVersionCurrent;
    p.name = "TQR40V driver";
    p.label = "4in cone";
    p.stepDegrees = kArrayPolarStep;
    p.polarId = 0;
    p.point = {0.0f, 0.0f, 0.0f};
    // Sensitivity in dB re 20 uPa at 1 m: rolls off below 200 Hz.
    p.bands[1] = PerBand(
        [](double hz) { return static_cast<float>(hz >= 200 ? 92.0 : 92.0 - 12.0 * std::log2(200.0 / hz)); });
    // Power headroom per band; bands the driver cannot reproduce are 0.
    p.bands[3] = PerBand([](double hz) { return hz < 63 ? 0.0f : 15.85f; });
    p.magnitudes = DirectionalMagnitudes(p.stepDegrees);
    p.phases.assign(p.magnitudes.size(), 0.0f);
    p.hasPhases = true;
    uint32_t selection = 0xFFFFFFFFu;
    for (int b = 0; b < kBandCount; ++b)
        if (!(p.bands[3][static_cast<size_t>(b)] > 0.0f))
            selection &= ~(1u << b);
    p.bandSelection = selection;
    m.polars.push_back(p);

    // Drivers are listed from the top, as modules stack downwards: the driver table of a
    // column then runs from its top driver to its bottom one without a jump.
    const double pitch = kArrayModuleHeight / kArrayDriverCount;
    for (int i = 0; i < kArrayDriverCount; ++i)
    {
        TransducerRecord d;
        d.name = "Driver " + std::to_string(i + 1);
        d.position = {0.0f, 0.0f, static_cast<float>((kArrayDriverCount - i - 0.5) * pitch)};
        d.levelFactor = 1.0f;
        d.transformerId = 0;
        d.polarId = 0;
        m.transducers.push_back(d);
    }

    m.faces = BoxFaces({-0.12f, -0.05f, 0.0f}, {0.0f, 0.05f, static_cast<float>(kArrayModuleHeight)});
    // Record types without a face keep their place in the list.
    FaceRecord marker;
    marker.recordType = 0;
    m.faces.push_back(marker);
    for (int type : {3, 4, 5})
    {
        FaceRecord skipped;
        skipped.recordType = type;
        m.faces.push_back(skipped);
    }
    return m;
}

Descriptor ArrayDescriptor()
{
    Descriptor d;
    d.name = kArrayModelName;
    d.family = kArrayFamily;
    d.description = "Steerable column array module, 16 drivers";
    d.bom = {{"TQR40V", "TQR-40V-BK", "Steerable column module"},
             {"Link pin", "TQA-PIN", "Quick-release link pin"},
             {"Link pin", "TQA-PIN", "Quick-release link pin"},
             {"Wall bracket", "TQA-WB1", "Wall bracket for one column"}};
    d.acousticalPath = "data";
    d.spm = "TQR40V.spm";
    d.maxBeams = "2";
    d.algorithms = {{"symmetricalspreadsteer", "Spread.xml", "eq\\spread"},
                    {"asymmetricalsteer", "Asym.xml", "eq"},
                    {"asymmetricalspiral", "Spiral.xml", "eq/spiral/"}};
    const std::string h = "0.984";
    d.connections = {{kArrayModelName, "below", "0", "0", "0", "0", "0", "-" + h},
                     {kArrayModelName, "above", "0", "0", "0", "0", "0", h}};
    return d;
}

DataSet Assemble(const std::string& fileName, const Descriptor& d, const ModelFile& m,
                 std::vector<ArchiveEntry> extra)
{
    DataSet set;
    set.fileName = fileName;
    set.entries.push_back({"Main.xml", d.ToXml()});
    if (!d.spm.empty())
        set.entries.push_back({JoinPath({d.rootPath, d.acousticalPath, d.spmPath}, d.spm), m.Serialize()});
    for (ArchiveEntry& e : extra)
        set.entries.push_back(std::move(e));
    return set;
}

DataSet MakeArrayDataSet()
{
    const Descriptor d = ArrayDescriptor();
    return Assemble(
        "TQR40V.vxq", d, ArrayModelFile(),
        {{"data/eq/spread/Spread.xml", SpreadTableXml()}, {"data/eq/spiral/Spiral.xml", SpiralTableXml()}});
}

ModelFile PointSourceModelFile()
{
    ModelFile m;
    m.version = kVersionOldest;
    m.name = kPointSourceName;
    m.componentValue = 9.0f;

    TransformerRecord t;
    t.version = 0x10000000;
    t.name = "70 V line";
    t.tapCode = 2;
    t.id = 3;
    m.transformers.push_back(t);

    // Two records of older versions: one without phases, one with them.
    for (uint32_t version : {kVersionOldest, kVersionPhases})
    {
        PolarRecord p;
        p.version = version;
        p.name = "TQP8 " + std::to_string(version & 0xF);
        p.label = "8in coax";
        p.stepDegrees = 10.0f;
        p.polarId = static_cast<int32_t>(version & 0xF);
        p.bands[1].assign(kBandCount, 88.0f);
        p.bands[3].assign(kBandCount, 10.0f);
        p.bands[3][0] = 0.0f;  // 31.5 Hz not usable
        p.bands[3][1] = -1.0f; // 40 Hz not usable
        const uint32_t n = PolarValueCount(p.stepDegrees);
        p.magnitudes.assign(n, 3.0f);
        p.phases.assign(n, 0.001f);
        m.polars.push_back(p);
    }

    TransducerRecord d;
    d.name = "Coax";
    d.position = {0.0f, 0.0f, 0.2f};
    d.levelFactor = 0.5f;
    d.transformerId = 3;
    d.polarId = static_cast<int32_t>(kVersionOldest & 0xF);
    m.transducers.push_back(d);

    m.faces = BoxFaces({-0.25f, -0.15f, 0.0f}, {0.0f, 0.15f, 0.4f}, 2);
    return m;
}

Descriptor PointSourceDescriptor()
{
    Descriptor d;
    d.name = kPointSourceName;
    d.family = kPointSourceFamily;
    d.description = "";
    d.bom = {{"TQP8", "TQP-8-WH", "Two-way point source"}};
    d.spm = "TQP8.spm";
    return d;
}

DataSet MakePointSourceDataSet()
{
    return Assemble("TQP8.vxq", PointSourceDescriptor(), PointSourceModelFile());
}

std::vector<juce::File> WriteStandardDataSets(const juce::File& folder)
{
    std::vector<juce::File> written;
    for (const DataSet& set : {MakeArrayDataSet(), MakePointSourceDataSet()})
        if (WriteDataSet(folder, set))
            written.push_back(folder.getChildFile(set.fileName));
    return written;
}

} // namespace zorvpro::datagen
