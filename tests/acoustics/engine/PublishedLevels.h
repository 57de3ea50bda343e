#pragma once

#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/engine/IZorvAcoustics.h"

#include <cstdint>
#include <vector>

namespace zorvpro::acoustics::testing
{

// The levels the engine last published for a set, in point order; empty when
// nothing was published.
inline std::vector<double> PublishedLevels(const IZorvAcoustics& engine, uint64_t id, int32_t bandwidth,
                                           double frequency)
{
    std::vector<double> levels;
    auto published = engine.getDataSet(id);
    if (!published || !published->GetDataSet())
        return levels;
    DataSet::SplValues values;
    published->GetDataSet()->getSpl(values, bandwidth, frequency);
    for (const auto& value : values)
        levels.push_back(value.second);
    return levels;
}

} // namespace zorvpro::acoustics::testing
