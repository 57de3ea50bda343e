// Puts every widget test on the same footing: a known locale without group
// separators (as the application sets at start-up) and metric units.

#include "data/Settings/AppSettings.h"
#include "views/Common/NumberLocale.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace
{
class GuiTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        zorvpro::UseLocaleWithoutGroupSeparators();
        zorvpro::UnitSettings* units = zorvpro::AppSettings::Instance().GetUnitSettings();
        units->setMeasurementUnits(zorvpro::MeasurementType::Metric);
        units->setTemperatureUnits(zorvpro::TemperatureType::C);
    }
};

::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiTestEnvironment);
} // namespace
