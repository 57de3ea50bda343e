#pragma once

#include "acoustics/model/BandSelection.h"
#include "acoustics/model/DoubleBuffer.h"
#include "acoustics/model/FrequencyMask.h"
#include "core/math/Vector3.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace zorvpro::acoustics
{

// The directivity of one transducer: a per-band response for every direction
// of a regular grid of azimuth and polar angles. Filled once by the loader,
// then only read (concurrently, without locks).
class Polar
{
public:
    // step in radians. Throws std::invalid_argument unless the step lies in
    // 0.1 .. 90 degrees and bands equals the calculation's band count.
    Polar(double step, uint32_t bands);
    virtual ~Polar() = default;

    // Grid values for a step (radians) and band count; 0 for a step that is
    // not positive.
    static uint32_t polarValueCount(double step, uint32_t bands);

    uint32_t getPolarId() const { return polarId; }
    void setPolarId(uint32_t id) { polarId = id; }
    const std::string& getName() const { return name; }
    void setName(std::string text) { name = std::move(text); }
    const std::string& getLabel() const { return label; }
    void setLabel(std::string text) { label = std::move(text); }
    const math::Vec3& getPoint() const { return point; }
    void setPoint(const math::Vec3& p) { point = p; }

    double getStep() const { return step; }
    uint32_t getBandCount() const { return bandCount; }
    uint32_t getAzimuthCount() const { return azimuthCount; }
    uint32_t getPolarCount() const { return polarCount; }

    // The eight per-band arrays, in the order the data sets store them. Each
    // setter takes the array only when it has the stored length; the argument
    // is left empty either way.
    void setFirstArray(DoubleBuffer&& values) { replace(perBand[0], std::move(values)); }
    void setReferenceLevel(DoubleBuffer&& values) { replace(perBand[1], std::move(values)); }
    void setThirdArray(DoubleBuffer&& values) { replace(perBand[2], std::move(values)); }
    void setLimit(DoubleBuffer&& values) { replace(perBand[3], std::move(values)); }
    void setFifthArray(DoubleBuffer&& values) { replace(perBand[4], std::move(values)); }
    void setSixthArray(DoubleBuffer&& values) { replace(perBand[5], std::move(values)); }
    void setSeventhArray(DoubleBuffer&& values) { replace(perBand[6], std::move(values)); }
    void setEighthArray(DoubleBuffer&& values) { replace(perBand[7], std::move(values)); }
    // index 0 .. 7; an empty array for any other index.
    const DoubleBuffer& getPerBandArray(uint32_t index) const;
    // Decibels re 20 micropascal per band.
    const DoubleBuffer& getReferenceLevel() const { return perBand[1]; }
    // A positive value marks a usable band.
    const DoubleBuffer& getLimit() const { return perBand[3]; }

    BandSelection getBandSelection() const { return bandSelection; }
    void setBandSelection(BandSelection selection);

    // Grid data, azimuth-major then polar then band: magnitudes are
    // attenuations in dB below the reference level, phases are delays in
    // seconds. Both must hold polarValueCount values; both are released.
    void setData(DoubleBuffer&& magnitudes, DoubleBuffer&& phases);
    bool hasData() const { return !directions.empty(); }

    // The response towards a direction in the transducer's coordinates (axis
    // +x, azimuth turning from +y towards +z), interpolated between the four
    // surrounding grid points. A direction that is not finite, or a grid
    // without data, gives an empty response.
    FrequencyMask lookup(const math::Vec3& direction) const;
    // The same response written into two arrays of the calculation's band
    // count (magnitudes, phases), with its kinds, without allocating; false
    // where lookup gives an empty response.
    bool lookupInto(const math::Vec3& direction, double* magnitudes, double* phases,
                    MagnitudeKind& magnitudeKind, PhaseKind& phaseKind) const;

private:
    static void replace(DoubleBuffer& stored, DoubleBuffer&& values);
    const FrequencyMask* find(uint32_t azimuth, uint32_t polar) const;
    // The four grid points around a direction and the fractions between
    // them; false for a direction or grid that gives no response.
    bool locate(const math::Vec3& direction, const FrequencyMask* (&corners)[4], double& fp,
                double& fa) const;

    uint32_t polarId = 0;
    std::string name;
    std::string label;
    math::Vec3 point;
    BandSelection bandSelection;
    double step;
    double inverseStep;
    uint32_t bandCount;
    uint32_t azimuthCount;
    uint32_t polarCount;
    DoubleBuffer perBand[8];
    std::unordered_map<uint32_t, std::unordered_map<uint32_t, FrequencyMask>> directions;
};

} // namespace zorvpro::acoustics
