#include "acoustics/data/DescriptorReading.h"

#include "acoustics/data/TextNumber.h"
#include "core/math/Quaternion.h"

#include <stdexcept>
#include <vector>

namespace zorvpro::acoustics
{
namespace
{

constexpr double kPi = 3.141592653589793;

double ChildNumber(const juce::XmlElement& parent, const char* tag)
{
    return ReadDouble(ChildText(parent, tag));
}

} // namespace

std::string ElementDirectory(const juce::XmlElement& root, const juce::XmlElement& element)
{
    std::vector<const juce::XmlElement*> chain;
    for (const juce::XmlElement* e = &element; e != nullptr;
         e = (e == &root) ? nullptr : const_cast<juce::XmlElement&>(root).findParentElementOf(e))
        chain.push_back(e);
    juce::String dir;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    {
        // Attribute names are compared case-sensitively: "Path" is not "path".
        for (int i = 0; i < (*it)->getNumAttributes(); ++i)
            if ((*it)->getAttributeName(i) == "path")
            {
                dir += (*it)->getAttributeValue(i).replaceCharacter('\\', '/');
                break;
            }
        if (dir.isNotEmpty() && !dir.endsWithChar('/'))
            dir += "/";
    }
    return dir.toStdString();
}

juce::String ChildText(const juce::XmlElement& parent, const char* tag)
{
    return parent.getChildElementAllSubText(tag, {});
}

int AlgorithmCode(const juce::String& name)
{
    const juce::String key = name.trim().toLowerCase();
    if (key == "symmetricalspreadsteer")
        return 1;
    if (key == "asymmetricalsteer")
        return 2;
    if (key == "asymmetricalspiral")
        return 3;
    return 0;
}

uint32_t SideCode(const juce::String& position)
{
    const juce::String key = position.trim().toLowerCase();
    if (key == "above")
        return ConnectionSide::Above;
    if (key == "below")
        return ConnectionSide::Below;
    if (key == "left")
        return ConnectionSide::Left;
    if (key == "right")
        return ConnectionSide::Right;
    if (key == "front")
        return ConnectionSide::Front;
    if (key == "back")
        return ConnectionSide::Back;
    return 0;
}

std::vector<Connection> ReadConnections(const juce::XmlElement& connections)
{
    std::vector<Connection> result;
    for (auto* c : connections.getChildWithTagNameIterator("Connection"))
    {
        const juce::String name = ChildText(*c, "Name").trim();
        const uint32_t side = SideCode(ChildText(*c, "Position"));
        if (side == 0 || name.isEmpty())
            continue;
        const double yaw = ChildNumber(*c, "Yaw");
        const double roll = ChildNumber(*c, "Roll");
        const double pitch = ChildNumber(*c, "Pitch");
        // Written as negated ranges so that a NaN is rejected too.
        if (!(yaw >= -kPi && yaw <= kPi))
            throw std::invalid_argument("Invalid connection yaw");
        if (!(roll >= -kPi && roll <= kPi))
            throw std::invalid_argument("Invalid connection roll");
        if (!(pitch >= -kPi / 2 && pitch <= kPi / 2))
            throw std::invalid_argument("Invalid connection pitch");
        const math::Vec3 offset(ChildNumber(*c, "X"), ChildNumber(*c, "Y"), ChildNumber(*c, "Z"));

        Connection record(side, 1);
        record.name = name.toStdString();
        record.transform = math::Mat4::Translation(offset) *
                           math::QuaternionToMatrix(math::QuaternionFromEuler(roll, pitch, yaw));
        result.push_back(std::move(record));
    }
    return result;
}

} // namespace zorvpro::acoustics
