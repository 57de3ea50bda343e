#include "views/Dashboard/SettingsPage.h"
#include "data/Settings/AppSettings.h"
#include "views/Adapters/Settings/AppSettingsAdapter.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
struct Dialog
{
    Dialog()
    {
        close = page.findChild<QPushButton*>("buttonOk");
        venue = page.findChild<QLineEdit*>("ProjectVenueEdit");
    }

    bool Show()
    {
        page.show();
        return QTest::qWaitForWindowExposed(&page);
    }

    SettingsPage page;
    QPushButton* close;
    QLineEdit* venue;
};

TEST(SettingsDialog, FixedNonModalPanelsSideBySideWithACentredClose)
{
    Dialog dialog;
    SettingsPage& page = dialog.page;
    EXPECT_EQ(page.objectName(), "zorvpro__SettingsPage");
    EXPECT_EQ(page.windowTitle(), "Settings");
    EXPECT_EQ(page.size(), QSize(950, 650));
    EXPECT_EQ(page.minimumSize(), QSize(950, 650));
    EXPECT_EQ(page.maximumSize(), QSize(950, 650));
    EXPECT_EQ(page.sizeHint(), QSize(950, 650));
    EXPECT_FALSE(page.isModal());
    EXPECT_EQ(page.windowModality(), Qt::NonModal);
    EXPECT_TRUE(page.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(page.windowFlags() & Qt::WindowContextHelpButtonHint);
    ASSERT_NE(dialog.close, nullptr);
    EXPECT_EQ(dialog.close->text(), "Close");
    EXPECT_EQ(dialog.close->size(), QSize(75, 30));
    EXPECT_FALSE(dialog.close->isDefault());
    EXPECT_FALSE(dialog.close->autoDefault());

    ASSERT_TRUE(dialog.Show());
    QFrame* left = page.GetProjectPreferencesControl()->widget();
    QFrame* right = page.GetApplicationSettingsControl()->widget();
    EXPECT_EQ(left->parentWidget()->objectName(), "projectPreferencesFrame");
    EXPECT_EQ(right->parentWidget()->objectName(), "appSettingsFrame");
    EXPECT_LT(left->mapTo(&page, QPoint()).x(), right->mapTo(&page, QPoint()).x());
    EXPECT_GE(right->parentWidget()->width(), 260);
    const QPoint closeCentre = dialog.close->mapTo(&page, dialog.close->rect().center());
    EXPECT_NEAR(closeCentre.x(), page.width() / 2, 2);
    EXPECT_GT(closeCentre.y(), left->mapTo(&page, QPoint(0, left->height())).y());
    // Resizing is refused.
    page.resize(1200, 800);
    EXPECT_EQ(page.size(), QSize(950, 650));
}

TEST(SettingsDialog, KeysAndFocusAsAUserMeetsThem)
{
    Dialog dialog;
    ASSERT_NE(dialog.venue, nullptr);
    QSignalSpy closeClicks(dialog.close, &QPushButton::clicked);
    ASSERT_TRUE(dialog.Show());
    EXPECT_EQ(dialog.page.focusWidget(), dialog.venue);

    // Return, Enter and Space in a field or on the dialog press nothing.
    QTest::keyClicks(dialog.venue, "Hall");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
    {
        QTest::keyClick(dialog.venue, key);
        QTest::keyClick(&dialog.page, key);
        auto* notes = dialog.page.findChild<QPlainTextEdit*>();
        ASSERT_NE(notes, nullptr);
        notes->setFocus();
        QTest::keyClick(notes, key);
    }
    EXPECT_TRUE(dialog.page.isVisible());
    EXPECT_EQ(closeClicks.count(), 0);

    // Escape closes; the next showing puts the focus in the venue again.
    QTest::keyClick(dialog.page.focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.page.isVisible());
    ASSERT_TRUE(dialog.Show());
    EXPECT_EQ(dialog.page.focusWidget(), dialog.venue);

    QTest::mouseClick(dialog.close, Qt::LeftButton);
    EXPECT_FALSE(dialog.page.isVisible());
    EXPECT_EQ(closeClicks.count(), 1);
}

// The test screen is smaller than the dialog, so only the restoring half of
// the placement can be seen here: a dialog that fits no screen is not saved.
TEST(SettingsDialog, ShowingRestoresTheStoredPlacement)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    WindowSettings stored;
    stored.name = "zorvpro__SettingsPage";
    stored.screenNumber = 0;
    stored.screenConfiguration =
        QString("%1;%2;%3;%4").arg(screen.x()).arg(screen.y()).arg(screen.width()).arg(screen.height());
    stored.x = 37;
    stored.y = 21;
    stored.maximized = false;
    AppSettings::Instance().SetWindowSettings(stored);

    for (int showing = 0; showing < 2; ++showing)
    {
        Dialog dialog;
        ASSERT_TRUE(dialog.Show());
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.page.geometry().topLeft() == QPoint(37, 21); }))
            << dialog.page.geometry().x();
        EXPECT_EQ(dialog.page.size(), QSize(950, 650));
        dialog.page.move(5, 5);
        dialog.page.hide();
    }
}

TEST(SettingsDialog, TheWindowBehindStaysUsable)
{
    QWidget main;
    auto* button = new QPushButton("Save", &main);
    main.resize(400, 300);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Dialog dialog;
    ASSERT_TRUE(dialog.Show());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(dialog.page.isVisible());
}

struct Recorder : IAppThemeListener
{
    void themeChanged(const int& theme) override { heard.push_back(theme); }
    std::vector<int> heard;
};

TEST(SettingsDialog, ThemeSwitchedInTheDialogStoresRestylesAndShowsEverywhere)
{
    AppSettings::Instance().GetUiSettings()->setTheme(UiTypes::UiTheme::Night);
    Recorder first, last;
    Dialog dialog;
    ApplicationSettingsControl startPage;
    AppThemeAdapter* themes = AppThemeAdapter::instance();
    themes->addThemeListener(&first);
    themes->addThemeListener(&dialog.page);
    themes->addThemeListener(&last);
    themes->configure(qApp);
    AppSettingsAdapter dialogAdapter(dialog.page.GetApplicationSettingsControl());
    AppSettingsAdapter startPageAdapter(&startPage);
    ASSERT_TRUE(dialog.Show());
    QWidget* toggle = dialog.page.GetApplicationSettingsControl()->getProperty("ColorTheme")->widget();
    EXPECT_EQ(dialog.page.grab().toImage().pixelColor(2, 2), QColor("#141414"));

    // The "Light" half of the switch.
    QTest::mouseClick(toggle, Qt::LeftButton, Qt::NoModifier,
                      QPoint(toggle->width() * 3 / 4, toggle->height() / 2));
    EXPECT_EQ(AppSettings::Instance().GetUiSettings()->getTheme(), UiTypes::UiTheme::Day);
    EXPECT_EQ(themes->getTheme(), 1);
    EXPECT_EQ(first.heard, (std::vector<int>{0, 1}));
    EXPECT_EQ(last.heard, (std::vector<int>{0, 1}));
    EXPECT_EQ(dialog.page.GetApplicationSettingsControl()->getProperty("ColorTheme")->value(),
              QVariant(true));
    EXPECT_EQ(startPage.getProperty("ColorTheme")->value(), QVariant(true));
    EXPECT_EQ(dialog.page.grab().toImage().pixelColor(2, 2), QColor("#F8F8F8"));
    themes->removeThemeListener(&first);
    themes->removeThemeListener(&dialog.page);
    themes->removeThemeListener(&last);
}

// The dialog hears the theme from the adapter and tells its panels.
TEST(SettingsDialog, ThemedScreenshots)
{
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    ASSERT_TRUE(QDir().mkpath(folder));
    Dialog dialog;
    AppThemeAdapter::instance()->addThemeListener(&dialog.page);
    AppThemeAdapter::instance()->configure(qApp);
    ProjectPreferencesControl* project = dialog.page.GetProjectPreferencesControl();
    project->updateProperty("ProjectVenue", QString("Concert hall"));
    project->updateProperty("ProjectDesigner", QString("R. Vance"));
    project->updateProperty("ProjectNotes", QString("Balcony fills\nDelay towers at 30 m"));
    ASSERT_TRUE(dialog.Show());

    struct Shot
    {
        UiTypes::UiTheme theme;
        const char* file;
        const char* frame;
        const char* dialog;
    };
    for (const Shot& shot : {Shot{UiTypes::UiTheme::Night, "settings_dialog_dark.png", "#000000", "#141414"},
                             Shot{UiTypes::UiTheme::Day, "settings_dialog_light.png", "#FFFFFF", "#F8F8F8"}})
    {
        AppSettings::Instance().GetUiSettings()->setTheme(shot.theme);
        dialog.page.GetApplicationSettingsControl()->updateProperty("ColorTheme",
                                                                    shot.theme == UiTypes::UiTheme::Day);
        // Restyled widgets lay themselves out again on the next pass of the loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QImage image = dialog.page.grab().toImage();
        EXPECT_TRUE(image.save(folder + "/" + shot.file));
        for (const char* name : {"appSettingsFrame", "projectPreferencesFrame"})
        {
            QWidget* frame = dialog.page.findChild<QFrame*>(name);
            const QPoint inFrame =
                frame->mapTo(&dialog.page, QPoint(frame->width() - 3, frame->height() - 3));
            EXPECT_EQ(image.pixelColor(inFrame), QColor(shot.frame)) << shot.file << " " << name;
        }
        EXPECT_EQ(image.pixelColor(2, image.height() - 2), QColor(shot.dialog)) << shot.file;
        QLabel* title = dialog.page.GetApplicationSettingsControl()->titleLabel();
        EXPECT_GE(title->width(), title->sizeHint().width()) << "title cut short in " << shot.file;
    }
    AppThemeAdapter::instance()->removeThemeListener(&dialog.page);
}
} // namespace
} // namespace zorvpro
