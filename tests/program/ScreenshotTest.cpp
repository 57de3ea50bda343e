// Pictures of the main window on every page in both themes, for a person to
// look at (build/screenshots), with the frame colours each theme promises.
#include "ProgramTestEnv.h"

#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "views/Dashboard/Dashboard.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/TabToolBarWidget.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
TEST(MainWindow, ScreenshotsOfEveryPageInBothThemes)
{
    MainWindow* window = Window();
    window->showNormal();
    window->resize(1366, 768);
    ASSERT_TRUE(LoopWaitForExposed(window));
    const QString folder = QStringLiteral(ZORV_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    auto* start = window->startPage()->findChild<QPushButton*>(QStringLiteral("continueButton"));
    const char* pages[] = {"start", "buttonVenueTab", "buttonSpeakerTab", "buttonBomTab"};
    for (const auto& [theme, name] :
         {std::pair<UiTypes::UiTheme, const char*>{UiTypes::UiTheme::Day, "light"},
          {UiTypes::UiTheme::Night, "dark"}})
    {
        AppSettings::Instance().GetUiSettings()->setTheme(theme);
        const QRgb frame = theme == UiTypes::UiTheme::Day ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        for (int page = 0; page < 4; ++page)
        {
            if (page == 0)
                window->showStartPage();
            else if (window->currentPage() == 0)
                QTest::mouseClick(start, Qt::LeftButton);
            if (page > 0)
                QTest::mouseClick(qobject_cast<QPushButton*>(
                                      window->tabBar()->getProperty(QLatin1String(pages[page]))->widget()),
                                  Qt::LeftButton);
            ASSERT_EQ(window->currentPage(), page);
            // The shot is taken once the page's views have drawn what is pending and the window
            // the server shows has the theme's frame: how long that takes depends on the load.
            auto framed = [&](const QImage& shot)
            {
                return page == 0 ||
                       ((shot.pixel(3, 3) & 0xFFFFFF) == (frame & 0xFFFFFF) &&
                        (shot.pixel(shot.width() / 2, shot.height() - 3) & 0xFFFFFF) == (frame & 0xFFFFFF));
            };
            QImage shot;
            (void)QTest::qWaitFor( // the frame is checked below
                [&]
                {
                    for (auto* view : window->findChildren<view::VenueView3D*>())
                        if (view->isVisible() && (!view->isValid() || view->NeedsRepaint()))
                            return false;
                    shot = window->screen()->grabWindow(window->winId()).toImage();
                    return framed(shot);
                },
                kDeadline);
            if (shot.isNull())
                shot = window->screen()->grabWindow(window->winId()).toImage();
            shot.save(QStringLiteral("%1/main-%2-%3.png").arg(folder).arg(page).arg(QLatin1String(name)));
            if (page > 0)
            {
                // The bar across the top and the bottom border take the theme's colour.
                EXPECT_EQ(shot.pixel(3, 3) & 0xFFFFFF, frame & 0xFFFFFF) << name << page;
                EXPECT_EQ(shot.pixel(shot.width() / 2, shot.height() - 3) & 0xFFFFFF, frame & 0xFFFFFF)
                    << name << page;
            }
        }
    }
    AppSettings::Instance().GetUiSettings()->setTheme(UiTypes::UiTheme::Day);
}
} // namespace zorvpro::programtest
