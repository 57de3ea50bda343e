#pragma once

#include "acoustics/engine/IZorvAcoustics.h"

#include <cstdint>
#include <memory>

namespace zorvpro
{
namespace acoustics
{

// The engine registered under key, made on first request. Thread-safe.
std::shared_ptr<IZorvAcoustics> getAcousticsEngine(uint32_t key);

// Forgets the engine of key; it is destroyed when its last owner lets go (inside this call
// when the registry held the last reference). A key without an engine is ignored.
void releaseAcousticsEngine(uint32_t key);

} // namespace acoustics
} // namespace zorvpro
