#include "acoustics/data/EQDataSpread.h"

#include "acoustics/data/EQTableReading.h"
#include "core/math/Compare.h"

namespace zorvpro::acoustics
{
namespace
{

EQDataSpread::ByModules ReadShadingTable(const juce::XmlElement& shading)
{
    EQDataSpread::ByModules result;
    for (auto* modules : shading.getChildIterator())
    {
        if (!modules->hasTagName("Modules"))
            continue;
        const int32_t count = ParseLeadingInt(modules->getStringAttribute("count", "1"));
        EQDataSpread::Rows& rows = result[count];
        for (auto* angle : modules->getChildIterator())
        {
            if (!angle->hasTagName("Angle"))
                continue;
            const double deg = ParseLeadingInt(angle->getStringAttribute("deg", "0"));
            rows[deg] = EqCurveValues{ChildReal(*angle, "LowCutFreq"), ChildReal(*angle, "Tilt"),
                                      ChildReal(*angle, "BoostOrCut")};
        }
    }
    return result;
}

} // namespace

void EQDataSpread::load(const juce::XmlElement* root)
{
    if (root == nullptr)
        return;
    table.clear();
    if (auto* on = root->getChildByName("ShadingOn"))
        table[true] = ReadShadingTable(*on);
    if (auto* off = root->getChildByName("ShadingOff"))
        table[false] = ReadShadingTable(*off);
}

EqCurveValues EQDataSpread::lookup(const IEQRequestData& request) const
{
    const auto* spread = dynamic_cast<const EQRequestDataSpread*>(&request);
    if (spread == nullptr)
        return {};
    const auto shading = table.find(spread->shadingOn);
    if (shading == table.end())
        return {};
    // The count is kept as the signed key the file was read into.
    const auto rows = shading->second.find(static_cast<int32_t>(spread->moduleCount));
    if (rows == shading->second.end() || rows->second.empty())
        return {};

    const double a = spread->spreadingAngle;
    const Rows& r = rows->second;
    auto upper = r.lower_bound(a);
    if (upper == r.end())
        return std::prev(upper)->second;
    if (upper == r.begin() || math::AlmostEqual(upper->first, a, 25))
        return upper->second;
    const auto lower = std::prev(upper);
    const double x0 = lower->first, x1 = upper->first;
    const EqCurveValues& y0 = lower->second;
    const EqCurveValues& y1 = upper->second;
    return EqCurveValues{math::InterpolateClamped(x0, y0.LowCutFreq, x1, y1.LowCutFreq, a),
                         math::InterpolateClamped(x0, y0.Tilt, x1, y1.Tilt, a),
                         math::InterpolateClamped(x0, y0.BoostOrCut, x1, y1.BoostOrCut, a)};
}

} // namespace zorvpro::acoustics
