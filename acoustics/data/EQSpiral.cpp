#include "acoustics/data/EQSpiral.h"

#include "acoustics/data/EQTableReading.h"

namespace zorvpro::acoustics
{

void EQSpiral::load(const juce::XmlElement* root)
{
    if (root == nullptr)
        return;
    table.clear();
    for (auto* modules : root->getChildIterator())
    {
        if (!modules->hasTagName("Modules"))
            continue;
        ByIncident& incidents = table[ParseLeadingInt(modules->getStringAttribute("count", "1"))];
        for (auto* incident : modules->getChildIterator())
        {
            if (!incident->hasTagName("IncidentAngle"))
                continue;
            // The angle is the element's leading text; its children follow it.
            ByOpen& opens = incidents[ParseLeadingInt(LeadingOwnText(*incident))];
            for (auto* open : incident->getChildIterator())
            {
                if (!open->hasTagName("OpenAngle"))
                    continue;
                ByDistance& distances = opens[ParseLeadingInt(LeadingOwnText(*open))];
                for (auto* distance : open->getChildIterator())
                {
                    if (!distance->hasTagName("Distance"))
                        continue;
                    const double metres = ParseLeadingInt(distance->getStringAttribute("meter", "0"));
                    distances[metres] =
                        EqCurveValues{ChildReal(*distance, "LowCutFreq"), ChildReal(*distance, "Tilt"),
                                      ChildReal(*distance, "BoostOrCut")};
                }
            }
        }
    }
}

EqCurveValues EQSpiral::lookup(const IEQRequestData& request) const
{
    const auto* spiral = dynamic_cast<const EQRequestDataSpiral*>(&request);
    if (spiral == nullptr)
        return {};
    const auto modules = table.find(static_cast<int32_t>(spiral->moduleCount));
    if (modules == table.end())
        return {};
    const ByIncident& incidents = modules->second;
    const double i = NearestKey(incidents, spiral->incidentAngle);
    const auto incident = incidents.find(i);
    if (incident == incidents.end())
        return {};
    const double o = NearestKey(incident->second, spiral->openAngle);
    if (!ContainsKeyPair(incidents, i, o))
        return {};
    const ByOpen& opens = incident->second;
    const double d = NearestKey(opens.at(o), spiral->distance);
    if (!ContainsKeyPair(opens, o, d))
        return {};
    return opens.at(o).at(d);
}

} // namespace zorvpro::acoustics
