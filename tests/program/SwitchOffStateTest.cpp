// A switch that is off still shows its outline against the bar it sits on, in both themes.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
int Difference(QRgb a, QRgb b)
{
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}
} // namespace

TEST(Switches, AnOffSwitchStandsOutFromItsBarInBothThemes)
{
    ShowAt(1920, 1080);
    StartProject();
    MainWindow* window = Window();
    QTest::mouseClick(Shown("buttonSpeakerTab"), Qt::LeftButton);

    for (const auto& [theme, themeName] :
         {std::pair<UiTypes::UiTheme, const char*>{UiTypes::UiTheme::Day, "light"},
          {UiTypes::UiTheme::Night, "dark"}})
    {
        AppSettings::Instance().GetUiSettings()->setTheme(theme);
        for (const char* name : {"Spl_AutoCalculate", "Toolbar_ThrowLines", "Spl_Auto_Adjust"})
        {
            SCOPED_TRACE(testing::Message() << themeName << " " << name);
            auto* toggle = qobject_cast<QAbstractButton*>(Shown(name));
            ASSERT_NE(toggle, nullptr);
            if (toggle->isChecked())
                QTest::mouseClick(toggle, Qt::LeftButton);
            ASSERT_FALSE(toggle->isChecked());
            // The knob has slid to the off end.
            ASSERT_TRUE(QTest::qWaitFor([&] { return toggle->property("offset").toInt() == 7; }, kDeadline));
            toggle->clearFocus();
            toggle->repaint();
            const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
            const QRect r(toggle->mapTo(window, QPoint(0, 0)), toggle->size());
            const int middle = r.center().y();
            // The bar just above the switch, against the switch's own ends.
            const QRgb bar = shot.pixel(r.center().x(), r.top() - 3);
            EXPECT_GE(Difference(shot.pixel(r.left(), middle), bar), 50);
            EXPECT_GE(Difference(shot.pixel(r.right(), middle), bar), 50);
            EXPECT_GE(Difference(shot.pixel(r.center().x() + 4, r.top()), bar), 50);
        }
    }
    AppSettings::Instance().GetUiSettings()->setTheme(UiTypes::UiTheme::Day);
}
} // namespace zorvpro::programtest
