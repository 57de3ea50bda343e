#include "data/Settings/AppSettings.h"
#include "support/FocusHost.h"
#include "support/RecordingListener.h"
#include "support/Texts.h"
#include "support/WaitFor.h"
#include "tests/core/support/LogCapture.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/LineEditPropertyImpl.h"
#include "views/GridControl/MyLineEdit.h"

#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zorvpro
{
namespace
{
using test::FocusHost;
using test::RecordingListener;
using Kind = BoundPropertyEvent;

constexpr double kLowest = std::numeric_limits<double>::lowest();
constexpr double kHighest = std::numeric_limits<double>::max();

UnitSettings& Units()
{
    return *AppSettings::Instance().GetUnitSettings();
}

void SetUnits(MeasurementType measurement, TemperatureType temperature)
{
    Units().setMeasurementUnits(measurement);
    Units().setTemperatureUnits(temperature);
}

class LineEditProperty : public ::testing::Test
{
protected:
    void TearDown() override { SetUnits(MeasurementType::Metric, TemperatureType::C); }

    // A bound edit in an active window, reporting to the recorder.
    void Make(UnitType type, double minimum = kLowest, double maximum = kHighest, int precision = 2)
    {
        property.reset(BindableProperty::createLineEdit("Quad_P0X", static_cast<std::uint32_t>(type), 20,
                                                        minimum, maximum, precision));
        impl = dynamic_cast<LineEditPropertyImpl*>(property->impl());
        ASSERT_NE(impl, nullptr);
        property->setEventListener(&listener);
        host = std::make_unique<FocusHost>(property->widget());
        ASSERT_TRUE(host->activated());
    }

    // Focuses the edit and waits for the full-precision text to be selected.
    void Enter()
    {
        property->setWidgetFocus(true);
        ASSERT_TRUE(impl->edit()->hasFocus());
        if (impl->edit()->validator() != nullptr && !impl->edit()->text().isEmpty())
        {
            ASSERT_TRUE(test::WaitFor([&] { return impl->edit()->hasSelectedText(); }));
        }
    }

    // Types as the automation tool does and leaves the field.
    void TypeAndLeave(const QString& text)
    {
        Enter();
        impl->squish_set_display_value(text);
        host->moveFocusAway();
    }

    QString Shown() const { return impl->squish_display_value().toString(); }

    std::unique_ptr<BindableProperty> property;
    LineEditPropertyImpl* impl = nullptr;
    RecordingListener listener;
    std::unique_ptr<FocusHost> host;
};

TEST_F(LineEditProperty, ConvertsEveryUnitKindBothWays)
{
    struct Case
    {
        UnitType type;
        MeasurementType measurement;
        TemperatureType temperature;
        double model;
        const char* shown;
        const char* label;
        const char* typed;
        double committed;
    };
    const auto M = MeasurementType::Metric;
    const auto I = MeasurementType::Imperial;
    const auto C = TemperatureType::C;
    const auto F = TemperatureType::F;
    const Case cases[] = {
        {UnitType::Length, I, C, 1.0, "3.28", "ft", "10", 3.048},
        {UnitType::Length, M, F, 1.0, "1.00", "m", "10", 10.0},
        {UnitType::Angle, M, C, 0.5, "28.65", "\u00B0", "90", 1.5707963267948966},
        {UnitType::Angle, I, C, 0.5, "28.65", "\u00B0", "-45", -0.7853981633974483},
        {UnitType::Temperature, I, F, 22.0, "71.60", "F", "50", 10.0},
        {UnitType::Temperature, I, C, 22.0, "22.00", "C", "50", 50.0},
        {UnitType::Mass, I, C, 1.0, "2.20", "lbs", "22.0462262185", 10.0},
        {UnitType::Mass, M, F, 1.0, "1.00", "kg", "3", 3.0},
        {UnitType::Decibels, I, F, -0.001, "0.00", "dB", "-6", -6.0},
        {UnitType::Percent, M, C, 12345.678, "12345.68", "%", "12345.678", 12345.678},
        {UnitType::Milliseconds, I, C, 5.0, "5.00", "ms", "0.5", 0.5},
        {UnitType::Number, I, F, 3.0, "3.00", "", "1e3", 1000.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.shown);
        SetUnits(c.measurement, c.temperature);
        Make(c.type);
        property->setValue(c.model, false);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(impl->unitLabel()->text(), QString::fromUtf8(c.label));
        EXPECT_EQ(impl->unitLabel()->isVisibleTo(host->window()), c.type != UnitType::Number);
        EXPECT_NEAR(property->value().toDouble(), c.model, 1e-12);
        EXPECT_TRUE(listener.events.empty());

        TypeAndLeave(c.typed);
        ASSERT_EQ(listener.Kinds(),
                  (std::vector<Kind>{Kind::FocusGained, Kind::ValueChanged, Kind::FocusLost}));
        EXPECT_NEAR(listener.events[1].value.toDouble(), c.committed, 1e-9);
        EXPECT_EQ(listener.events[1].name, "Quad_P0X");
        listener.events.clear();
    }
}

TEST_F(LineEditProperty, FollowsUnitChangesWithoutEvents)
{
    SetUnits(MeasurementType::Metric, TemperatureType::F);
    Make(UnitType::Temperature);
    property->setValue(22.0, false);
    EXPECT_EQ(Shown(), "71.60");
    Units().setTemperatureUnits(TemperatureType::C);
    EXPECT_EQ(Shown(), "22.00");
    EXPECT_EQ(impl->unitLabel()->text(), "C");
    // A measurement change does not touch a temperature.
    Units().setMeasurementUnits(MeasurementType::Imperial);
    EXPECT_EQ(Shown(), "22.00");
    EXPECT_NEAR(property->value().toDouble(), 22.0, 1e-12);

    Make(UnitType::Length);
    property->setValue(2.0, false);
    EXPECT_EQ(Shown(), "6.56");
    Units().setMeasurementUnits(MeasurementType::Metric);
    EXPECT_EQ(Shown(), "2.00");
    EXPECT_EQ(impl->unitLabel()->text(), "m");
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(LineEditProperty, CommitsClampsAndRestoresAsAUserExpects)
{
    Make(UnitType::Length, 0.123456, 50.0);
    property->setValue(3.0, false);

    // Leaving untouched reports the focus only.
    Enter();
    EXPECT_EQ(Shown(), "3");
    host->moveFocusAway();
    EXPECT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::FocusGained, Kind::FocusLost}));
    EXPECT_EQ(Shown(), "3.00");

    struct Case
    {
        const char* typed;
        const char* shown;
        double committed; // NaN: no value event
    };
    const double none = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"0.01", "0.12", 0.12},       // below the minimum: the minimum as shown
        {"70", "50.00", 50.0},        // above the maximum
        {"1.23456", "1.23", 1.23456}, // inside: every digit kept
        {"-", "1.23", none},          // no number: the last value comes back
        {".", "1.23", none},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.typed);
        listener.events.clear();
        TypeAndLeave(c.typed);
        EXPECT_EQ(Shown(), c.shown);
        if (std::isnan(c.committed))
        {
            EXPECT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::FocusGained, Kind::FocusLost}));
        }
        else
        {
            ASSERT_EQ(listener.events.size(), 3u);
            EXPECT_DOUBLE_EQ(listener.events[1].value.toDouble(), c.committed);
        }
    }
    EXPECT_DOUBLE_EQ(property->value().toDouble(), 1.23456);

    // Emptied text gets back what it showed at focus-in.
    listener.events.clear();
    Enter();
    QTest::keyClick(impl->edit(), Qt::Key_Backspace);
    ASSERT_TRUE(impl->edit()->text().isEmpty());
    host->moveFocusAway();
    EXPECT_EQ(Shown(), "1.23");

    // Return commits, then comes back for more.
    listener.events.clear();
    Enter();
    impl->squish_set_display_value("4.5");
    QTest::keyClick(impl->edit(), Qt::Key_Return);
    ASSERT_TRUE(test::WaitFor([&] { return listener.events.size() == 4u; }));
    EXPECT_EQ(listener.Kinds(),
              (std::vector<Kind>{Kind::FocusGained, Kind::ValueChanged, Kind::FocusLost, Kind::FocusGained}));
    EXPECT_DOUBLE_EQ(listener.events[1].value.toDouble(), 4.5);
    EXPECT_TRUE(test::WaitFor([&] { return impl->edit()->selectedText() == "4.5"; }));

    // A model value arriving while focused shows in general format; tiny ones as zero.
    impl->setMinimum(kLowest);
    property->setValue(1e-7, false);
    EXPECT_EQ(Shown(), "1e-07");
    host->moveFocusAway();
    Enter();
    EXPECT_EQ(Shown(), "0");
}

TEST_F(LineEditProperty, TextKindAndRefusedInput)
{
    Make(UnitType::Text);
    property->setValue(QString("Stage left"), false);
    EXPECT_EQ(Shown(), "Stage left");
    Enter();
    impl->squish_set_display_value("Balcony");
    QTest::keyClick(impl->edit(), Qt::Key_Return);
    ASSERT_EQ(listener.events.size(), 2u);
    EXPECT_EQ(listener.events[1].event, Kind::ValueChanged);
    EXPECT_EQ(listener.events[1].value, "Balcony");
    host->moveFocusAway();
    EXPECT_EQ(listener.events.back().event, Kind::FocusLost);
    EXPECT_EQ(listener.events.size(), 3u);

    test::LogCapture log;
    listener.events.clear();
    property->setValue(42.0, true); // not a string
    impl->squish_set_display_value(7);
    Make(UnitType::Length);
    property->setValue(1.5, false);
    for (const QVariant& bad : {QVariant("abc"), QVariant(true), QVariant(std::nan(""))})
        property->setValue(bad, true);
    EXPECT_EQ(Shown(), "1.50");
    property->setComboBoxOptions({"A"});
    EXPECT_TRUE(listener.events.empty());

    impl->setMaximum(5.0);
    EXPECT_EQ(test::ThrownText([&] { impl->setMinimum(5.0); }), "Min must be less than max");
    EXPECT_EQ(test::ThrownText([&] { impl->setMaximum(kLowest); }), "Max must be greater than min");
    const auto create = [](std::uint32_t type, int maxLength, int precision)
    {
        return test::ThrownText(
            [&] { delete BindableProperty::createLineEdit("Bad", type, maxLength, 0.0, 1.0, precision); });
    };
    EXPECT_EQ(create(4, 0, 2), "Max length must be greater than 0");
    EXPECT_EQ(create(4, 5, -1), "Precision must be greater than or equal to 0");
    EXPECT_EQ(create(9, 5, 2), "invalid map<K, T> key");
    const std::vector<std::string> texts = log.Texts();
    const auto count = [&](const char* text) { return test::CountContaining(texts, text); };
    EXPECT_EQ(count("Property Control got an invalid property type"), 4);
    EXPECT_EQ(count("QVariant is not of type String expected by API."), 1);
    EXPECT_EQ(count("Non-combo box bindable property specified"), 1);
    EXPECT_GE(count("createLineEdit"), 3);
}

TEST_F(LineEditProperty, DisablingWithClearingEmptiesTheField)
{
    Make(UnitType::Decibels);
    property->setValue(-3.0, false);
    Enter();
    property->setEditable(false, true);
    EXPECT_TRUE(impl->edit()->isReadOnly());
    EXPECT_FALSE(impl->edit()->hasFocus());
    EXPECT_EQ(impl->edit()->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::FocusGained, Kind::FocusLost}));
    property->setEditable(true, false);
    property->setValue(2.0, false);
    EXPECT_EQ(Shown(), "2.00");
    EXPECT_NE(impl->edit()->focusPolicy(), Qt::NoFocus);
}
} // namespace
} // namespace zorvpro
