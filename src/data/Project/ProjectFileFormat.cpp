// Reading and writing of the project file's "Venue" and "Settings" sections.

#include "core/Logger/OmbraxLogger.h"
#include "core/Nodes/NodeFactory.h"
#include "data/Project/ProjectDefinitionImpl.h"
#include "data/Project/ProjectKeys.h"

namespace zorvpro
{

namespace
{

const QString VenueTag = QStringLiteral("Venue");
const QString SettingsTag = QStringLiteral("Settings");
const QString ChildrenTag = QStringLiteral("Children");

constexpr int ViewCount = ProjectSettings::ViewCount;
constexpr int TabCount = ProjectSettings::TabCount;

QString Indexed(const char* key, int index)
{
    return QLatin1String(key) + QString::number(index);
}

bool IsValidOctaveMode(int mode)
{
    return mode == -2 || mode == -1 || mode == 1 || mode == 3;
}

} // namespace

void ProjectDefinition::Impl::SaveVenue(const HierarchicalFileElementPtr& project)
{
    HierarchicalFileElementPtr venue = project->AddChild(VenueTag);
    if (!venue)
        return;
    WriteNode(m_venue.GetRoot(), venue);
}

void ProjectDefinition::Impl::WriteNode(const NodePtr& node, const HierarchicalFileElementPtr& parent)
{
    HierarchicalFileElementPtr element = parent->AddChild(QString::fromStdString(node->TypeName()));
    if (!element)
        return;

    PropertyMap properties;
    node->WriteProperties(properties);
    for (const auto& property : properties)
    {
        if (HierarchicalFileElementPtr value = element->AddChild(QString::fromStdString(property.first)))
            value->SetText(QString::fromStdString(property.second));
    }

    if (node->GetChildCount() == 0)
        return;
    HierarchicalFileElementPtr children = element->AddChild(ChildrenTag);
    if (!children)
        return;
    for (const NodePtr& child : node->GetChildren())
        WriteNode(child, children);
}

void ProjectDefinition::Impl::SaveSettings(const HierarchicalFileElementPtr& project)
{
    HierarchicalFileElementPtr section = project->AddChild(SettingsTag);
    if (!section)
        return;
    const ProjectSettings& s = m_settings;
    AddKeyValue("SettingsDesigner", s.getDesigner(), section);
    AddKeyValue("SettingsVersion", s.getVersion(), section);
    AddKeyValue("SettingsVenue", s.getVenue(), section);
    AddKeyValue("SettingsNotes", s.getNotes(), section);
    AddKeyValue("AirAbsorption", s.getAirAbsorptionEnabled(), section);
    AddKeyValue("Temperature", s.getTemperature(), section);
    AddKeyValue("Humidity", s.getHumidity(), section);
    for (int view = 0; view < ViewCount; ++view)
    {
        AddKeyValue(Indexed("ViewZoom", view), s.getViewZoom(view), section);
        AddVectorKeyValue(Indexed("ViewCameraTranslation", view), s.getViewCameraTranslation(view), section);
    }
    for (int tab = 0; tab < TabCount; ++tab)
        AddKeyValue(Indexed("ZoomPaired", tab), s.getZoomPaired(tab), section);
    AddKeyValue("SplVisibility", s.getSplVisibility(), section);
    AddKeyValue("SplOctaveMode", s.getSplOctaveMode(), section);
    AddKeyValue("SplFreqCtr", s.getSplFreqCtr(), section);
    AddKeyValue("SplLowValue", s.getSplLowValue(), section);
    AddKeyValue("SplHighValue", s.getSplHighValue(), section);
    AddKeyValue("SplAutoAdjustRange", s.getSplAutoAdjustRange(), section);
    AddKeyValue("SplRelative", s.getSplRelative(), section);
    AddKeyValue("SplResolution", s.getSplResolution(), section);
    AddKeyValue("ThrowLines", s.getThrowLines(), section);
    AddKeyValue("DefaultEarHeight", s.getDefaultEarHeight(), section);
}

bool ProjectDefinition::Impl::LoadSettings(const HierarchicalFileElementPtr& project)
{
    HierarchicalFileElementPtr section = project->GetChild(SettingsTag);
    if (!section)
        return false;
    ProjectSettings& s = m_settings;
    bool result = true;

    QString text;
    if (ReadKeyText("SettingsDesigner", section, text))
        s.setDesigner(text);
    if (ReadKeyText("SettingsVersion", section, text))
        s.setVersion(text);
    if (ReadKeyText("SettingsVenue", section, text))
        s.setVenue(text);
    if (ReadKeyText("SettingsNotes", section, text))
        s.setNotes(text);

    bool flag = false;
    double number = 0.0;
    if (ReadBoolKey("AirAbsorption", section, flag))
        s.setAirAbsorptionEnabled(flag);
    else
        result = false;
    if (ReadDoubleKey("Temperature", section, number))
        s.setTemperature(number);
    else
        result = false;
    if (ReadDoubleKey("Humidity", section, number))
        s.setHumidity(number);
    else
        result = false;

    // Absent or unreadable display switches count as on.
    for (int tab = 0; tab < TabCount; ++tab)
    {
        bool paired = true;
        if (!ReadBoolKey(Indexed("ZoomPaired", tab), section, paired))
            paired = true;
        s.setZoomPaired(static_cast<ProjectSettings::Tab>(tab), paired);
    }
    bool throwLines = true;
    if (!ReadBoolKey("ThrowLines", section, throwLines))
        throwLines = true;
    s.setThrowLines(throwLines);
    bool splVisible = true;
    if (!ReadBoolKey("SplVisibility", section, splVisible))
        splVisible = true;
    s.setSplVisibility(splVisible);

    // An unreadable ear height falls back to the default rather than to 0 m.
    double earHeight = 1.0;
    if (!ReadDoubleKey("DefaultEarHeight", section, earHeight))
        earHeight = 1.0;
    s.setDefaultEarHeight(earHeight);

    for (int view = 0; view < ViewCount; ++view)
    {
        if (ReadDoubleKey(Indexed("ViewZoom", view), section, number))
            s.setViewZoom(view, number);
        else
            result = false;
        math::Vec3 translation;
        if (ReadVectorKey(Indexed("ViewCameraTranslation", view), section, translation))
            s.setViewCameraTranslation(view, translation.x, translation.y, translation.z);
        else
            result = false;
    }

    int octaveMode = 0;
    if (ReadIntKey("SplOctaveMode", section, octaveMode))
        s.setSplOctaveMode(IsValidOctaveMode(octaveMode) ? octaveMode : -2);
    if (ReadDoubleKey("SplFreqCtr", section, number))
        s.setSplFreqCtr(number);
    if (ReadDoubleKey("SplLowValue", section, number))
        s.setSplLowValue(number);
    if (ReadDoubleKey("SplHighValue", section, number))
        s.setSplHighValue(number);
    if (ReadBoolKey("SplAutoAdjustRange", section, flag))
        s.setSplAutoAdjustRange(flag);
    if (ReadBoolKey("SplRelative", section, flag))
        s.setSplRelative(flag);

    // The spacing of the field-point grid: a tiny one would ask for billions of points.
    double resolution = ProjectSettings::defaultSplResolution();
    if (!ReadDoubleKey("SplResolution", section, resolution))
        resolution = ProjectSettings::defaultSplResolution();
    else if (!ProjectSettings::isValidSplResolution(resolution))
    {
        OmbraxLogger::Log(LogLevel::Error, QString("SplResolution %1 is not a map resolution; %2 is used")
                                               .arg(resolution)
                                               .arg(ProjectSettings::defaultSplResolution()));
        resolution = ProjectSettings::defaultSplResolution();
    }
    s.setSplResolution(resolution);

    return result;
}

bool ProjectDefinition::Impl::LoadVenue(const HierarchicalFileElementPtr& project)
{
    m_venue.RemoveAllNodes();

    HierarchicalFileElementPtr venue = project->GetChild(VenueTag);
    if (!venue)
        return false;
    const auto stored = venue->GetChildren();
    if (stored.empty())
        return false;
    // The stored root's own tag and properties are not used: the venue keeps its root.
    HierarchicalFileElementPtr children = stored.front()->GetChild(ChildrenTag);
    if (!children)
        return true;

    bool result = true;
    for (const HierarchicalFileElementPtr& element : children->GetChildren())
        result = ReadNode(m_venue.GetRoot(), element) && result;
    return result;
}

bool ProjectDefinition::Impl::ReadNode(const NodePtr& parent, const HierarchicalFileElementPtr& element,
                                       int depth)
{
    if (depth > MaxNodeDepth)
    {
        OmbraxLogger::Log(
            LogLevel::Error,
            QString("Nodes nested deeper than %1 levels; the rest is not read").arg(MaxNodeDepth));
        return false;
    }

    PropertyMap properties;
    for (const HierarchicalFileElementPtr& child : element->GetChildren())
    {
        const QString tag = child->GetName();
        if (tag != ChildrenTag)
            properties[tag.toStdString()] = child->GetText().toStdString();
    }

    NodePtr node = NodeFactory::Create(element->GetName().toStdString(), properties);
    if (!node)
        return false;
    parent->AddChild(node);

    HierarchicalFileElementPtr children = element->GetChild(ChildrenTag);
    if (!children)
        return true;
    bool result = true;
    for (const HierarchicalFileElementPtr& child : children->GetChildren())
        result = ReadNode(node, child, depth + 1) && result;
    return result;
}

} // namespace zorvpro
