#pragma once

#include "core/math/Matrix4.h"

#include <cstdint>
#include <string>

namespace zorvpro::acoustics
{

// Side codes of a mechanical connection.
namespace ConnectionSide
{
constexpr uint32_t Above = 1;
constexpr uint32_t Below = 2;
constexpr uint32_t Left = 16;
constexpr uint32_t Right = 32;
constexpr uint32_t Front = 256;
constexpr uint32_t Back = 512;
} // namespace ConnectionSide

// A variant of 7 matches any requested variant.
constexpr uint32_t kAnyConnectionVariant = 7;

// One mechanical connection point of a loudspeaker model: the model that may
// be attached there, on which side, and the transform that places it
// relative to the module carrying the record.
class Connection
{
public:
    Connection(uint32_t side, uint32_t variant) : side(side), variant(variant) {}
    Connection(const Connection&) = default;
    Connection(Connection&&) = default;
    Connection& operator=(const Connection&) = default;
    Connection& operator=(Connection&&) = default;
    virtual ~Connection() = default;

    std::string name;
    uint32_t side = 0;
    uint32_t variant = 1;
    math::Mat4 transform;
};

} // namespace zorvpro::acoustics
