#pragma once

#include "acoustics/model/Node.h"

#include <cstdint>
#include <string>

namespace zorvpro::acoustics
{

// One line transformer of a loudspeaker; the transducers it feeds are its
// children once the loudspeaker is assembled.
class Transformer : public Node
{
public:
    // Tap of a transformer whose file code is none of 0..3.
    static constexpr uint32_t kUnknownTap = 0xFFFFFFFFu;

    Transformer() = default;
    Transformer(std::string name, uint32_t id, uint32_t tap) : name(std::move(name)), id(id), tap(tap) {}
    Transformer(const Transformer&) = default;
    ~Transformer() override = default;

    const std::string& getName() const { return name; }
    uint32_t getTransformerId() const { return id; }
    uint32_t getTap() const { return tap; }

private:
    std::string name;
    uint32_t id = 0;
    uint32_t tap = 0; // 0, 25, 70, 100 or kUnknownTap
};

} // namespace zorvpro::acoustics
