#include "views/GridControl/IconRenderer.h"
#include "tests/core/support/LogCapture.h"

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <gtest/gtest.h>
#include <vector>

namespace zorvpro
{
namespace
{
constexpr int kLight = 1;
constexpr int kDark = 0;
const std::vector<int> kButtonModes = {QIcon::Normal, QIcon::Active, QIcon::Disabled};
const std::vector<int> kRowModes = {QIcon::Normal, QIcon::Active, QIcon::Selected, QIcon::Disabled};

QImage Pixels(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage FileImage(int icon, int theme, int mode, int state)
{
    return QImage(IconRenderer::fileName(icon, theme, mode, state)).convertToFormat(QImage::Format_ARGB32);
}

QImage ButtonImage(const QPushButton& button)
{
    return Pixels(button.icon().pixmap(button.iconSize()));
}

struct RegisteredSet
{
    std::vector<int> icons;
    std::vector<int> modes;
    std::vector<int> states;
};

// Every set the program registers must load in both themes, and each
// mode and state must show its own file unaltered.
TEST(IconRenderer, EveryRegisteredSetLoadsInBothThemesWithItsOwnPixels)
{
    const std::vector<RegisteredSet> sets = {
        {{10, 11, 12, 13}, kRowModes, {QIcon::On, QIcon::Off}},
        {{9}, {QIcon::Normal, QIcon::Active, QIcon::Disabled, QIcon::Selected}, {QIcon::Off}},
        {{0, 1, 2, 3, 4, 5, 6, 8, 14}, kButtonModes, {QIcon::Off}},
        {{7}, kButtonModes, {QIcon::Off, QIcon::On}},
    };
    for (const RegisteredSet& set : sets)
        for (int icon : set.icons)
        {
            IconRenderer renderer;
            for (int theme : {kLight, kDark})
                for (int state : set.states)
                    for (int mode : set.modes)
                        ASSERT_NO_THROW(renderer.addFile(icon, theme, mode, state))
                            << IconRenderer::fileName(icon, theme, mode, state).toStdString();
            EXPECT_TRUE(renderer.hasBothThemes()) << icon;

            QPushButton button;
            for (int theme : {kLight, kDark})
            {
                renderer.themeChanged(theme);
                for (int state : set.states)
                    for (int mode : set.modes)
                    {
                        renderer.applyToButton(&button, mode, state);
                        EXPECT_EQ(button.size(), QSize(24, 24));
                        EXPECT_EQ(ButtonImage(button), FileImage(icon, theme, mode, state))
                            << IconRenderer::fileName(icon, theme, mode, state).toStdString();
                    }
            }
        }
}

// The drawn files themselves: dark glyphs for the light theme, light glyphs
// for the dark one, disabled ones faint, and On/Off pairs visibly apart.
TEST(IconRenderer, ThemedFilesDifferAsTheirNamesSay)
{
    auto meanAlphaAndLuma = [](const QImage& image, double& alpha, double& luma)
    {
        double a = 0, l = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
            {
                const QColor c = image.pixelColor(x, y);
                a += c.alphaF();
                l += c.alphaF() * c.lightnessF();
            }
        alpha = a;
        luma = a > 0 ? l / a : 0;
    };
    for (int icon = 0; icon <= 14; ++icon)
    {
        const int state = icon >= 10 && icon <= 13 ? QIcon::On : QIcon::Off;
        double lightAlpha, lightLuma, darkAlpha, darkLuma, disabledAlpha, disabledLuma;
        meanAlphaAndLuma(FileImage(icon, kLight, QIcon::Normal, state), lightAlpha, lightLuma);
        meanAlphaAndLuma(FileImage(icon, kDark, QIcon::Normal, state), darkAlpha, darkLuma);
        meanAlphaAndLuma(FileImage(icon, kLight, QIcon::Disabled, state), disabledAlpha, disabledLuma);
        EXPECT_GT(lightAlpha, 10.0) << icon;
        EXPECT_LT(lightLuma, 0.3) << icon;
        EXPECT_GT(darkLuma, 0.8) << icon;
        EXPECT_NEAR(disabledAlpha / lightAlpha, 0.4, 0.05) << icon;
    }
    for (int icon : {7, 10, 11, 12, 13})
    {
        const QImage on = FileImage(icon, kLight, QIcon::Normal, QIcon::On);
        const QImage off = FileImage(icon, kLight, QIcon::Normal, QIcon::Off);
        int differing = 0;
        for (int y = 0; y < on.height(); ++y)
            for (int x = 0; x < on.width(); ++x)
                differing += qAbs(qAlpha(on.pixel(x, y)) - qAlpha(off.pixel(x, y))) > 128 ? 1 : 0;
        EXPECT_GT(differing, 20) << icon;
    }
}

TEST(IconRenderer, MissingFilesThrowAfterLoggingTheComposedName)
{
    test::LogCapture log;
    IconRenderer renderer;
    const std::vector<std::pair<int, std::string>> cases = {
        // No On file is drawn for a toolbar icon.
        {0, ":/Resources/Icons/AddSurface_Light_Normal_On.png Icon filename specified was not found"},
        // An unknown icon number leaves its part of the name empty.
        {99, ":/Resources/Icons/Light_Normal_On.png Icon filename specified was not found"},
    };
    for (const auto& [icon, message] : cases)
    {
        try
        {
            renderer.addFile(icon, kLight, QIcon::Normal, QIcon::On);
            ADD_FAILURE() << "no exception for icon " << icon;
        }
        catch (const std::logic_error& e)
        {
            EXPECT_EQ(e.what(), message);
        }
    }
    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("AddSurface_Light_Normal_On.png Icon filename specified was not found"),
              std::string::npos);
    EXPECT_NE(texts[0].find("addFile"), std::string::npos);
    EXPECT_FALSE(renderer.hasBothThemes());
}

TEST(IconRenderer, ThemeWithoutFilesLeavesTheButtonAsItWasAndCopiesAreIndependent)
{
    IconRenderer renderer;
    renderer.addFile(13, kLight, QIcon::Normal, QIcon::On);
    renderer.addFile(13, kLight, QIcon::Normal, QIcon::Off);
    EXPECT_FALSE(renderer.hasBothThemes());

    QPushButton button;
    button.resize(50, 40);
    renderer.applyToButton(&button, QIcon::Normal, QIcon::On);
    const QImage shown = ButtonImage(button);
    EXPECT_EQ(shown, FileImage(13, kLight, QIcon::Normal, QIcon::On));

    IconRenderer copy(renderer);
    copy.addFile(13, kDark, QIcon::Normal, QIcon::Off);
    EXPECT_TRUE(copy.hasBothThemes());
    EXPECT_FALSE(renderer.hasBothThemes());

    renderer.themeChanged(kDark);
    EXPECT_EQ(copy.theme(), kLight);
    renderer.applyToButton(&button, QIcon::Normal, QIcon::Off);
    EXPECT_EQ(button.size(), QSize(24, 24));
    EXPECT_EQ(ButtonImage(button), shown);
    renderer.applyToButton(nullptr, QIcon::Normal, QIcon::Off);

    // A renderer without any file leaves a fresh button untouched.
    QPushButton plain;
    plain.resize(50, 40);
    IconRenderer().applyToButton(&plain, QIcon::Normal, QIcon::Off);
    EXPECT_EQ(plain.size(), QSize(50, 40));
    EXPECT_TRUE(plain.icon().isNull());
}
} // namespace
} // namespace zorvpro
