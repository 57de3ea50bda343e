#include "views/Adapters/Settings/ProjectSettingsAdapter.h"

#include "Utility/ApiChecker.h"
#include "acoustics/model/Environment.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Settings/VariantValues.h"
#include "views/GridControl/BoundPropertiesGrid.h"

namespace zorvpro
{
namespace
{
ProjectSettings& Settings()
{
    return *ProjectDefinition::Instance()->GetSettings();
}
} // namespace

ProjectSettingsAdapter::ProjectSettingsAdapter(BoundPropertiesGrid* grid, QObject* parent)
    : AdapterBase(parent), grid_(grid)
{
    CheckAlloc(grid);
    grid_->setEventListener(this);
    connect(&Settings(), &ProjectSettings::settingsChanged, this,
            &ProjectSettingsAdapter::initPropertyValues);
    initPropertyValues();
}

void ProjectSettingsAdapter::initPropertyValues()
{
    const ProjectSettings& settings = Settings();
    grid_->updateProperty(QStringLiteral("ProjectVersion"), settings.getVersion());
    grid_->updateProperty(QStringLiteral("ProjectVenue"), settings.getVenue());
    grid_->updateProperty(QStringLiteral("ProjectDesigner"), settings.getDesigner());
    grid_->updateProperty(QStringLiteral("ProjectNotes"), settings.getNotes());
    grid_->updateProperty(QStringLiteral("AirAbsorb"), settings.getAirAbsorptionEnabled());
    grid_->updateProperty(QStringLiteral("Temperature"), settings.getTemperature());
    grid_->updateProperty(QStringLiteral("Humidity"), settings.getHumidity());
    grid_->updateProperty(QStringLiteral("EarHeight"), settings.getDefaultEarHeight());
    acoustics::Environment::instance().setAirConditions(settings.getAirAbsorptionEnabled(),
                                                        settings.getTemperature(), settings.getHumidity());
}

void ProjectSettingsAdapter::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                             const QVariant& value)
{
    if (event != BoundPropertyEvent::ValueChanged)
        return;
    using TextSetter = void (ProjectSettings::*)(const QString&);
    using NumberSetter = void (ProjectSettings::*)(double);
    static const std::pair<const char*, TextSetter> texts[] = {
        {"ProjectVenue", &ProjectSettings::setVenue},
        {"ProjectVersion", &ProjectSettings::setVersion},
        {"ProjectDesigner", &ProjectSettings::setDesigner},
        {"ProjectNotes", &ProjectSettings::setNotes},
    };
    static const std::pair<const char*, NumberSetter> numbers[] = {
        {"Temperature", &ProjectSettings::setTemperature},
        {"Humidity", &ProjectSettings::setHumidity},
        {"EarHeight", &ProjectSettings::setDefaultEarHeight},
    };

    bool known = false;
    bool stored = false;
    for (const auto& [name, setter] : texts)
    {
        if (propName != QLatin1String(name))
            continue;
        known = true;
        if (const std::optional<QString> text = ReadText(value))
        {
            (Settings().*setter)(*text);
            stored = true;
        }
    }
    for (const auto& [name, setter] : numbers)
    {
        if (propName != QLatin1String(name))
            continue;
        known = true;
        if (const std::optional<double> number = ReadDouble(value))
        {
            (Settings().*setter)(*number);
            stored = true;
        }
    }
    if (propName == QLatin1String("AirAbsorb"))
    {
        known = true;
        if (const std::optional<bool> on = ReadBool(value))
        {
            Settings().setAirAbsorptionEnabled(*on);
            stored = true;
        }
    }
    // A value that could not be read stores nothing: the grid shows the
    // stored settings again instead of what the event carried.
    if (known && !stored)
        initPropertyValues();
}
} // namespace zorvpro
