// Every suite here keeps Settings.xml in a temporary home folder of its own,
// so that runs never share or leave settings, and starts from metric units,
// Celsius, the light theme and the tool bar on top.

#include "data/Settings/AppSettings.h"
#include "views/Common/NumberLocale.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class TempSettingsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        // The test-mode settings location lies below the home folder.
        qputenv("HOME", home_.path().toLocal8Bit());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        zorvpro::UseLocaleWithoutGroupSeparators();
        zorvpro::AppSettings& settings = zorvpro::AppSettings::Instance();
        ASSERT_TRUE(settings.DefaultFilePath().startsWith(home_.path()));
        settings.GetUnitSettings()->setMeasurementUnits(zorvpro::MeasurementType::Metric);
        settings.GetUnitSettings()->setTemperatureUnits(zorvpro::TemperatureType::C);
        settings.GetUiSettings()->setTheme(zorvpro::UiTypes::UiTheme::Day);
        settings.GetUiSettings()->setToolbarPosition(zorvpro::UiTypes::ToolbarPosition::Top);
    }

private:
    QTemporaryDir home_;
};

::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TempSettingsEnvironment);
} // namespace
