#include "data/Settings/UnitSettings.h"

#include "Utility/ApiChecker.h"

namespace zorvpro
{
struct UnitSettings::Data
{
    MeasurementType measurement = MeasurementType::Metric;
    TemperatureType temperature = TemperatureType::C;
};

UnitSettings::UnitSettings(QObject* parent) : QObject(parent), d_(new Data)
{
    CheckAlloc(d_);
}

UnitSettings::~UnitSettings() = default;

MeasurementType UnitSettings::getMeasurementUnits() const
{
    return d_->measurement;
}

void UnitSettings::setMeasurementUnits(MeasurementType units)
{
    if (d_->measurement == units)
        return;
    d_->measurement = units;
    emit measurementUnitsChanged(units);
    emit settingsChanged();
}

TemperatureType UnitSettings::getTemperatureUnits() const
{
    return d_->temperature;
}

void UnitSettings::setTemperatureUnits(TemperatureType units)
{
    if (d_->temperature == units)
        return;
    d_->temperature = units;
    emit temperatureUnitsChanged(units);
    emit settingsChanged();
}
} // namespace zorvpro
