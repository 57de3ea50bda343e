#pragma once

#include <map>
#include <string>

namespace zorvpro
{

// A node's state as named texts, ordered by key so that the written element
// order is stable.
using PropertyMap = std::map<std::string, std::string>;

} // namespace zorvpro
