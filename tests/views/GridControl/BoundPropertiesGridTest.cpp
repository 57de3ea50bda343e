#include "views/GridControl/BoundPropertiesGrid.h"
#include "support/RecordingListener.h"
#include "tests/core/support/LogCapture.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/ComboBoxPropertyImpl.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
using test::RecordingListener;
using Kind = BoundPropertyEvent;

// A panel with two combo boxes, built the way every panel is.
class TwoChoicePanel : public BoundPropertiesGrid
{
public:
    TwoChoicePanel() : BoundPropertiesGrid("TwoChoicePanel")
    {
        createProperties();
        layoutProperties();
    }

    void createProperties() override
    {
        for (const char* name : {"Spl_Mode", "Spl_Res"})
        {
            bindProperty(BindableProperty::createComboBox(name));
            getProperty(name)->setComboBoxOptions({"Octave", "1/3 Octave"});
        }
    }

    void layoutProperties() override
    {
        std::uint32_t row = 0;
        addWidgetToGrid(createLabel("Mode", 80), static_cast<int>(row), 0);
        addWidgetToGrid(getProperty("Spl_Mode")->widget(), static_cast<int>(row), 1);
        addSpacerRow(widget(), row, 0);
        addWidgetToGrid(getProperty("Spl_Res")->widget(), static_cast<int>(++row), 1);
    }
};

TEST(BoundPropertiesGrid, BindsByNameAndLogsWhatItDrops)
{
    TwoChoicePanel panel;
    RecordingListener listener;
    panel.setEventListener(&listener);
    BindableProperty* mode = panel.getProperty("Spl_Mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(panel.getProperty("Spl_Freq"), nullptr);
    EXPECT_EQ(panel.widget()->objectName(), "TwoChoicePanel");
    EXPECT_EQ(panel.widget()->findChild<QLabel*>()->width(), 80);

    test::LogCapture log;
    // A duplicate is refused but still reports to the grid.
    auto* duplicate = BindableProperty::createComboBox("Spl_Mode");
    duplicate->setComboBoxOptions({"A", "B"});
    panel.bindProperty(duplicate);
    panel.bindProperty(nullptr);
    EXPECT_EQ(panel.getProperty("Spl_Mode"), mode);
    duplicate->setValue("B", true);

    panel.updateProperty("Spl_Mode", "1/3 Octave");
    panel.updateProperty("Spl_Freq", "1/3 Octave");
    panel.updateProperty("Spl_Res", "no such option");
    EXPECT_EQ(mode->value(), "1/3 Octave");
    EXPECT_EQ(panel.getProperty("Spl_Res")->value(), "Octave");

    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_NE(texts[0].find("Exception BindableProperty already exists with this control occurred"),
              std::string::npos);
    EXPECT_NE(texts[1].find("Exception Spl_Freq not bound for property update occurred"), std::string::npos);
    EXPECT_NE(texts[2].find("Exception Bound value specified is not a combo box option"), std::string::npos);

    // Only the duplicate's user-like change reached the listener.
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].event, Kind::ValueChanged);
    EXPECT_EQ(listener.events[0].name, "Spl_Mode");
    EXPECT_EQ(listener.events[0].value, "B");

    panel.setEventListener(nullptr);
    mode->setValue("Octave", true);
    EXPECT_EQ(listener.events.size(), 1u);
}

TEST(BoundPropertiesGrid, DisablingTakesFocusFirstAndThemesReachEveryProperty)
{
    auto panel = std::make_unique<TwoChoicePanel>();
    RecordingListener listener;
    panel->setEventListener(&listener);
    QWidget* frame = panel->widget();
    frame->show();
    QApplication::setActiveWindow(frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    auto* res = qobject_cast<QComboBox*>(panel->getProperty("Spl_Res")->widget());
    panel->updateProperty("Spl_Res", "1/3 Octave");
    panel->getProperty("Spl_Res")->setWidgetFocus(true);
    ASSERT_TRUE(res->hasFocus());
    ASSERT_EQ(listener.events.back().event, Kind::FocusGained);
    listener.events.clear();

    EXPECT_EQ(panel->currentTheme(), 1);
    panel->themeChanged(0);
    EXPECT_EQ(panel->currentTheme(), 0);
    EXPECT_TRUE(res->styleSheet().contains("#3b3b3b"));

    panel->setEditable(false, true);
    EXPECT_FALSE(res->isEnabled());
    EXPECT_EQ(res->currentText(), "Octave");
    EXPECT_TRUE(res->styleSheet().contains("color: #575757"));
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].event, Kind::FocusLost);
    EXPECT_EQ(listener.events[0].name, "Spl_Res");

    // The silent reset must not swallow the next user choice.
    panel->setEditable(true, false);
    res->setFocus();
    QTest::keyClick(res, Qt::Key_Down);
    EXPECT_EQ(listener.events.back().event, Kind::ValueChanged);
    EXPECT_EQ(listener.events.back().value, "1/3 Octave");

    QPointer<QWidget> watched(res);
    panel.reset();
    EXPECT_TRUE(watched.isNull());
}
} // namespace
} // namespace zorvpro
