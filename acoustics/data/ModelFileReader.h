#pragma once

#include "acoustics/model/DoubleBuffer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zorvpro::acoustics
{

using Point3 = std::array<double, 3>;

// The contents of a binary model file, as read, before they become parts of
// a loudspeaker model.
struct ModelFileData
{
    struct TransformerRecord
    {
        std::string name;
        uint32_t tap = 0;
        uint32_t id = 0;
    };

    struct PolarRecord
    {
        uint32_t version = 0;
        std::string name;
        std::string label;
        double stepRadians = 0.0;
        uint32_t polarId = 0;
        Point3 point{};
        std::array<DoubleBuffer, 8> bands; // 28 values each
        DoubleBuffer magnitudes;
        DoubleBuffer phases;
        uint32_t bandSelection = 0xFFFFFFFFu;
    };

    struct TransducerRecord
    {
        std::string name;
        uint32_t index = 0;
        Point3 orientation{};
        Point3 position{};
        double levelFactor = 1.0;
        uint32_t transformerId = 0;
        uint32_t polarId = 0;
    };

    struct FaceRecord
    {
        uint32_t type = 0;
        std::array<Point3, 4> corners{};
    };

    uint32_t version = 0;
    std::string name;
    std::string description;
    bool hasComponentValue = false; // false when the file's value was negative
    double componentValue = 0.0;
    std::vector<TransformerRecord> transformers;
    std::vector<PolarRecord> polars;
    std::vector<TransducerRecord> transducers;
    std::vector<FaceRecord> faces;
};

constexpr uint32_t kModelBandCount = 28;

// Grid values of a directivity record with this step (radians) and band
// count: trunc(360 / d) x (trunc(180 / d) + 1) x bands in 32-bit unsigned
// arithmetic, d the step in degrees; 0 when d is not positive.
uint32_t polarValueCount(double stepRadians, uint32_t bands);

// Reads a whole model file. Throws std::invalid_argument with a short text
// for data that cannot be a model file: "Invalid dxf type", "Invalid
// arguments Polar::ctor" for a grid step outside 0.1 to 90 degrees (checked
// before any grid value is read), and for reads beyond the end of the bytes.
ModelFileData ReadModelFile(const std::string& bytes);

} // namespace zorvpro::acoustics
