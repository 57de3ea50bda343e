#pragma once

#include "acoustics/data/Transducer.h"
#include "acoustics/model/Node.h"

#include <memory>
#include <vector>

namespace zorvpro::acoustics
{

// Every transducer found below the node, depth first in child order (for a
// loudspeaker: each transformer, then the transducers it feeds). Each child
// list is copied under its node's lock, which is not held while walking.
std::vector<std::shared_ptr<Transducer>> gatherTransducers(const Node& node);

} // namespace zorvpro::acoustics
