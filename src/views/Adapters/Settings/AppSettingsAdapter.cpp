#include "views/Adapters/Settings/AppSettingsAdapter.h"

#include "Utility/ApiChecker.h"
#include "data/Settings/AppSettings.h"
#include "views/Adapters/Settings/VariantValues.h"
#include "views/GridControl/BoundPropertiesGrid.h"

namespace zorvpro
{
namespace
{
UnitSettings& Units()
{
    return *AppSettings::Instance().GetUnitSettings();
}

UiSettings& Ui()
{
    return *AppSettings::Instance().GetUiSettings();
}

const QString kTemperatureUnits = QStringLiteral("TemperatureUnits");
const QString kMeasurementUnits = QStringLiteral("MeasurementUnits");
const QString kColorTheme = QStringLiteral("ColorTheme");
const QString kToolbarLocation = QStringLiteral("ToolbarLocation");
} // namespace

AppSettingsAdapter::AppSettingsAdapter(BoundPropertiesGrid* grid, QObject* parent)
    : AdapterBase(parent), grid_(grid)
{
    CheckAlloc(grid);
    grid_->setEventListener(this);
    connect(&Units(), &UnitSettings::temperatureUnitsChanged, this,
            &AppSettingsAdapter::handleTempUnitsChanged);
    connect(&Units(), &UnitSettings::measurementUnitsChanged, this,
            &AppSettingsAdapter::handleMeasurementUnitsChanged);
    connect(&Ui(), &UiSettings::themeChanged, this, &AppSettingsAdapter::handleAppThemeChanged);
    connect(&Ui(), &UiSettings::toolbarPositionChanged, this,
            &AppSettingsAdapter::handleToolbarLocationChanged);
    handleTempUnitsChanged();
    handleMeasurementUnitsChanged();
    handleAppThemeChanged();
    handleToolbarLocationChanged();
}

void AppSettingsAdapter::handleTempUnitsChanged()
{
    grid_->updateProperty(kTemperatureUnits, static_cast<int>(Units().getTemperatureUnits()) != 0);
}

void AppSettingsAdapter::handleMeasurementUnitsChanged()
{
    grid_->updateProperty(kMeasurementUnits, static_cast<int>(Units().getMeasurementUnits()) != 0);
}

void AppSettingsAdapter::handleAppThemeChanged()
{
    grid_->updateProperty(kColorTheme, static_cast<int>(Ui().getTheme()) != 0);
}

void AppSettingsAdapter::handleToolbarLocationChanged()
{
    grid_->updateProperty(kToolbarLocation, static_cast<int>(Ui().getToolbarPosition()) != 0);
}

void AppSettingsAdapter::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                         const QVariant& value)
{
    if (event != BoundPropertyEvent::ValueChanged)
        return;
    struct Binding
    {
        const QString& name;
        void (*store)(int);
        void (AppSettingsAdapter::*show)();
    };
    static const Binding bindings[] = {
        {kTemperatureUnits, [](int v) { Units().setTemperatureUnits(static_cast<TemperatureType>(v)); },
         &AppSettingsAdapter::handleTempUnitsChanged},
        {kMeasurementUnits, [](int v) { Units().setMeasurementUnits(static_cast<MeasurementType>(v)); },
         &AppSettingsAdapter::handleMeasurementUnitsChanged},
        {kColorTheme, [](int v) { Ui().setTheme(static_cast<UiTypes::UiTheme>(v)); },
         &AppSettingsAdapter::handleAppThemeChanged},
        {kToolbarLocation, [](int v) { Ui().setToolbarPosition(static_cast<UiTypes::ToolbarPosition>(v)); },
         &AppSettingsAdapter::handleToolbarLocationChanged},
    };
    for (const Binding& binding : bindings)
    {
        if (binding.name != propName)
            continue;
        if (const std::optional<bool> on = ReadBool(value))
            binding.store(*on ? 1 : 0);
        else
            // Nothing stored: the grid shows the stored setting again.
            (this->*binding.show)();
        return;
    }
}
} // namespace zorvpro
