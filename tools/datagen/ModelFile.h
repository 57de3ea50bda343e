#pragma once

#include "tools/datagen/BinaryWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zorvpro::datagen
{

// Format versions that switch parts of the model file on and off.
constexpr uint32_t kVersionOldest = 0x10000003; // no description strings, no phases
constexpr uint32_t kVersionDescription = 0x10000004;
constexpr uint32_t kVersionPhases = 0x10000005;    // first version whose records carry phases
constexpr uint32_t kVersionPoint = 0x10000006;     // adds the record point and the eighth array
constexpr uint32_t kVersionSelection = 0x10000007; // band selection stored, not derived
constexpr uint32_t kVersionCurrent = kVersionSelection;

constexpr int kBandCount = 28;

struct TransformerRecord
{
    uint32_t version = 0x10000001;
    std::string name;
    int32_t tapCode = 0; // 0, 1, 2, 3 -> 0, 25, 70, 100
    int32_t id = 0;
};

struct PolarRecord
{
    uint32_t version = kVersionCurrent;
    std::string name;
    std::string label;
    float stepDegrees = 5.0f;
    int32_t polarId = 0;
    Point point{0, 0, 0};
    // Eight per-band arrays of 28; the second is the reference level, the fourth the limit.
    std::array<std::vector<float>, 8> bands;
    std::vector<float> magnitudes; // attenuations in dB, azimuth-major
    std::vector<float> phases;     // delays in seconds; written only when the version carries them
    bool hasPhases = true;
    uint32_t bandSelection = 0xFFFFFFFFu;
};

struct TransducerRecord
{
    std::string name;
    Point orientation{0, 0, 0};
    Point position{0, 0, 0};
    float levelFactor = 1.0f;
    int32_t transformerId = 0;
    int32_t polarId = 0;
};

struct FaceRecord
{
    int32_t recordType = 2; // 2 face, 0 empty, 3/4/5 skipped blocks, anything else invalid
    int32_t faceType = 0;
    std::array<Point, 4> corners{};
};

// A binary model file as the reader expects it.
struct ModelFile
{
    uint32_t version = kVersionCurrent;
    std::string name;
    std::string description;
    float componentValue = 0.0f;
    bool withExtraGrid = false; // exercises the optional skipped block of the newest header
    std::vector<TransformerRecord> transformers;
    std::vector<PolarRecord> polars;
    std::vector<TransducerRecord> transducers;
    std::vector<FaceRecord> faces;

    void WriteHeader(BinaryWriter& out) const;
    void WriteTransformers(BinaryWriter& out) const;
    void WritePolars(BinaryWriter& out) const;
    void WriteTransducers(BinaryWriter& out) const;
    void WriteFaces(BinaryWriter& out) const;
    std::string Serialize() const;
};

void WritePolarRecord(BinaryWriter& out, const PolarRecord& record);

// Number of grid values a record with this step carries: the step goes to
// radians and back exactly as the reader does it, then 32-bit arithmetic.
uint32_t PolarValueCount(float stepDegrees, uint32_t bands = kBandCount);

// The six faces of an axis-aligned box, as face records of the given face type.
std::vector<FaceRecord> BoxFaces(const Point& minimum, const Point& maximum, int32_t faceType = 1);

} // namespace zorvpro::datagen
