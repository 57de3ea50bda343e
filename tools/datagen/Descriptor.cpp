#include "tools/datagen/Descriptor.h"

#include <juce_core/juce_core.h>

namespace zorvpro::datagen
{
namespace
{

juce::String Str(const std::string& s)
{
    return juce::String::fromUTF8(s.c_str());
}

juce::XmlElement* AddText(juce::XmlElement& parent, const char* tag, const std::string& text)
{
    auto* e = parent.createNewChildElement(tag);
    e->addTextElement(Str(text));
    return e;
}

void SetPath(juce::XmlElement& e, const std::string& path)
{
    if (!path.empty())
        e.setAttribute("path", Str(path));
}

} // namespace

std::string Descriptor::ToXml() const
{
    juce::XmlElement root(Str(rootTag));
    SetPath(root, rootPath);

    auto* info = root.createNewChildElement("Info");
    AddText(*info, "Name", name);
    AddText(*info, "Family", family);
    AddText(*info, "Desc", description);

    if (!bom.empty())
    {
        auto* list = root.createNewChildElement("BOM");
        for (const BomItem& item : bom)
        {
            auto* e = list->createNewChildElement("Item");
            AddText(*e, "Name", item.name);
            AddText(*e, "SKU", item.sku);
            AddText(*e, "Desc", item.description);
        }
    }

    auto* acoustical = root.createNewChildElement("Acoustical");
    SetPath(*acoustical, acousticalPath);
    if (!spm.empty())
        SetPath(*AddText(*acoustical, "SPM", spm), spmPath);
    if (!maxBeams.empty())
    {
        auto* beams = acoustical->createNewChildElement("Beams");
        AddText(*beams, "MaxBeams", maxBeams);
        auto* list = beams->createNewChildElement("Algorithms");
        for (const AlgorithmEntry& a : algorithms)
        {
            auto* e = list->createNewChildElement("Algorithm");
            AddText(*e, "Name", a.name);
            if (!a.dataFile.empty())
            {
                auto* eq = e->createNewChildElement("EQData");
                SetPath(*eq, a.eqPath);
                AddText(*eq, "DataFile", a.dataFile);
            }
        }
    }

    if (!connections.empty())
    {
        auto* list = root.createNewChildElement("Mechanical")->createNewChildElement("Connections");
        for (const ConnectionEntry& c : connections)
        {
            auto* e = list->createNewChildElement("Connection");
            AddText(*e, "Name", c.name);
            AddText(*e, "Position", c.position);
            AddText(*e, "Yaw", c.yaw);
            AddText(*e, "Roll", c.roll);
            AddText(*e, "Pitch", c.pitch);
            AddText(*e, "X", c.x);
            AddText(*e, "Y", c.y);
            AddText(*e, "Z", c.z);
        }
    }
    return root.toString().toStdString();
}

} // namespace zorvpro::datagen
