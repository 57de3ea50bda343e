#pragma once

#include "acoustics/data/EQData.h"

#include <juce_core/juce_core.h>

#include <map>
#include <unordered_map>

namespace zorvpro::acoustics
{

// EQ table of symmetric spread steering: per shading state and module count,
// rows by spreading angle (degrees), interpolated linearly between rows.
class EQDataSpread final : public IEQData
{
public:
    using Rows = std::map<double, EqCurveValues>;
    using ByModules = std::unordered_map<int32_t, Rows>;

    // Replaces both shading tables with those under "ShadingOn" and "ShadingOff".
    void load(const juce::XmlElement* root);
    EqCurveValues lookup(const IEQRequestData& request) const override;

    const std::unordered_map<bool, ByModules>& tables() const { return table; }

private:
    std::unordered_map<bool, ByModules> table;
};

} // namespace zorvpro::acoustics
