#pragma once

#include "core/math/Vector3.h"

#include <cstdint>
#include <vector>

namespace zorvpro::acoustics
{

// One face of a loudspeaker's box geometry: the face type the model file
// gives and its corner points (four in every file).
class DXFFace
{
public:
    DXFFace() = default;
    DXFFace(uint32_t type, std::vector<math::Vec3> corners) : type(type), points(std::move(corners)) {}
    DXFFace(const DXFFace&) = default;
    DXFFace(DXFFace&&) = default;
    DXFFace& operator=(const DXFFace&) = default;
    DXFFace& operator=(DXFFace&&) = default;
    virtual ~DXFFace() = default;

    uint32_t type = 0;
    std::vector<math::Vec3> points;
};

} // namespace zorvpro::acoustics
