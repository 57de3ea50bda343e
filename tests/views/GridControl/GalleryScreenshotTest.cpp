// Light and dark screenshots of the property widgets as a panel shows them,
// saved under the build folder for a person to look at, with the themed
// colours checked on the pixels.

#include "support/WaitFor.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/GridControl/ToggleSwitchPropertyImpl.h"
#include "views/GridControl/UnitType.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
class GalleryPanel : public BoundPropertiesGrid
{
public:
    GalleryPanel() : BoundPropertiesGrid("GalleryPanel")
    {
        createProperties();
        layoutProperties();
    }

    void createProperties() override
    {
        bindProperty(BindableProperty::createLineEdit("Entity_Name", 0, 40, 0.0, 1.0, 0));
        bindProperty(BindableProperty::createLineEdit("Quad_FrontWidth", 4, 10, 0.0, 1000.0, 2));
        bindProperty(BindableProperty::createLineEdit("Beam_SteeringAngle1", 5, 10, -1.0, 1.0, 1));
        bindProperty(BindableProperty::createLineEdit("Temperature", 6, 10, -50.0, 60.0, 1));
        bindProperty(BindableProperty::createComboBox("Spl_Mode"));
        getProperty("Spl_Mode")->setComboBoxOptions({"1/3 Octave", "Octave"});
        bindProperty(BindableProperty::createToggleSwitch("Spl_ShowSplMap", "OFF", "ON"));
        bindProperty(BindableProperty::createToggleSwitch("Spl_AutoCalculate", "OFF", "ON"));
        bindProperty(BindableProperty::createToggleSwitch("Spl_Auto_Adjust", "OFF", "ON"));
        bindProperty(BindableProperty::createToggleSwitch("ColorTheme", "Dark", "Light"));
        bindProperty(BindableProperty::createLineEdit("Cluster_Gain", 2, 10, -40.0, 10.0, 1));
    }

    void layoutProperties() override
    {
        const char* rows[][2] = {{"Name", "Entity_Name"},
                                 {"Front width", "Quad_FrontWidth"},
                                 {"Steering", "Beam_SteeringAngle1"},
                                 {"Temperature", "Temperature"},
                                 {"Band", "Spl_Mode"},
                                 {"Show map", "Spl_ShowSplMap"},
                                 {"Auto calculate", "Spl_AutoCalculate"},
                                 {"Auto adjust (disabled)", "Spl_Auto_Adjust"},
                                 {"Theme", "ColorTheme"},
                                 {"Gain (disabled)", "Cluster_Gain"}};
        int row = 0;
        for (const auto& r : rows)
        {
            if (row == 5)
                addWidgetToGrid(createSeparator(QFrame::HLine), row++, 0, 1, 2);
            addWidgetToGrid(createLabel(r[0], kFreeWidth), row, 0);
            const bool toggle =
                getProperty(r[1])->kind() == PropertyKind::ToggleSwitch && QString(r[1]) != "ColorTheme";
            addWidgetToGrid(getProperty(r[1])->widget(), row++, 1, 1, 1,
                            toggle ? Qt::AlignLeft : Qt::Alignment());
        }
    }
};

QColor SplColour(double db)
{
    // Blue at 60 dB through green to red at 120 dB.
    const double t = std::clamp((db - 60.0) / 60.0, 0.0, 1.0);
    return QColor::fromHsvF((1.0 - t) * 240.0 / 360.0, 1.0, 1.0);
}

int Distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST(PropertyGallery, ThemedScreenshotsShowTheThemeColours)
{
    struct Theme
    {
        int value;
        const char* file;
        const char* background;
        const char* text;
        QColor trackOn, trackOff, knob, comboFill;
    };
    const Theme themes[] = {
        {1, "gridcontrol_light.png", "#F8F8F8", "#575757", QColor("#575757"), QColor("#e0e0e0"), Qt::white,
         QColor("#e0e0e0")},
        {0, "gridcontrol_dark.png", "#141414", "#aaaaaa", QColor("#cccccc"), QColor("#3b3b3b"), Qt::black,
         QColor("#3b3b3b")},
    };
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    ASSERT_TRUE(QDir().mkpath(folder));

    for (const Theme& theme : themes)
    {
        SCOPED_TRACE(theme.file);
        // Declared first, so that it is destroyed after the widgets it shows.
        QWidget window;
        GalleryPanel panel;
        SPLVerticalRangeSliderWidget spl;
        spl.setMinimum(60);
        spl.setMaximum(120);
        spl.setFirstValue(75);
        spl.setSecondValue(110);
        spl.setColorFunction(&SplColour);
        // As wide as its labels, so that they sit on the colour scale.
        spl.setFixedSize(24, 260);
        spl.setHandleEdgeDimensions(24, 6);
        spl.setSliderBarHeight(24);

        // The application's own sheet gives plain widgets these colours.
        window.setStyleSheet(
            QString("QWidget { background-color: %1; color: %2; } QComboBox { border-radius: 8px; }")
                .arg(theme.background, theme.text));
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(panel.widget());
        layout->addWidget(&spl);
        panel.themeChanged(theme.value);
        panel.updateProperty("Entity_Name", QString("Balcony left"));
        panel.updateProperty("Quad_FrontWidth", 12.5);
        panel.updateProperty("Beam_SteeringAngle1", -0.0872664626);
        panel.updateProperty("Temperature", 21.5);
        panel.updateProperty("Spl_Mode", "Octave");
        panel.updateProperty("Spl_ShowSplMap", true);
        panel.updateProperty("ColorTheme", theme.value == 1);
        panel.updateProperty("Cluster_Gain", -6.0);
        panel.getProperty("Cluster_Gain")->setEditable(false, false);
        panel.updateProperty("Spl_Auto_Adjust", true);
        panel.getProperty("Spl_Auto_Adjust")->setEditable(false, false);
        window.resize(380, 300);
        window.show();
        auto* on = dynamic_cast<ToggleSwitchPropertyImpl*>(panel.getProperty("Spl_ShowSplMap")->impl());
        auto* disabled =
            dynamic_cast<ToggleSwitchPropertyImpl*>(panel.getProperty("Spl_Auto_Adjust")->impl());
        ASSERT_TRUE(test::WaitFor([&] { return on->offset() == 21 && disabled->offset() == 21; }));

        const QImage image = window.grab().toImage();
        ASSERT_TRUE(image.save(folder + "/" + theme.file));

        const auto at = [&](QWidget* widget, int x, int y)
        { return image.pixelColor(widget->mapTo(&window, QPoint(x, y))); };
        QWidget* off = panel.getProperty("Spl_AutoCalculate")->widget();
        EXPECT_LE(Distance(at(on, 6, 10), theme.trackOn), 6);
        EXPECT_LE(Distance(at(on, 25, 10), theme.knob), 6);
        EXPECT_LE(Distance(at(off, 29, 10), theme.trackOff), 6);
        EXPECT_LE(Distance(at(off, 11, 10), theme.knob), 6);
        // A disabled switch is painted at 40 % over the background.
        const QColor background(theme.background);
        const QColor faded(qRound(0.4 * theme.trackOn.red() + 0.6 * background.red()),
                           qRound(0.4 * theme.trackOn.green() + 0.6 * background.green()),
                           qRound(0.4 * theme.trackOn.blue() + 0.6 * background.blue()));
        EXPECT_LE(Distance(at(disabled, 6, 10), faded), 6);
        QWidget* combo = panel.getProperty("Spl_Mode")->widget();
        EXPECT_LE(Distance(at(combo, combo->width() * 3 / 4, combo->height() / 2), theme.comboFill), 6);
        // The scale runs from the colour of the maximum at the top to the minimum's.
        const int edge = spl.width() - 2;
        EXPECT_LE(Distance(at(&spl, edge, 3), SplColour(120)), 30);
        EXPECT_LE(Distance(at(&spl, edge, spl.height() - 4), SplColour(60)), 30);
        // The name is drawn in the theme's text colour.
        QWidget* name = panel.getProperty("Entity_Name")->widget();
        const QColor ink = theme.value == 1 ? Qt::black : Qt::white;
        int inked = 0;
        for (int x = 0; x < name->width(); ++x)
            for (int y = 0; y < name->height(); ++y)
                inked += Distance(at(name, x, y), ink) < 60 ? 1 : 0;
        EXPECT_GT(inked, 20);
    }
}
} // namespace
} // namespace zorvpro
