#include "support/RecordingListener.h"
#include "tests/core/support/LogCapture.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MultiLineEditPropertyImpl.h"
#include "views/GridControl/SliderPropertyImpl.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace zorvpro
{
namespace
{
using test::RecordingListener;
using Kind = BoundPropertyEvent;

// A shown, active window holding the property's widget and a second widget
// to move the focus to.
struct Window
{
    explicit Window(QWidget* property)
    {
        auto* layout = new QVBoxLayout(&frame);
        layout->addWidget(property);
        layout->addWidget(other);
        frame.show();
        QApplication::setActiveWindow(&frame);
    }
    ~Window()
    {
        // The property owns its widget; it must not die with the frame.
        frame.layout()->itemAt(0)->widget()->setParent(nullptr);
    }
    QWidget frame;
    QLineEdit* other = new QLineEdit(&frame);
};

TEST(MultiLineEditProperty, TextStopsAtTheMaximumAndIsReportedOnFocusOut)
{
    test::LogCapture log;
    std::unique_ptr<BindableProperty> notes(BindableProperty::createMultiLineEdit("Beam_Comments", 280));
    RecordingListener listener;
    notes->setEventListener(&listener);
    auto* edit = dynamic_cast<MultiLineEditPropertyImpl*>(notes->impl());
    ASSERT_NE(edit, nullptr);
    Window window(edit);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.frame));

    const QString longText = QString("0123456789").repeated(40);
    notes->setValue(longText, false);
    EXPECT_EQ(notes->value().toString(), longText.left(280));
    EXPECT_TRUE(listener.events.empty());

    // Pasting past the end loses what does not fit.
    notes->setValue(QString("abc"), false);
    edit->setFocus();
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(QString("x").repeated(300));
    QTRY_COMPARE(edit->toPlainText().length(), 280);
    EXPECT_EQ(edit->toPlainText(), "abc" + QString("x").repeated(277));

    // Keys typed at the limit vanish; Tab inserts nothing.
    QTest::keyClicks(edit, "yz");
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::keyClick(edit, Qt::Key_Backtab);
    QTRY_COMPARE(edit->toPlainText().length(), 280);
    EXPECT_FALSE(edit->toPlainText().contains('\t'));
    EXPECT_FALSE(edit->toPlainText().contains('y'));
    listener.events.clear();

    window.other->setFocus();
    ASSERT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::ValueChanged, Kind::FocusLost}));
    EXPECT_EQ(listener.events[0].value.toString().length(), 280);

    // Automation types key by key; a number types nothing.
    notes->setValue(QString(), false);
    edit->setProperty("squish_display_value", 42);
    edit->setProperty("squish_display_value", QString("Hi there"));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(notes->value().toString(), "Hi there");

    // Read-only: no focus events, disabled clear without an event.
    listener.events.clear();
    notes->setEditable(false, true);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(notes->value().toString(), "");
    EXPECT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::ValueChanged, Kind::FocusLost}));
    listener.events.clear();
    edit->setFocusPolicy(Qt::StrongFocus);
    edit->setFocus();
    EXPECT_TRUE(listener.events.empty());

    notes->setValue(3, true);
    EXPECT_THROW(edit->setMaxLength(0), std::logic_error);
    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("QVariant is not of type String expected by API."), std::string::npos);
    EXPECT_NE(texts[1].find("Bound type was of an unexpected type"), std::string::npos);
}

TEST(SliderProperty, StepsBindingAndRangeChecks)
{
    test::LogCapture log;
    std::unique_ptr<BindableProperty> zoom(BindableProperty::createSlider("Toolbar_SliderPlan", 0, 101));
    RecordingListener listener;
    zoom->setEventListener(&listener);
    auto* widget = dynamic_cast<SliderPropertyImpl*>(zoom->impl());
    ASSERT_NE(widget, nullptr);
    auto* slider = widget->findChild<QSlider*>("Toolbar_SliderPlanSlider");
    auto* add = widget->findChild<QPushButton*>("Toolbar_SliderPlanAddButton");
    auto* subtract = widget->findChild<QPushButton*>("Toolbar_SliderPlanSubtractButton");
    ASSERT_TRUE(slider && add && subtract);
    EXPECT_EQ(widget->width(), 110);

    const struct
    {
        QVariant bound;
        bool shown;
        int value;
    } bindings[] = {{QString("12"), true, 12},
                    {QString("12.5"), false, 12},
                    {QString("ab"), false, 12},
                    {QVariant(40), true, 40},
                    {QVariant(1.5), false, 40}};
    for (const auto& b : bindings)
    {
        zoom->setValue(b.bound, false);
        EXPECT_EQ(zoom->value(), QVariant(b.value)) << b.bound.toString().toStdString();
    }
    EXPECT_TRUE(listener.events.empty());

    widget->setProperty("squish_display_value", -3);
    ASSERT_EQ(listener.events.size(), 3u);
    EXPECT_EQ(listener.events[0].value, QVariant(39));
    EXPECT_EQ(listener.events[2].value, QVariant(37));
    widget->setProperty("squish_display_value", QString("2"));

    zoom->setValue(101, false);
    listener.events.clear();
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(zoom->value(), QVariant(101));
    EXPECT_TRUE(listener.events.empty());
    QTest::mouseClick(subtract, Qt::LeftButton);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].value, QVariant(100));

    EXPECT_THROW(widget->configure(5, 5), std::logic_error);
    EXPECT_EQ(slider->maximum(), 101);

    // Clearing a disabled slider centres it without reporting anything.
    listener.events.clear();
    zoom->setEditable(false, true);
    EXPECT_EQ(zoom->value(), QVariant(50));
    EXPECT_EQ(add->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(listener.events.empty());

    EXPECT_THROW(BindableProperty::createSlider("Toolbar_SliderSide", 3, 1), std::exception);
    const std::vector<std::string> texts = log.Texts();
    ASSERT_GE(texts.size(), 6u);
    EXPECT_NE(texts[0].find("Unexpected bound value type received"), std::string::npos);
    EXPECT_NE(texts[3].find("QVariant is not of type integer expected by API."), std::string::npos);
    EXPECT_NE(texts[4].find("min is greater than or equal to max"), std::string::npos);
}
} // namespace
} // namespace zorvpro
