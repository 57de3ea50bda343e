#pragma once

#include "views/Common/AdapterBase.h"
#include "views/GridControl/IBindablePropertyEventListener.h"

namespace zorvpro
{
class BoundPropertiesGrid;

// Binds a grid of application-settings toggles ("TemperatureUnits",
// "MeasurementUnits", "ColorTheme", "ToolbarLocation"; on = 1) to the stored
// settings, both ways: a toggled switch stores its setting at once, and every
// stored change shows in the grid.
class AppSettingsAdapter : public AdapterBase, public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    // Throws std::logic_error for a null grid. Not owned; must outlive this.
    explicit AppSettingsAdapter(BoundPropertiesGrid* grid, QObject* parent = nullptr);

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;

public slots:
    void handleTempUnitsChanged();
    void handleMeasurementUnitsChanged();
    void handleAppThemeChanged();
    void handleToolbarLocationChanged();

private:
    BoundPropertiesGrid* grid_;
};
} // namespace zorvpro
