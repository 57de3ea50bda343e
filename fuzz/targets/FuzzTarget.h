#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvpro::fuzz
{

// One fuzzed input kind: the libFuzzer executable <name> and the replay test
// feed every input to the same entry function.
struct FuzzTarget
{
    const char* name;
    int (*run)(const uint8_t* data, size_t size);
};

} // namespace zorvpro::fuzz
