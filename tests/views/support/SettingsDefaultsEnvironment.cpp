// Every suite here starts from metric units, Celsius, the light theme and the
// tool bar on top, with numbers shown as the application shows them. The test
// main gives each process a private home folder for Settings.xml.

#include "data/Settings/AppSettings.h"
#include "views/Common/NumberLocale.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace
{
class SettingsDefaultsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        zorvpro::UseLocaleWithoutGroupSeparators();
        zorvpro::AppSettings& settings = zorvpro::AppSettings::Instance();
        settings.GetUnitSettings()->setMeasurementUnits(zorvpro::MeasurementType::Metric);
        settings.GetUnitSettings()->setTemperatureUnits(zorvpro::TemperatureType::C);
        settings.GetUiSettings()->setTheme(zorvpro::UiTypes::UiTheme::Day);
        settings.GetUiSettings()->setToolbarPosition(zorvpro::UiTypes::ToolbarPosition::Top);
    }
};

::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SettingsDefaultsEnvironment);
} // namespace
