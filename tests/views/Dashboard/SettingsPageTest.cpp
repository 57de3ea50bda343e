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
    bool Show()
    {
        page.show();
        return QTest::qWaitForWindowExposed(&page);
    }

    SettingsPage page;
    QPushButton* close = page.findChild<QPushButton*>("buttonOk");
    QLineEdit* venue = page.findChild<QLineEdit*>("ProjectVenueEdit");
};

TEST(SettingsDialog, FixedNonModalWithPanelsSideBySideAndKeysThatPressNothing)
{
    Dialog dialog;
    SettingsPage& page = dialog.page;
    EXPECT_EQ(page.objectName(), "zorvpro__SettingsPage");
    EXPECT_EQ(page.windowTitle(), "Settings");
    EXPECT_FALSE(page.isModal());
    EXPECT_FALSE(page.windowFlags() & Qt::WindowContextHelpButtonHint);
    ASSERT_TRUE(dialog.close && dialog.venue);
    EXPECT_EQ(dialog.close->text(), "Close");
    EXPECT_EQ(dialog.close->size(), QSize(75, 30));
    EXPECT_FALSE(dialog.close->isDefault() || dialog.close->autoDefault());
    QSignalSpy closeClicks(dialog.close, &QPushButton::clicked);

    ASSERT_TRUE(dialog.Show());
    page.resize(1200, 800);
    EXPECT_EQ(page.size(), QSize(950, 650));
    QFrame* left = page.GetProjectPreferencesControl()->widget();
    QFrame* right = page.GetApplicationSettingsControl()->widget();
    EXPECT_EQ(left->parentWidget()->objectName(), "projectPreferencesFrame");
    EXPECT_EQ(right->parentWidget()->objectName(), "appSettingsFrame");
    EXPECT_LT(left->mapTo(&page, QPoint()).x(), right->mapTo(&page, QPoint()).x());
    EXPECT_NEAR(dialog.close->mapTo(&page, dialog.close->rect().center()).x(), page.width() / 2, 2);

    // Return, Enter and Space in a field or on the dialog press nothing.
    EXPECT_EQ(page.focusWidget(), dialog.venue);
    auto* notes = page.findChild<QPlainTextEdit*>();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        for (QWidget* target : {static_cast<QWidget*>(dialog.venue), static_cast<QWidget*>(notes),
                                static_cast<QWidget*>(&page)})
        {
            target->setFocus();
            QTest::keyClick(target, key);
        }
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(closeClicks.count(), 0);

    // Escape closes; each showing puts the focus in the venue again.
    QTest::keyClick(page.focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(page.isVisible());
    ASSERT_TRUE(dialog.Show());
    EXPECT_EQ(page.focusWidget(), dialog.venue);
    QTest::mouseClick(dialog.close, Qt::LeftButton);
    EXPECT_FALSE(page.isVisible());
}

// The test screen is smaller than the dialog, so only the restoring half of
// the placement shows here: a window that fits no screen is never saved.
TEST(SettingsDialog, ShowingRestoresTheStoredPlacementAndTheWindowBehindStaysUsable)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    WindowSettings stored;
    stored.name = "zorvpro__SettingsPage";
    stored.screenConfiguration =
        QString("%1;%2;%3;%4").arg(screen.x()).arg(screen.y()).arg(screen.width()).arg(screen.height());
    stored.x = 37;
    stored.y = 21;
    stored.maximized = false;
    AppSettings::Instance().SetWindowSettings(stored);

    QWidget main;
    auto* save = new QPushButton("Save", &main);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Dialog dialog;
    ASSERT_TRUE(dialog.Show());
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.page.geometry().topLeft() == QPoint(37, 21); }));
    EXPECT_EQ(dialog.page.size(), QSize(950, 650));
    QSignalSpy clicks(save, &QPushButton::clicked);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(dialog.page.isVisible());
}

struct Recorder : IAppThemeListener
{
    void themeChanged(const int& theme) override { heard.push_back(theme); }
    std::vector<int> heard;
};

// Checks the dialog's look in the current theme and saves its screenshot.
void CheckLook(SettingsPage& page, const char* file, const char* frame, const char* back)
{
    // Restyled widgets lay themselves out again on the loop's next pass.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    const QImage image = page.grab().toImage();
    EXPECT_TRUE(QDir().mkpath(folder) && image.save(folder + "/" + file));
    for (const char* name : {"appSettingsFrame", "projectPreferencesFrame"})
    {
        QWidget* panel = page.findChild<QFrame*>(name);
        const QPoint corner = panel->mapTo(&page, QPoint(panel->width() - 3, panel->height() - 3));
        EXPECT_EQ(image.pixelColor(corner), QColor(frame)) << file << " " << name;
    }
    EXPECT_EQ(image.pixelColor(2, image.height() - 2), QColor(back)) << file;
    QLabel* title = page.GetApplicationSettingsControl()->titleLabel();
    EXPECT_GE(title->width(), title->sizeHint().width()) << "title cut short in " << file;
}

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
    ProjectPreferencesControl* project = dialog.page.GetProjectPreferencesControl();
    project->updateProperty("ProjectVenue", QString("Concert hall"));
    project->updateProperty("ProjectNotes", QString("Balcony fills\nDelay towers at 30 m"));
    ASSERT_TRUE(dialog.Show());
    CheckLook(dialog.page, "settings_dialog_dark.png", "#000000", "#141414");

    // The "Light" half of the switch.
    QWidget* toggle = dialog.page.GetApplicationSettingsControl()->getProperty("ColorTheme")->widget();
    QTest::mouseClick(toggle, Qt::LeftButton, Qt::NoModifier,
                      QPoint(toggle->width() * 3 / 4, toggle->height() / 2));
    EXPECT_EQ(AppSettings::Instance().GetUiSettings()->getTheme(), UiTypes::UiTheme::Day);
    EXPECT_EQ(first.heard, (std::vector<int>{0, 1}));
    EXPECT_EQ(last.heard, (std::vector<int>{0, 1}));
    EXPECT_EQ(dialog.page.GetApplicationSettingsControl()->getProperty("ColorTheme")->value(),
              QVariant(true));
    EXPECT_EQ(startPage.getProperty("ColorTheme")->value(), QVariant(true));
    CheckLook(dialog.page, "settings_dialog_light.png", "#FFFFFF", "#F8F8F8");
    for (IAppThemeListener* listener : std::initializer_list<IAppThemeListener*>{&first, &dialog.page, &last})
        themes->removeThemeListener(listener);
}
} // namespace
} // namespace zorvpro
