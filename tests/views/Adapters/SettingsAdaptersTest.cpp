#include "acoustics/model/Environment.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Settings/AppSettings.h"
#include "views/Adapters/Settings/AppSettingsAdapter.h"
#include "views/Adapters/Settings/ProjectSettingsAdapter.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"

#include <QColor>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
UiSettings& Ui()
{
    return *AppSettings::Instance().GetUiSettings();
}

UnitSettings& Units()
{
    return *AppSettings::Instance().GetUnitSettings();
}

ProjectSettings& Project()
{
    return *ProjectDefinition::Instance()->GetSettings();
}

void Send(IBindablePropertyEventListener& adapter, const char* name, const QVariant& value)
{
    adapter.onPropertyEvent(BoundPropertyEvent::ValueChanged, name, value);
}

TEST(AppSettingsAdapter, EveryToggleRoundTripsAndStrayValuesStoreNothing)
{
    struct Row
    {
        const char* name;
        std::function<int()> stored;
        std::function<void(int)> store;
    };
    const Row rows[] = {
        {"TemperatureUnits", [] { return int(Units().getTemperatureUnits()); },
         [](int v) { Units().setTemperatureUnits(TemperatureType(v)); }},
        {"MeasurementUnits", [] { return int(Units().getMeasurementUnits()); },
         [](int v) { Units().setMeasurementUnits(MeasurementType(v)); }},
        {"ColorTheme", [] { return int(Ui().getTheme()); },
         [](int v) { Ui().setTheme(UiTypes::UiTheme(v)); }},
        {"ToolbarLocation", [] { return int(Ui().getToolbarPosition()); },
         [](int v) { Ui().setToolbarPosition(UiTypes::ToolbarPosition(v)); }},
    };
    ApplicationSettingsControl grid;
    for (const Row& row : rows)
        row.store(1);
    AppSettingsAdapter adapter(&grid);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        auto shown = [&] { return grid.getProperty(row.name)->value(); };
        EXPECT_EQ(shown(), QVariant(true));
        row.store(0);
        EXPECT_EQ(shown(), QVariant(false));
        for (const auto& [value, expected] :
             {std::pair<QVariant, int>{true, 1}, {false, 0}, {1, 1}, {"0", 0}, {"TRUE", 1}, {0.0, 0}})
        {
            Send(adapter, row.name, value);
            EXPECT_EQ(row.stored(), expected);
            EXPECT_EQ(shown(), QVariant(expected == 1));
        }
        // Unreadable: nothing stored, the grid shows the stored setting again.
        row.store(1);
        for (const QVariant& stray : {QVariant(), QVariant("maybe"), QVariant(QColor(Qt::red))})
        {
            grid.getProperty(row.name)->setValue(false, false);
            Send(adapter, row.name, stray);
            EXPECT_EQ(row.stored(), 1);
            EXPECT_EQ(shown(), QVariant(true));
        }
        adapter.onPropertyEvent(BoundPropertyEvent::FocusLost, row.name, false);
        EXPECT_EQ(row.stored(), 1);
    }
    // A switch the user clicks reaches the settings.
    QWidget* toggle = grid.getProperty("MeasurementUnits")->widget();
    grid.widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.widget()));
    QTest::mouseClick(toggle, Qt::LeftButton, Qt::NoModifier, toggle->rect().center());
    EXPECT_EQ(Units().getMeasurementUnits(), MeasurementType::Metric);
    for (const Row& row : rows)
        row.store(0);
    EXPECT_THROW(AppSettingsAdapter(nullptr), std::logic_error);
}

TEST(ProjectSettingsAdapter, EveryFieldRoundTripsAndTheAirFollowsAtOnce)
{
    ProjectDefinition::Instance()->Clear(false);
    ProjectPreferencesControl grid;
    ProjectSettingsAdapter adapter(&grid);
    auto shown = [&](const char* name) { return grid.getProperty(name)->value(); };

    for (const auto& [name, get] : {std::pair{"ProjectVersion", &ProjectSettings::getVersion},
                                    {"ProjectVenue", &ProjectSettings::getVenue},
                                    {"ProjectDesigner", &ProjectSettings::getDesigner},
                                    {"ProjectNotes", &ProjectSettings::getNotes}})
    {
        SCOPED_TRACE(name);
        Send(adapter, name, 42);
        EXPECT_EQ((Project().*get)(), "42");
        grid.getProperty(name)->setValue(QString("typed"), false);
        Send(adapter, name, QVariant());
        EXPECT_EQ((Project().*get)(), "42");
        EXPECT_EQ(shown(name), QVariant("42"));
    }
    Send(adapter, "ProjectNotes", QString("Stage left\r\nStage right"));
    EXPECT_EQ(shown("ProjectNotes"), QVariant("Stage left\nStage right"));

    for (const auto& [name, get, value] : {std::tuple{"Temperature", &ProjectSettings::getTemperature, -4.5},
                                           {"Humidity", &ProjectSettings::getHumidity, 65.0},
                                           {"EarHeight", &ProjectSettings::getDefaultEarHeight, 1.75}})
    {
        SCOPED_TRACE(name);
        Send(adapter, name, value);
        EXPECT_DOUBLE_EQ(shown(name).toDouble(), value);
        Send(adapter, name, QString::number(value + 1.0));
        for (const QVariant& stray : {QVariant("warm"), QVariant(), QVariant(qInf())})
        {
            Send(adapter, name, stray);
            EXPECT_DOUBLE_EQ((Project().*get)(), value + 1.0);
            EXPECT_DOUBLE_EQ(shown(name).toDouble(), value + 1.0);
        }
    }
    EXPECT_DOUBLE_EQ(acoustics::Environment::instance().getTemperature(), -3.5);
    Send(adapter, "AirAbsorb", true);
    Send(adapter, "AirAbsorb", QString("perhaps"));
    EXPECT_TRUE(Project().getAirAbsorptionEnabled());
    EXPECT_EQ(shown("AirAbsorb"), QVariant(true));

    // Changes made elsewhere show, and reach the environment.
    Project().setTemperature(30.0);
    EXPECT_DOUBLE_EQ(shown("Temperature").toDouble(), 30.0);
    EXPECT_DOUBLE_EQ(acoustics::Environment::instance().getTemperature(), 30.0);
    Send(adapter, "Unknown", 1.0);
    adapter.onPropertyEvent(BoundPropertyEvent::FocusGained, "Temperature", 12.0);
    EXPECT_DOUBLE_EQ(Project().getTemperature(), 30.0);

    // A venue typed in and confirmed with Return is stored.
    auto* venue = grid.widget()->findChild<QLineEdit*>("ProjectVenueEdit");
    ASSERT_NE(venue, nullptr);
    grid.widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.widget()));
    venue->setFocus();
    venue->selectAll();
    QTest::keyClicks(venue, "Arena");
    QTest::keyClick(venue, Qt::Key_Return);
    EXPECT_EQ(Project().getVenue(), "Arena");
    EXPECT_THROW(ProjectSettingsAdapter(nullptr), std::logic_error);
    ProjectDefinition::Instance()->Clear(false);
}
} // namespace
} // namespace zorvpro
