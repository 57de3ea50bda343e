#include "support/RecordingListener.h"
#include "tests/core/support/LogCapture.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/ColorPickerPropertyImpl.h"
#include "views/GridControl/IconPropertyImpl.h"
#include "views/GridControl/IconRenderer.h"
#include "views/GridControl/TabPropertyImpl.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace zorvpro
{
namespace
{
using test::RecordingListener;
using Kind = BoundPropertyEvent;
constexpr int kLock = 13;

IconRenderer RowIcons(int icon)
{
    IconRenderer renderer;
    for (int theme : {1, 0})
        for (int state : {QIcon::On, QIcon::Off})
            for (int mode : {QIcon::Normal, QIcon::Active, QIcon::Selected, QIcon::Disabled})
                renderer.addFile(icon, theme, mode, state);
    return renderer;
}

QImage Shown(const QAbstractButton& button)
{
    return button.icon().pixmap(button.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage File(int icon, int theme, int mode, int state)
{
    return QImage(IconRenderer::fileName(icon, theme, mode, state)).convertToFormat(QImage::Format_ARGB32);
}

void Hover(QWidget* widget, bool inside)
{
    QEvent event(inside ? QEvent::Enter : QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

// Answers the modal dialog once it shows, so that exec() returns; a dialog
// left open after the answer is closed as cancelled.
void AnswerWhenShown(QDialog* dialog, std::function<void()> answer)
{
    auto* poll = new QTimer(dialog);
    QObject::connect(poll, &QTimer::timeout, dialog,
                     [=]
                     {
                         if (!dialog->isVisible())
                             return;
                         poll->stop();
                         poll->deleteLater();
                         answer();
                         if (dialog->isVisible())
                             dialog->reject();
                     });
    poll->start(5);
}

void ClickDialogButton(QDialog* dialog, QDialogButtonBox::StandardButton which)
{
    QPushButton* button = dialog->findChild<QDialogButtonBox*>()->button(which);
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(IconProperty, PixmapFollowsSelectionThenEnabledThenHoverThenValue)
{
    std::unique_ptr<BindableProperty> lock(
        BindableProperty::createIconButton("17;Entity_Lock", RowIcons(kLock), true, QKeySequence()));
    auto* button = dynamic_cast<IconPropertyImpl*>(lock->impl());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->size(), QSize(24, 24));
    EXPECT_TRUE(button->isCheckable());

    struct Case
    {
        bool selected, enabled, hovered, checked;
        int theme, mode, state;
    };
    const Case cases[] = {
        {false, true, false, false, 1, QIcon::Normal, QIcon::Off},
        {false, true, false, true, 1, QIcon::Normal, QIcon::On},
        {false, true, true, true, 1, QIcon::Active, QIcon::On},
        {false, false, true, true, 1, QIcon::Disabled, QIcon::On},
        {true, false, true, false, 1, QIcon::Selected, QIcon::Off},
        {true, true, false, true, 0, QIcon::Selected, QIcon::On},
        {false, true, true, false, 0, QIcon::Active, QIcon::Off},
    };
    for (const Case& c : cases)
    {
        lock->themeChanged(c.theme);
        lock->setValue(c.checked, false);
        lock->setEditable(c.enabled, false);
        lock->setSelected(c.selected);
        Hover(button, c.hovered);
        EXPECT_EQ(Shown(*button), File(kLock, c.theme, c.mode, c.state))
            << c.selected << c.enabled << c.hovered << c.checked << c.theme;
    }
    EXPECT_TRUE(button->styleSheet().contains("border: none"));
}

TEST(IconProperty, ClicksAndAutomationRaiseValueEventsOnlyForUserActions)
{
    test::LogCapture log;
    std::unique_ptr<BindableProperty> visible(
        BindableProperty::createIconButton("Entity_Visibility", RowIcons(11), true, QKeySequence()));
    RecordingListener listener;
    visible->setEventListener(&listener);
    auto* button = dynamic_cast<IconPropertyImpl*>(visible->impl());

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].event, Kind::ValueChanged);
    EXPECT_EQ(listener.events[0].value, QVariant(true));
    EXPECT_EQ(Shown(*button), File(11, 1, QIcon::Normal, QIcon::On));

    // Automation: the other state clicks, the same state or a wrong label does not.
    button->setProperty("squish_display_value", "on");
    button->setProperty("squish_display_value", "maybe");
    EXPECT_EQ(listener.events.size(), 1u);
    button->setProperty("squish_display_value", "Off");
    ASSERT_EQ(listener.events.size(), 2u);
    EXPECT_EQ(listener.events[1].value, QVariant(false));
    EXPECT_EQ(button->property("squish_display_value"), QVariant("OFF"));

    visible->setValue(true, false);
    visible->setEditable(false, true);
    EXPECT_EQ(visible->value(), QVariant(false));
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Shown(*button), File(11, 1, QIcon::Disabled, QIcon::Off));
    visible->setValue(QString("yes"), true);
    EXPECT_EQ(listener.events.size(), 2u);

    // A command button is clicked for either label.
    std::unique_ptr<BindableProperty> undo(
        BindableProperty::createIconButton("Toolbar_Undo", IconRenderer(), false, QKeySequence("Ctrl+Z")));
    undo->setEventListener(&listener);
    undo->impl()->squish_set_display_value("ON");
    undo->impl()->squish_set_display_value("OFF");
    EXPECT_EQ(listener.events.size(), 4u);
    EXPECT_EQ(dynamic_cast<QPushButton*>(undo->widget())->shortcut(), QKeySequence("Ctrl+Z"));

    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("Label specified does not match label of OFF/ON"), std::string::npos);
    EXPECT_NE(texts[1].find("Boolean is the expected type for this property"), std::string::npos);
}

TEST(TabProperty, TextTabStyleFollowsThemeAndCheckedStateAndOneClickReportsTwice)
{
    std::unique_ptr<BindableProperty> tab(
        BindableProperty::createTabButton("SpeakerTab", "Speakers", IconRenderer(), QKeySequence()));
    RecordingListener listener;
    tab->setEventListener(&listener);
    auto* button = dynamic_cast<TabPropertyImpl*>(tab->impl());
    EXPECT_EQ(button->text(), "Speakers");
    EXPECT_GE(button->minimumWidth(), 200);
    EXPECT_TRUE(
        button->styleSheet().contains("font-family: \"Gotham\"; font-size: 16px; text-decoration: none;"));

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(listener.Kinds(), (std::vector<Kind>{Kind::ValueChanged, Kind::ValueChanged}));
    EXPECT_EQ(button->styleSheet(),
              "QPushButton { background-color: #242424; border: none; border-radius: 0px; color: #FFFFFF; "
              "font-family: \"Gotham Bold\"; font-size: 16px; text-decoration: underline; }"
              "QPushButton:focus { border: none; outline: 1px solid #000000; outline-radius: 0px; "
              "outline-style: outset; }");

    tab->themeChanged(0);
    EXPECT_TRUE(button->styleSheet().contains("background-color: #F8F8F8"));
    EXPECT_TRUE(button->styleSheet().contains("outline: 1px solid #FFFFFF"));
    tab->setValue(false, false);
    EXPECT_TRUE(button->styleSheet().contains("text-decoration: none"));
    EXPECT_EQ(listener.events.size(), 2u);
    button->setProperty("squish_display_value", false);
    EXPECT_EQ(tab->value(), QVariant(true));

    // With icons for both themes it is an icon button.
    std::unique_ptr<BindableProperty> menu(
        BindableProperty::createTabButton("Menu", "Menu", RowIcons(kLock), QKeySequence()));
    menu->setValue(true, false);
    EXPECT_EQ(Shown(*dynamic_cast<QPushButton*>(menu->widget())), File(kLock, 1, QIcon::Normal, QIcon::On));
}

TEST(ColorPickerProperty, AcceptedAndCancelledDialogsBothReportAndCancelKeepsTheConfirmedColour)
{
    test::LogCapture log;
    std::unique_ptr<BindableProperty> color(BindableProperty::createColorPickerButton("Entity_Color"));
    RecordingListener listener;
    color->setEventListener(&listener);
    auto* picker = dynamic_cast<ColorPickerPropertyImpl*>(color->impl());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->size(), QSize(35, 24));
    EXPECT_EQ(color->value().value<QColor>(), QColor("#ff8632"));
    auto* button = picker->findChild<QPushButton*>("ColorPickerButton");
    auto* swatch = picker->findChild<QLabel*>("ChosenColorLabel");
    ASSERT_NE(button, nullptr);
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(Shown(*button), File(9, 1, QIcon::Normal, QIcon::Off));

    color->setValue(QColor("#204080"), false);
    AnswerWhenShown(picker->dialog(),
                    [&]
                    {
                        EXPECT_EQ(picker->dialog()->currentColor(), QColor("#204080"));
                        picker->dialog()->setCurrentColor(QColor("#10c020"));
                        ClickDialogButton(picker->dialog(), QDialogButtonBox::Ok);
                    });
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].value.value<QColor>(), QColor("#10c020"));
    EXPECT_EQ(swatch->styleSheet(), "QLabel { background-color: #10c020; }");

    // A colour from the model, then a cancel: the model's colour stays.
    color->setValue(QColor("#abcdef"), false);
    AnswerWhenShown(picker->dialog(),
                    [&]
                    {
                        picker->dialog()->setCurrentColor(QColor("#ff0000"));
                        ClickDialogButton(picker->dialog(), QDialogButtonBox::Cancel);
                    });
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(listener.events.size(), 2u);
    EXPECT_EQ(listener.events[1].value.value<QColor>(), QColor("#abcdef"));
    EXPECT_EQ(color->value().value<QColor>(), QColor("#abcdef"));

    color->setValue(QString("#ff0000"), true);
    color->setEditable(false, true);
    EXPECT_EQ(color->value().value<QColor>(), QColor(Qt::white));
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(Shown(*button), File(9, 1, QIcon::Disabled, QIcon::Off));
    color->setSelected(true);
    EXPECT_EQ(Shown(*button), File(9, 1, QIcon::Selected, QIcon::Off));
    EXPECT_EQ(listener.events.size(), 2u);

    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("Bound property could not convert bound value"), std::string::npos);
}
} // namespace
} // namespace zorvpro
