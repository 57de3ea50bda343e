#pragma once

#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/model/PropChange.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace zorvpro::acoustics::testing
{

// Reference level of the flat point source, in dB re 20 uPa in every band.
constexpr double kFlatSourceLevel = 88.0;

// A new assembled copy of the generated steerable array module ("TQR40V":
// 16 drivers, 0.984 m tall, connects to itself above and below).
std::shared_ptr<LoudspeakerImpl> makeArrayModule();

// A new assembled copy of a one-driver point source that radiates its
// reference level in every band and direction (no attenuation) and connects
// to itself below. The driver's level factor is 1, or 0 when silent is set.
std::shared_ptr<LoudspeakerImpl> makeFlatPointSource(bool silent = false);

// Records every change code it is told of.
class CodeRecorder : public PropChangeListener
{
public:
    void propChanged(uint32_t code) override;
    size_t count(uint32_t code) const;
    std::vector<uint32_t> codes() const;
    void clear();

private:
    mutable std::mutex mutex;
    std::vector<uint32_t> received;
};

} // namespace zorvpro::acoustics::testing
