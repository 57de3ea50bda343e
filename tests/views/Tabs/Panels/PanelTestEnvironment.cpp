// Every panel test starts from the application's number format and metric
// units.

#include "Resources/Fonts/StandInFonts.h"
#include "data/Settings/AppSettings.h"
#include "views/Common/NumberLocale.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace
{
class PanelTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        zorvpro::UseLocaleWithoutGroupSeparators();
        zorvpro::RegisterStandInFonts();
        zorvpro::UnitSettings* units = zorvpro::AppSettings::Instance().GetUnitSettings();
        units->setMeasurementUnits(zorvpro::MeasurementType::Metric);
        units->setTemperatureUnits(zorvpro::TemperatureType::C);
    }
};

::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PanelTestEnvironment);
} // namespace
