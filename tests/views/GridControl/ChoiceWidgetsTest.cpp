#include "support/FocusHost.h"
#include "support/RecordingListener.h"
#include "support/Texts.h"
#include "support/WaitFor.h"
#include "tests/core/support/LogCapture.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/ComboBoxPropertyImpl.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/ToggleSwitchPropertyImpl.h"

#include <QAbstractItemView>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
using test::FocusHost;
using test::RecordingListener;
using test::WaitFor;
using Kind = BoundPropertyEvent;

using test::CountContaining;

TEST(BindableProperty, EventRulesHoldForEveryKind)
{
    struct Case
    {
        BindableProperty* property;
        QVariant shown;
        QVariant refused;
    };
    auto* combo = BindableProperty::createComboBox("Spl_Mode");
    combo->setComboBoxOptions({"Octave", "1/3 Octave"});
    const Case cases[] = {
        {combo, "1/3 Octave", "octave"},
        {BindableProperty::createLineEdit("Quad_P0X", 4, 10, -100.0, 100.0, 2), 2.5, "two"},
        {BindableProperty::createToggleSwitch("Spl_ShowSplMap", "OFF", "ON"), true, 1.0},
    };
    test::LogCapture log;
    for (const Case& c : cases)
    {
        std::unique_ptr<BindableProperty> property(c.property);
        SCOPED_TRACE(property->name().toStdString());
        RecordingListener listener;
        // Without a listener nothing is reported, and nothing breaks.
        property->setValue(c.shown, true);
        property->setEventListener(&listener);
        property->setValue(c.shown, false);
        property->setValue(c.refused, true);
        property->impl()->raiseEvent(static_cast<BoundPropertyEvent>(4), 1);
        EXPECT_TRUE(listener.events.empty());
        property->setValue(c.shown, true);
        ASSERT_EQ(listener.events.size(), 1u);
        EXPECT_EQ(listener.events[0].event, Kind::ValueChanged);
        EXPECT_EQ(listener.events[0].value, property->value());
        EXPECT_EQ(property->impl()->squish_bound_value(), property->value());
        EXPECT_EQ(property->widget()->property("squish_bound_value"), property->value());
        property->impl()->raiseEvent(Kind::ValuePassedThrough, "raw");
        EXPECT_EQ(listener.events.back().value, "raw");
        EXPECT_THROW(BindableProperty(property->kind(), ""), std::runtime_error);
    }
    // Logged where it failed and again where each constructor passed it on.
    EXPECT_GE(CountContaining(log.Texts(), "Expected string variable was empty"), 6);

    // A number that names no kind builds a toggle switch.
    EXPECT_EQ(BindableProperty(42, "Spl_AutoCalculate").kind(), PropertyKind::ToggleSwitch);

    auto* button = BindableProperty::createButton("Recalculate", "Recalculate", false);
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    delete button;
    EXPECT_THROW(BindableProperty::createButton("Recalculate", "", false), std::runtime_error);
}

TEST(ComboBoxProperty, ReportsChoicesNotProgrammaticChanges)
{
    std::unique_ptr<BindableProperty> property(BindableProperty::createComboBox("Spl_Mode"));
    auto* combo = dynamic_cast<ComboBoxPropertyImpl*>(property->impl());
    ASSERT_NE(combo, nullptr);
    RecordingListener listener;
    property->setEventListener(&listener);
    property->setComboBoxOptions({"Octave", "1/3 Octave", "All"});
    property->themeChanged(0);
    FocusHost host(combo);
    ASSERT_TRUE(host.activated());

    property->setValue("1/3 Octave", false);
    combo->squish_set_display_value("All");
    EXPECT_EQ(combo->squish_display_value(), "All");
    property->setComboBoxOptions({"Vocal", "Octave"});
    EXPECT_EQ(property->value(), "Vocal");
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].value, "All");
    listener.events.clear();

    // Keyboard: focus, one choice, focus gone.
    combo->setWidgetFocus(true);
    QTest::keyClick(combo, Qt::Key_Down);
    host.moveFocusAway();
    EXPECT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::FocusGained, Kind::ValueChanged, Kind::FocusLost}));
    EXPECT_EQ(listener.events[1].value, "Octave");
    listener.events.clear();

    // The open list passes through what is under the cursor; closing reports once more.
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(WaitFor([&] { return view->isVisible(); }));
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return listener.events.size() >= 4u; }));
    std::vector<std::pair<Kind, QString>> seen;
    for (const auto& e : listener.events)
        if (e.event != Kind::FocusGained && e.event != Kind::FocusLost)
            seen.push_back({e.event, e.value.toString()});
    const std::vector<std::pair<Kind, QString>> expected = {{Kind::ValuePassedThrough, "Octave"},
                                                            {Kind::ValuePassedThrough, "Vocal"},
                                                            {Kind::ValueChanged, "Vocal"},
                                                            {Kind::ValueChanged, "Vocal"}};
    EXPECT_EQ(seen, expected);

    property->setEditable(false, true);
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_TRUE(combo->styleSheet().contains("color: #575757"));
    EXPECT_EQ(combo->focusPolicy(), Qt::NoFocus);
}

TEST(ToggleSwitchProperty, AnimatesTheKnobAndReportsClicksOnly)
{
    std::unique_ptr<BindableProperty> property(
        BindableProperty::createToggleSwitch("Spl_ShowSplMap", "OFF", "ON"));
    auto* toggle = dynamic_cast<ToggleSwitchPropertyImpl*>(property->impl());
    ASSERT_NE(toggle, nullptr);
    RecordingListener listener;
    property->setEventListener(&listener);
    FocusHost host(toggle);
    ASSERT_TRUE(host.activated());
    EXPECT_EQ(toggle->size(), QSize(35, 20));
    EXPECT_TRUE(toggle->isKnobLook());
    EXPECT_EQ(toggle->offset(), 7);

    QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].value, true);
    ASSERT_TRUE(WaitFor([&] { return toggle->animation()->state() == QAbstractAnimation::Running; }));
    EXPECT_EQ(toggle->animation()->startValue(), 7);
    EXPECT_EQ(toggle->animation()->endValue(), 21);
    EXPECT_EQ(toggle->animation()->duration(), 120);
    ASSERT_TRUE(WaitFor([&] { return toggle->offset() == 21; }));

    // Showing the current value does nothing; showing the other one animates silently.
    property->setValue(true, false);
    QCoreApplication::processEvents();
    EXPECT_EQ(toggle->animation()->state(), QAbstractAnimation::Stopped);
    property->setValue(false, false);
    ASSERT_TRUE(WaitFor([&] { return toggle->offset() == 7; }));
    EXPECT_EQ(toggle->animation()->startValue(), 21);

    test::LogCapture log;
    toggle->squish_set_display_value("off"); // already off
    toggle->squish_set_display_value("maybe");
    property->setValue(1, false);
    EXPECT_EQ(listener.events.size(), 1u);
    toggle->squish_set_display_value("On");
    EXPECT_EQ(listener.events.size(), 2u);
    EXPECT_EQ(toggle->squish_display_value(), "ON");
    const std::vector<std::string> texts = log.Texts();
    EXPECT_EQ(CountContaining(texts, "Label specified does not match label of OFF/ON switch"), 1);
    EXPECT_EQ(CountContaining(texts, "Boolean is the expected type for this property"), 1);

    // Focus and keys as a user tabs in and presses Space.
    toggle->setWidgetFocus(true);
    QTest::keyClick(toggle, Qt::Key_Space);
    host.moveFocusAway();
    EXPECT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::ValueChanged, Kind::ValueChanged, Kind::FocusGained,
                                                   Kind::ValueChanged, Kind::FocusLost}));
    EXPECT_EQ(listener.events[3].value, false);

    property->setValue(true, false);
    property->setEditable(false, true);
    EXPECT_EQ(property->value(), false);
    EXPECT_EQ(toggle->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(listener.events.size(), 5u);

    struct Labels
    {
        const char* off;
        const char* on;
        bool knob;
        int height;
    };
    for (const Labels& l : {Labels{"Off", "On", false, 24}, Labels{"OFF", "Right", false, 20},
                            Labels{"Dark", "Light", false, 24}})
    {
        std::unique_ptr<BindableProperty> labelled(
            BindableProperty::createToggleSwitch("ColorTheme", l.off, l.on));
        auto* selector = dynamic_cast<ToggleSwitchPropertyImpl*>(labelled->impl());
        EXPECT_EQ(selector->isKnobLook(), l.knob);
        EXPECT_EQ(selector->minimumHeight(), l.height);
        EXPECT_EQ(selector->sizePolicy().horizontalPolicy() == QSizePolicy::Expanding, l.height == 24);
        selector->squish_set_display_value(QString(l.on).toLower());
        EXPECT_EQ(labelled->value(), true);
    }
    EXPECT_THROW(BindableProperty::createToggleSwitch("ColorTheme", "", "On"), std::runtime_error);
}
} // namespace
} // namespace zorvpro
