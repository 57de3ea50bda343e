#pragma once

#include <functional>
#include <string>

namespace zorvpro::field
{

// Where the field pipeline's debug dumps go, one line per call. Standard error
// until the application routes it to its own debug stream.
using DebugWriter = std::function<void(const std::string& line)>;

void SetDebugWriter(DebugWriter writer);
void WriteDebugLine(const std::string& line);

} // namespace zorvpro::field
