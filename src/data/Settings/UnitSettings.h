#pragma once

#include "data/Settings/SettingsTypes.h"

#include <QObject>
#include <memory>

namespace zorvpro
{
class UnitSettings : public QObject
{
    Q_OBJECT

public:
    explicit UnitSettings(QObject* parent = nullptr);
    ~UnitSettings() override;

signals:
    void measurementUnitsChanged(zorvpro::MeasurementType units);
    void temperatureUnitsChanged(zorvpro::TemperatureType units);
    void settingsChanged();

public slots:
    MeasurementType getMeasurementUnits() const;
    void setMeasurementUnits(zorvpro::MeasurementType units);
    TemperatureType getTemperatureUnits() const;
    void setTemperatureUnits(zorvpro::TemperatureType units);

private:
    struct Data;
    std::unique_ptr<Data> d_;
};
} // namespace zorvpro
