#include "tools/datagen/EqTables.h"

#include <cstdio>
#include <cstdlib>

namespace zorvpro::datagen
{
namespace
{

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

std::string RowXml(const EqRow& r)
{
    return "<LowCutFreq>" + Number(r.lowCutFreq) + "</LowCutFreq><Tilt>" + Number(r.tilt) +
           "</Tilt><BoostOrCut>" + Number(r.boostOrCut) + "</BoostOrCut>";
}

} // namespace

const std::vector<int>& SpreadAngles()
{
    static const std::vector<int> angles{0, 5, 10, 15, 20, 25, 30, 35, 40};
    return angles;
}

const std::vector<int>& SpiralIncidentAngles()
{
    static const std::vector<int> angles{-40, -30, -20, -10, 0, 10, 20, 30, 40};
    return angles;
}

const std::vector<int>& SpiralOpenAngles()
{
    static const std::vector<int> angles{0, 10, 20, 30, 40, 50, 60, 70};
    return angles;
}

const std::vector<int>& SpiralDistances()
{
    static const std::vector<int> distances{2, 5, 10, 15, 20, 30, 40};
    return distances;
}

EqRow SpreadRow(bool shading, int modules, int angle)
{
    EqRow r;
    r.lowCutFreq = 120.0 + 6.0 * angle + 40.0 * (modules - 1) + (shading ? 30.0 : 0.0);
    r.tilt = 1.0 + 0.05 * angle + (shading ? 0.5 : 0.0);
    r.boostOrCut = -(2.0 + 1.5 * (modules - 1) + 0.08 * angle);
    return r;
}

EqRow SpiralRow(int modules, int incident, int open, int distance)
{
    EqRow r;
    r.lowCutFreq = 150.0 + 20.0 * modules + 2.0 * open + 3.0 * distance;
    r.tilt = 1.0 + 0.04 * open + 0.02 * std::abs(incident);
    r.boostOrCut = -(1.5 + 0.05 * open + 0.05 * distance + 0.5 * (modules - 1));
    return r;
}

std::string SpreadTableXml()
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root>\n";
    for (bool shading : {true, false})
    {
        xml += shading ? "<ShadingOn>\n" : "<ShadingOff>\n";
        for (int m = 1; m <= kTableModules; ++m)
        {
            xml += "  <Modules count=\"" + std::to_string(m) + "\">\n";
            for (int a : SpreadAngles())
                xml += "    <Angle deg=\"" + std::to_string(a) + "\">" + RowXml(SpreadRow(shading, m, a)) +
                       "</Angle>\n";
            xml += "  </Modules>\n";
        }
        xml += shading ? "</ShadingOn>\n" : "</ShadingOff>\n";
    }
    xml += "</Root>\n";
    return xml;
}

std::string SpiralTableXml()
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root>\n";
    for (int m = 1; m <= kTableModules; ++m)
    {
        xml += "<Modules count=\"" + std::to_string(m) + "\">\n";
        for (int i : SpiralIncidentAngles())
        {
            // The angle is the element's own leading text, before its children.
            xml += " <IncidentAngle>" + std::to_string(i) + "\n";
            for (int o : SpiralOpenAngles())
            {
                xml += "  <OpenAngle>" + std::to_string(o) + "\n";
                for (int d : SpiralDistances())
                    xml += "   <Distance meter=\"" + std::to_string(d) + "\">" +
                           RowXml(SpiralRow(m, i, o, d)) + "</Distance>\n";
                xml += "  </OpenAngle>\n";
            }
            xml += " </IncidentAngle>\n";
        }
        xml += "</Modules>\n";
    }
    xml += "</Root>\n";
    return xml;
}

} // namespace zorvpro::datagen
