#include "data/Settings/AppSettings.h"
#include "tests/core/support/LogCapture.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/Adapters/Theme/ToolbarPositionAdapter.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
struct Heard
{
    const void* listener;
    int value;
    bool operator==(const Heard& other) const { return listener == other.listener && value == other.value; }
};

struct ThemeRecorder : IAppThemeListener
{
    explicit ThemeRecorder(std::vector<Heard>& log) : heard(log) {}
    void themeChanged(const int& theme) override { heard.push_back({this, theme}); }
    std::vector<Heard>& heard;
};

struct PositionRecorder : IToolbarPositionListener
{
    explicit PositionRecorder(std::vector<Heard>& log) : heard(log) {}
    void toolbarPositionChanged(const int& position) override { heard.push_back({this, position}); }
    std::vector<Heard>& heard;
};

UiSettings& Ui()
{
    return *AppSettings::Instance().GetUiSettings();
}

// First in this file: until configured the adapter follows nothing.
TEST(ThemeAdapter, NullApplicationIsRefusedAndConnectsNothing)
{
    std::vector<Heard> heard;
    ThemeRecorder listener(heard);
    AppThemeAdapter* adapter = AppThemeAdapter::instance();
    adapter->addThemeListener(&listener);
    {
        test::LogCapture log;
        try
        {
            adapter->configure(nullptr);
            FAIL() << "configure accepted a null application";
        }
        catch (const std::logic_error& e)
        {
            EXPECT_STREQ(e.what(), "AppThemeAdapter received a null reference");
        }
        const std::vector<std::string> texts = log.Texts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_NE(texts[0].find("AppThemeAdapter received a null reference"), std::string::npos);
        EXPECT_NE(texts[0].find("configure"), std::string::npos);
    }
    Ui().setTheme(UiTypes::UiTheme::Night);
    Ui().setTheme(UiTypes::UiTheme::Day);
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    adapter->removeThemeListener(&listener);
}

TEST(ThemeAdapter, ListenersHearEachChangeOnceInRegistrationOrder)
{
    std::vector<Heard> heard;
    ThemeRecorder first(heard), second(heard), stranger(heard);
    AppThemeAdapter* adapter = AppThemeAdapter::instance();
    adapter->addThemeListener(&second);
    adapter->addThemeListener(&first);
    adapter->addThemeListener(&second);
    adapter->addThemeListener(nullptr);
    adapter->removeThemeListener(&stranger);
    adapter->removeThemeListener(nullptr);

    adapter->configure(qApp);
    Ui().setTheme(UiTypes::UiTheme::Night);
    Ui().setTheme(UiTypes::UiTheme::Night);
    EXPECT_EQ(adapter->getTheme(), 0);
    adapter->removeThemeListener(&second);
    Ui().setTheme(UiTypes::UiTheme::Day);
    adapter->removeThemeListener(&first);
    Ui().setTheme(UiTypes::UiTheme::Night);

    const std::vector<Heard> expected = {{&second, 1}, {&first, 1}, {&second, 0}, {&first, 0}, {&first, 1}};
    EXPECT_EQ(heard, expected);

    std::vector<Heard> positions;
    PositionRecorder top(positions), right(positions);
    ToolbarPositionAdapter* toolbars = ToolbarPositionAdapter::instance();
    toolbars->addListener(&right);
    toolbars->addListener(&top);
    toolbars->addListener(&right);
    toolbars->addListener(nullptr);
    Ui().setToolbarPosition(UiTypes::ToolbarPosition::Right);
    toolbars->removeListener(&right);
    toolbars->removeListener(nullptr);
    Ui().setToolbarPosition(UiTypes::ToolbarPosition::Top);
    toolbars->removeListener(&top);
    Ui().setToolbarPosition(UiTypes::ToolbarPosition::Right);
    EXPECT_EQ(positions, (std::vector<Heard>{{&right, 1}, {&top, 1}, {&top, 0}}));
}

QColor Pixel(QWidget& widget, QPoint at)
{
    return widget.grab().toImage().pixelColor(at);
}

QWidget* ShownToolTip()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QTipLabel") && widget->isVisible())
            return widget;
    return nullptr;
}

TEST(ThemeAdapter, ThemesColourPlainWidgetsButtonsAndToolTips)
{
    struct Case
    {
        UiTypes::UiTheme theme;
        const char* background;
        const char* text;
        const char* button;
        const char* buttonText;
    };
    const Case cases[] = {{UiTypes::UiTheme::Night, "#141414", "#aaaaaa", "#3b3b3b", "#F8F8F8"},
                          {UiTypes::UiTheme::Day, "#F8F8F8", "#575757", "#e0e0e0", "#000000"}};
    AppThemeAdapter::instance()->configure(qApp);
    // The stand-in font answers for the family the application asks for.
    EXPECT_EQ(QApplication::font().family(), "\"Gotham\"");
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Manrope");

    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.background);
        Ui().setTheme(c.theme);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* label = new QLabel("Venue", &window);
        auto* button = new QPushButton("Close", &window);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(label);
        layout->addWidget(button);
        window.resize(200, 120);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

        EXPECT_EQ(Pixel(window, QPoint(2, 2)), QColor(c.background));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(c.text));
        EXPECT_EQ(Pixel(*button, QPoint(button->width() / 6, button->height() / 2)), QColor(c.button));
        EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(c.buttonText));
        // A text pixel of the label is drawn in the text colour.
        const QImage labelImage = label->grab().toImage();
        bool textPixel = false;
        for (int y = 0; y < labelImage.height() && !textPixel; ++y)
            for (int x = 0; x < labelImage.width() && !textPixel; ++x)
                textPixel = labelImage.pixelColor(x, y) == QColor(c.text);
        EXPECT_TRUE(textPixel);

        // Tool tips look the same in both themes.
        QToolTip::showText(window.mapToGlobal(QPoint(10, 10)), "Tip", &window);
        QWidget* tip = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (tip = ShownToolTip()) != nullptr; }));
        EXPECT_EQ(Pixel(*tip, QPoint(tip->width() / 2, 2)), QColor("#F8F8F8"));
        EXPECT_EQ(tip->palette().color(QPalette::WindowText), QColor("#242424"));
        QToolTip::hideText();
    }
}
bool Contains(const QImage& image, const QRect& area, const QColor& colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

TEST(ThemeAdapter, SplitterGripsAndComboArrowsComeFromTheCompiledInImages)
{
    struct Case
    {
        UiTypes::UiTheme theme;
        const char* grip;
        const char* splitterBack;
    };
    AppThemeAdapter::instance()->configure(qApp);
    for (const Case& c : {Case{UiTypes::UiTheme::Day, "#aaaaaa", "#FFFFFF"},
                          Case{UiTypes::UiTheme::Night, "#575757", "#000000"}})
    {
        SCOPED_TRACE(c.grip);
        Ui().setTheme(c.theme);
        for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal})
        {
            QSplitter splitter(orientation);
            splitter.addWidget(new QWidget);
            splitter.addWidget(new QWidget);
            splitter.resize(120, 120);
            splitter.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&splitter));
            QWidget* handle = splitter.handle(1);
            const QImage image = handle->grab().toImage();
            EXPECT_TRUE(Contains(image, image.rect(), QColor(c.grip))) << orientation;
            EXPECT_TRUE(Contains(image, image.rect(), QColor(c.splitterBack))) << orientation;
        }
        QComboBox combo;
        combo.addItems({"Octave", "1/3 Octave"});
        combo.resize(140, 26);
        combo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
        const QImage image = combo.grab().toImage();
        EXPECT_TRUE(Contains(image, QRect(image.width() - 24, 0, 24, image.height()), QColor("#808080")));
    }
}
} // namespace
} // namespace zorvpro
