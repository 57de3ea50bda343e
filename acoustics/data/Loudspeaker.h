#pragma once

#include "acoustics/data/HardwareComponent.h"

#include <cstdint>
#include <vector>

namespace zorvpro::acoustics
{

// Beam-steering algorithm codes, the same in every factory, table and file.
namespace BeamAlgorithm
{
constexpr int32_t SymmetricSpread = 1;
constexpr int32_t Asymmetric = 2;
constexpr int32_t AsymmetricSpiral = 3;
} // namespace BeamAlgorithm

// A loudspeaker model or a placed loudspeaker.
class Loudspeaker : public virtual HardwareComponent
{
public:
    ~Loudspeaker() override = default;

    // Position among the members of the owning cluster.
    virtual uint32_t getIndex() const = 0;
    virtual void setMuted(bool muted) = 0;
    virtual bool isMuted() const = 0;
    virtual void toggleMuted() = 0;
    // True when the model can form beams (max beams not 0).
    virtual bool isSteerable() const = 0;
    virtual uint32_t getMaxBeams() const = 0;
    // Supported beam algorithm codes, ascending.
    virtual const std::vector<int32_t>& getAlgorithms() const = 0;
};

} // namespace zorvpro::acoustics
