#pragma once

#include "acoustics/data/EQData.h"

#include <juce_core/juce_core.h>

#include <map>
#include <unordered_map>

namespace zorvpro::acoustics
{

// EQ table of spiral steering: module count, incident angle, open angle and
// distance; a lookup snaps each coordinate to the nearest tabulated key.
class EQSpiral final : public IEQData
{
public:
    using ByDistance = std::map<double, EqCurveValues>;
    using ByOpen = std::map<double, ByDistance>;
    using ByIncident = std::map<double, ByOpen>;
    using ByModules = std::unordered_map<int32_t, ByIncident>;

    void load(const juce::XmlElement* root);
    EqCurveValues lookup(const IEQRequestData& request) const override;

    const ByModules& tables() const { return table; }

private:
    ByModules table;
};

} // namespace zorvpro::acoustics
