#include "ShellTestSupport.h"

#include "views/Dashboard/Dashboard.h"
#include "views/Dashboard/OpenFileButton.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace zorvpro::test
{
namespace
{
QString Label(const QWidget& tile, const char* name)
{
    return tile.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

// The most saturated-or-opaque glyph pixel of the tile's icon, as drawn now.
QColor GlyphColour(const OpenFileButton& tile)
{
    const QImage icon =
        tile.findChild<QAbstractButton*>(QStringLiteral("proxyButton"))->icon().pixmap(26, 32).toImage();
    QColor best(Qt::transparent);
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (icon.pixelColor(x, y).alpha() > best.alpha())
                best = icon.pixelColor(x, y);
    return best;
}

TEST(OpenFileButtonTest, AgeTexts)
{
    const std::pair<int, const char*> cases[] = {
        {0, "today"},        {1, "yesterday"},     {6, "6 days ago"},      {7, "1 week ago"},
        {13, "1 week ago"},  {14, "2 weeks ago"},  {29, "4 weeks ago"},    {30, "1 month ago"},
        {59, "1 month ago"}, {60, "2 months ago"}, {365, "12 months ago"}, {400, "13 months ago"},
        {-3, "-3 days ago"}};
    for (const auto& [days, text] : cases)
        EXPECT_EQ(OpenFileButton::ageText(days), QString::fromLatin1(text)) << days;
}

TEST(OpenFileButtonTest, RecentTileShowsNameAgeOrStaysEmpty)
{
    TempDir dir;
    const QString elevenName = dir.File(QStringLiteral("ElevenChars.tq"));
    QFile file(elevenName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addDays(-9), QFileDevice::FileModificationTime));
    file.close();

    OpenFileButton tile;
    tile.setButtonType(OpenFileButton::RecentFile);
    EXPECT_FALSE(tile.isEnabled() && tile.focusPolicy() != Qt::NoFocus) << "empty until given a file";
    tile.setFileInfo(QFileInfo(elevenName));
    EXPECT_EQ(Label(tile, "recentFileLabel"), QStringLiteral("ElevenChars"));
    EXPECT_EQ(Label(tile, "timeLabel"), QStringLiteral("1 week ago"));
    EXPECT_EQ(tile.toolTip(), QStringLiteral("Opens ElevenChars.tq"));
    EXPECT_TRUE(tile.isEnabled());
    EXPECT_EQ(tile.focusPolicy(), Qt::TabFocus);

    tile.setFileInfo(QFileInfo(dir.File(QStringLiteral("TwelveChars_.v2.tq"))));
    EXPECT_EQ(Label(tile, "recentFileLabel"), QStringLiteral("TwelveChars_..."));

    tile.setFileInfo(QFileInfo(dir.File(QStringLiteral(".tq"))));
    EXPECT_TRUE(Label(tile, "recentFileLabel").isEmpty());
    EXPECT_TRUE(Label(tile, "timeLabel").isEmpty());
    EXPECT_FALSE(tile.isEnabled());
    EXPECT_EQ(tile.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(tile.findChild<QAbstractButton*>(QStringLiteral("proxyButton"))->icon().isNull());
}

TEST(OpenFileButtonTest, SpaceEmitsOnceAfterTheDelayWithTheTilesKindAndFile)
{
    OpenFileButton tile;
    EXPECT_EQ(Label(tile, "recentFileLabel"), QStringLiteral("OPEN"));
    EXPECT_EQ(Label(tile, "timeLabel"), QStringLiteral("saved"));
    tile.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tile));
    QSignalSpy spy(&tile, &OpenFileButton::onOpenFileButtonClicked);

    QTest::keyClick(&tile, Qt::Key_Space);
    QTest::keyClick(&tile, Qt::Key_Space); // pressed again within the delay: still one
    EXPECT_EQ(spy.count(), 0) << "not before the delay";
    EXPECT_EQ(tile.size(), QSize(145, 135)) << "pressed look";
    ASSERT_TRUE(spy.wait(1000));
    EXPECT_EQ(spy.count(), 1);
    for (QTimer* timer : tile.findChildren<QTimer*>())
        EXPECT_FALSE(timer->isActive()) << "a second activation is pending";
    EXPECT_EQ(spy.front().at(0).value<OpenFileButton::ButtonType>(), OpenFileButton::OpenFile);
    EXPECT_TRUE(spy.front().at(1).value<QFileInfo>().filePath().isEmpty());
}

TEST(OpenFileButtonTest, ThemeAndHoverPickTheirImages)
{
    OpenFileButton tile;
    struct Case
    {
        int theme;
        bool hover;
        const char* glyph;
    };
    const Case cases[] = {
        {1, false, "#575757"}, {1, true, "#F8F8F8"}, {0, false, "#aaaaaa"}, {0, true, "#3b3b3b"}};
    for (const Case& c : cases)
    {
        tile.themeChanged(c.theme);
        QEvent event(c.hover ? QEvent::Enter : QEvent::Leave);
        QApplication::sendEvent(&tile, &event);
        const QColor glyph = GlyphColour(tile);
        EXPECT_EQ(glyph.name(), QColor(c.glyph).name()) << c.theme << c.hover;
    }
}

class StartPageTest : public ProjectTest
{
protected:
    QStringList MakeFiles(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i)
        {
            paths << PathIn(QStringLiteral("Venue%1.tq").arg(i));
            WriteFile(QStringLiteral("Venue%1.tq").arg(i), "<Project/>");
        }
        return paths;
    }
};

TEST_F(StartPageTest, RecentFilesFillTheTilesAndClicksReportPaths)
{
    Dashboard page;
    const std::vector<OpenFileButton*>& tiles = page.tiles();
    ASSERT_EQ(tiles.size(), 5u);
    QSignalSpy opened(&page, &Dashboard::onOpenFileClicked);

    page.updateRecentFiles(MakeFiles(2));
    EXPECT_EQ(Label(*tiles[1], "recentFileLabel"), QStringLiteral("Venue0"));
    EXPECT_EQ(Label(*tiles[2], "recentFileLabel"), QStringLiteral("Venue1"));
    for (int i : {3, 4})
        EXPECT_FALSE(tiles[i]->isEnabled()) << i;

    page.updateRecentFiles(MakeFiles(6));
    for (int i = 1; i <= 4; ++i)
    {
        EXPECT_TRUE(tiles[i]->isEnabled()) << i;
        EXPECT_EQ(Label(*tiles[i], "recentFileLabel"), QStringLiteral("Venue%1").arg(i - 1));
    }

    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    QTest::mouseClick(tiles[0], Qt::LeftButton);
    ASSERT_TRUE(opened.wait(1000));
    QTest::mouseClick(tiles[2], Qt::LeftButton);
    ASSERT_TRUE(opened.wait(1000));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(0).at(0).toString(), QString());
    EXPECT_EQ(opened.at(1).at(0).toString(), QFileInfo(PathIn("Venue1.tq")).absoluteFilePath());

    page.updateRecentFiles({});
    for (int i = 1; i <= 4; ++i)
        EXPECT_FALSE(tiles[i]->isEnabled()) << i;
}

TEST_F(StartPageTest, ShowingFocusesVenueAndDarkThemeTurnsFramesBlack)
{
    Dashboard page;
    page.resize(1366, 768);
    page.updateRecentFiles(MakeFiles(2));
    QSignalSpy continued(&page, &Dashboard::onContinueButtonClicked);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    QWidget* venue =
        page.getProjectPreferencesControl()->getProperty(QStringLiteral("ProjectVenue"))->widget();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return venue->hasFocus() || venue->isAncestorOf(QApplication::focusWidget()); }, 2000));

    auto* proceed = page.findChild<QPushButton*>(QStringLiteral("continueButton"));
    EXPECT_GE(proceed->width(), 200);
    EXPECT_GE(proceed->height(), 40);
    QTest::mouseClick(proceed, Qt::LeftButton);
    EXPECT_EQ(continued.count(), 1);

    for (const int theme : {1, 0})
    {
        const ApplicationStyle style(theme);
        page.themeChanged(theme);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QImage shot = page.grab().toImage();
        const QWidget* frame = page.findChild<QWidget*>(QStringLiteral("existingProjFrame"));
        const QPoint inFrame = frame->mapTo(&page, QPoint(frame->width() - 5, 5));
        EXPECT_EQ(shot.pixelColor(inFrame), QColor(theme == 1 ? "#FFFFFF" : "#000000")) << theme;
        const QPoint inButton = proceed->mapTo(&page, QPoint(proceed->width() / 2, 3));
        EXPECT_EQ(shot.pixelColor(inButton), QColor(theme == 1 ? "#575757" : "#cccccc")) << theme;
        SaveScreenshot(page, theme == 1 ? "startpage-light" : "startpage-dark");
    }
    EXPECT_TRUE(proceed->styleSheet().startsWith("QPushButton { background-color: #cccccc; border-radius: "
                                                 "20px; color: #000000; }QPushButton:hover { "));
    EXPECT_EQ(page.findChild<QWidget*>(QStringLiteral("projPrefFrame"))->styleSheet(),
              QStringLiteral("background-color: #000000; border: none;"));
}
} // namespace
} // namespace zorvpro::test
