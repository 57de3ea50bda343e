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

TEST(AppSettingsAdapter, EveryToggleRoundTripsAndStrayValuesStoreNothing)
{
    struct Row
    {
        const char* name;
        std::function<int()> stored;
        std::function<void(int)> store;
    };
    const Row rows[] = {
        {"TemperatureUnits", [] { return static_cast<int>(Units().getTemperatureUnits()); },
         [](int v) { Units().setTemperatureUnits(static_cast<TemperatureType>(v)); }},
        {"MeasurementUnits", [] { return static_cast<int>(Units().getMeasurementUnits()); },
         [](int v) { Units().setMeasurementUnits(static_cast<MeasurementType>(v)); }},
        {"ColorTheme", [] { return static_cast<int>(Ui().getTheme()); },
         [](int v) { Ui().setTheme(static_cast<UiTypes::UiTheme>(v)); }},
        {"ToolbarLocation", [] { return static_cast<int>(Ui().getToolbarPosition()); },
         [](int v) { Ui().setToolbarPosition(static_cast<UiTypes::ToolbarPosition>(v)); }},
    };
    ApplicationSettingsControl grid;
    for (const Row& row : rows)
        row.store(1);
    AppSettingsAdapter adapter(&grid);
    auto shown = [&](const char* name) { return grid.getProperty(name)->value(); };

    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        // The constructor showed what was stored.
        EXPECT_EQ(shown(row.name), QVariant(true));
        // Stored elsewhere, shown here.
        row.store(0);
        EXPECT_EQ(shown(row.name), QVariant(false));
        // Toggled here (as a switch reports it, or as a number or text), stored.
        for (const auto& [value, expected] :
             {std::pair<QVariant, int>{true, 1}, {false, 0}, {1, 1}, {"0", 0}, {"TRUE", 1}, {0.0, 0}})
        {
            adapter.onPropertyEvent(BoundPropertyEvent::ValueChanged, row.name, value);
            EXPECT_EQ(row.stored(), expected) << value.toString().toStdString();
            EXPECT_EQ(shown(row.name), QVariant(expected == 1));
        }
        // A value that reads as neither stores nothing; the grid shows the
        // stored setting again.
        row.store(1);
        for (const QVariant& stray : {QVariant(), QVariant("maybe"), QVariant(QColor(Qt::red))})
        {
            grid.getProperty(row.name)->setValue(false, false);
            adapter.onPropertyEvent(BoundPropertyEvent::ValueChanged, row.name, stray);
            EXPECT_EQ(row.stored(), 1);
            EXPECT_EQ(shown(row.name), QVariant(true));
        }
        // Only value changes count.
        adapter.onPropertyEvent(BoundPropertyEvent::FocusLost, row.name, false);
        adapter.onPropertyEvent(BoundPropertyEvent::ValuePassedThrough, row.name, false);
        EXPECT_EQ(row.stored(), 1);
    }
    adapter.onPropertyEvent(BoundPropertyEvent::ValueChanged, "Theme", false);
    EXPECT_EQ(Ui().getTheme(), UiTypes::UiTheme::Day);

    // A switch the user clicks reaches the settings through the adapter.
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
    auto send = [&](const char* name, const QVariant& value)
    { adapter.onPropertyEvent(BoundPropertyEvent::ValueChanged, name, value); };

    struct TextRow
    {
        const char* name;
        QString (ProjectSettings::*get)() const;
    };
    for (const TextRow& row : {TextRow{"ProjectVersion", &ProjectSettings::getVersion},
                               TextRow{"ProjectVenue", &ProjectSettings::getVenue},
                               TextRow{"ProjectDesigner", &ProjectSettings::getDesigner},
                               TextRow{"ProjectNotes", &ProjectSettings::getNotes}})
    {
        SCOPED_TRACE(row.name);
        send(row.name, QString("Main hall"));
        EXPECT_EQ((Project().*row.get)(), "Main hall");
        EXPECT_EQ(shown(row.name), QVariant("Main hall"));
        send(row.name, 42);
        EXPECT_EQ((Project().*row.get)(), "42");
        // No text at all: the stored text stays, and shows again.
        grid.getProperty(row.name)->setValue(QString("typed"), false);
        send(row.name, QVariant());
        EXPECT_EQ((Project().*row.get)(), "42");
        EXPECT_EQ(shown(row.name), QVariant("42"));
    }
    send("ProjectNotes", QString("Stage left\r\nStage right"));
    EXPECT_EQ(Project().getNotes(), "Stage left\nStage right");
    EXPECT_EQ(shown("ProjectNotes"), QVariant("Stage left\nStage right"));

    struct NumberRow
    {
        const char* name;
        double (ProjectSettings::*get)() const;
        double value;
    };
    for (const NumberRow& row : {NumberRow{"Temperature", &ProjectSettings::getTemperature, -4.5},
                                 NumberRow{"Humidity", &ProjectSettings::getHumidity, 65.0},
                                 NumberRow{"EarHeight", &ProjectSettings::getDefaultEarHeight, 1.75}})
    {
        SCOPED_TRACE(row.name);
        send(row.name, row.value);
        EXPECT_DOUBLE_EQ((Project().*row.get)(), row.value);
        EXPECT_DOUBLE_EQ(shown(row.name).toDouble(), row.value);
        send(row.name, QString::number(row.value + 1.0));
        EXPECT_DOUBLE_EQ((Project().*row.get)(), row.value + 1.0);
        for (const QVariant& stray : {QVariant("warm"), QVariant(), QVariant(qInf())})
        {
            send(row.name, stray);
            EXPECT_DOUBLE_EQ((Project().*row.get)(), row.value + 1.0);
            EXPECT_DOUBLE_EQ(shown(row.name).toDouble(), row.value + 1.0);
        }
    }
    // Temperature and humidity reached the acoustic environment at once.
    EXPECT_DOUBLE_EQ(acoustics::Environment::instance().getTemperature(), -3.5);

    send("AirAbsorb", true);
    EXPECT_TRUE(Project().getAirAbsorptionEnabled());
    EXPECT_EQ(shown("AirAbsorb"), QVariant(true));
    send("AirAbsorb", QString("perhaps"));
    EXPECT_TRUE(Project().getAirAbsorptionEnabled());

    // Changes made elsewhere show, and reach the environment.
    Project().setTemperature(30.0);
    EXPECT_DOUBLE_EQ(shown("Temperature").toDouble(), 30.0);
    EXPECT_DOUBLE_EQ(acoustics::Environment::instance().getTemperature(), 30.0);
    send("Unknown", 1.0);
    send("Temperature", QVariant());
    adapter.onPropertyEvent(BoundPropertyEvent::FocusGained, "Temperature", 12.0);
    EXPECT_DOUBLE_EQ(Project().getTemperature(), 30.0);

    // The venue typed into the grid is stored when the user presses Return.
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
