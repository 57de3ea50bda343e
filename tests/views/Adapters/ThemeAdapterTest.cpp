#include "data/Settings/AppSettings.h"
#include "tests/core/support/LogCapture.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/Adapters/Theme/ToolbarPositionAdapter.h"
#include "views/GridControl/BindableProperty.h"

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
#include <memory>

namespace zorvpro
{
namespace
{
using Heard = std::vector<std::pair<const void*, int>>;

struct Recorder : IAppThemeListener, IToolbarPositionListener
{
    explicit Recorder(Heard& log) : heard(log) {}
    void themeChanged(const int& theme) override { heard.push_back({this, theme}); }
    void toolbarPositionChanged(const int& position) override { heard.push_back({this, position}); }
    Heard& heard;
};

UiSettings& Ui()
{
    return *AppSettings::Instance().GetUiSettings();
}

// First in this file: until configured the adapter follows nothing.
TEST(ThemeAdapter, NullApplicationIsRefusedAndConnectsNothing)
{
    Heard heard;
    Recorder listener(heard);
    AppThemeAdapter::instance()->addThemeListener(&listener);
    test::LogCapture log;
    EXPECT_THROW(AppThemeAdapter::instance()->configure(nullptr), std::logic_error);
    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("AppThemeAdapter received a null reference"), std::string::npos);
    Ui().setTheme(UiTypes::UiTheme::Night);
    Ui().setTheme(UiTypes::UiTheme::Day);
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    AppThemeAdapter::instance()->removeThemeListener(&listener);
}

TEST(ThemeAdapter, ListenersHearEachChangeOnceInRegistrationOrder)
{
    Heard themes, positions;
    Recorder first(themes), second(themes), top(positions), right(positions);
    AppThemeAdapter* adapter = AppThemeAdapter::instance();
    ToolbarPositionAdapter* toolbars = ToolbarPositionAdapter::instance();
    for (Recorder* listener : {&second, &first, &second, static_cast<Recorder*>(nullptr)})
        adapter->addThemeListener(listener);
    for (Recorder* listener : {&right, &top, &right, static_cast<Recorder*>(nullptr)})
        toolbars->addListener(listener);
    adapter->removeThemeListener(&top);
    adapter->configure(qApp);
    Ui().setTheme(UiTypes::UiTheme::Night);
    Ui().setTheme(UiTypes::UiTheme::Night);
    Ui().setToolbarPosition(UiTypes::ToolbarPosition::Right);
    adapter->removeThemeListener(&second);
    toolbars->removeListener(&right);
    Ui().setTheme(UiTypes::UiTheme::Day);
    Ui().setToolbarPosition(UiTypes::ToolbarPosition::Top);
    EXPECT_EQ(adapter->getTheme(), 1);
    EXPECT_EQ(themes, (Heard{{&second, 1}, {&first, 1}, {&second, 0}, {&first, 0}, {&first, 1}}));
    EXPECT_EQ(positions, (Heard{{&right, 1}, {&top, 1}, {&top, 0}}));
    // The adapters outlive this test; its listeners do not.
    adapter->removeThemeListener(&first);
    toolbars->removeListener(&top);
}

// A combo box that is restyled before any theme notice reaches it takes the
// theme the adapter holds when the box is built.
TEST(ThemeAdapter, ComboBoxPropertyStartsInTheThemeInForce)
{
    AppThemeAdapter::instance()->configure(qApp);
    for (const auto& [theme, background] :
         {std::pair{UiTypes::UiTheme::Night, "#3b3b3b"}, std::pair{UiTypes::UiTheme::Day, "#e0e0e0"}})
    {
        SCOPED_TRACE(background);
        Ui().setTheme(theme);
        std::unique_ptr<BindableProperty> combo(BindableProperty::createComboBox("Spl_Mode"));
        combo->setEditable(true, false);
        EXPECT_TRUE(combo->widget()->styleSheet().contains(QString("background-color: ") + background))
            << combo->widget()->styleSheet().toStdString();
    }
}

bool Contains(const QImage& image, const QColor& colour, QRect area = QRect())
{
    area = area.isNull() ? image.rect() : area;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

QWidget* ShownToolTip()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QTipLabel") && widget->isVisible())
            return widget;
    return nullptr;
}

TEST(ThemeAdapter, BothThemesOnThePixelsOfPlainWidgetsButtonsSplittersCombosAndToolTips)
{
    struct Case
    {
        UiTypes::UiTheme theme;
        const char *background, *text, *button, *grip, *splitter;
    };
    AppThemeAdapter::instance()->configure(qApp);
    // The stand-in font answers for the family the application asks for.
    EXPECT_EQ(QApplication::font().family(), "\"Gotham\"");
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Manrope");

    for (const Case& c :
         {Case{UiTypes::UiTheme::Night, "#141414", "#aaaaaa", "#3b3b3b", "#575757", "#000000"},
          Case{UiTypes::UiTheme::Day, "#F8F8F8", "#575757", "#e0e0e0", "#aaaaaa", "#FFFFFF"}})
    {
        SCOPED_TRACE(c.background);
        Ui().setTheme(c.theme);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* label = new QLabel("Venue", &window);
        auto* button = new QPushButton("Close", &window);
        button->setFocusPolicy(Qt::NoFocus);
        auto* combo = new QComboBox(&window);
        combo->addItems({"Octave", "1/3 Octave"});
        auto* stacked = new QSplitter(Qt::Vertical, &window);
        auto* sideBySide = new QSplitter(Qt::Horizontal, &window);
        for (QSplitter* splitter : {stacked, sideBySide})
        {
            splitter->addWidget(new QWidget);
            splitter->addWidget(new QWidget);
            splitter->setMinimumHeight(80);
            layout->addWidget(splitter);
        }
        for (QWidget* widget :
             {static_cast<QWidget*>(label), static_cast<QWidget*>(button), static_cast<QWidget*>(combo)})
            layout->addWidget(widget);
        window.resize(240, 360);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

        EXPECT_EQ(window.grab().toImage().pixelColor(2, 2), QColor(c.background));
        EXPECT_TRUE(Contains(label->grab().toImage(), QColor(c.text)));
        EXPECT_EQ(button->grab().toImage().pixelColor(button->width() / 6, button->height() / 2),
                  QColor(c.button));
        // The compiled-in grip and arrow images are drawn.
        for (QSplitter* splitter : {stacked, sideBySide})
        {
            const QImage handle = splitter->handle(1)->grab().toImage();
            EXPECT_TRUE(Contains(handle, QColor(c.grip)) && Contains(handle, QColor(c.splitter)))
                << splitter->orientation();
        }
        const QImage comboImage = combo->grab().toImage();
        EXPECT_TRUE(
            Contains(comboImage, QColor("#808080"), QRect(combo->width() - 24, 0, 24, combo->height())));

        // Tool tips look the same in both themes.
        QToolTip::showText(window.mapToGlobal(QPoint(10, 10)), "Tip", &window);
        QWidget* tip = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (tip = ShownToolTip()) != nullptr; }));
        EXPECT_EQ(tip->grab().toImage().pixelColor(tip->width() / 2, 2), QColor("#F8F8F8"));
        EXPECT_TRUE(Contains(tip->grab().toImage(), QColor("#242424")));
        QToolTip::hideText();
    }
}
} // namespace
} // namespace zorvpro
