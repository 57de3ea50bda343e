// Every panel with realistic values, in both themes: screenshots under
// <build>/gallery, labels that fit, and every bound name from the item table.

#include "PanelHost.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/SplTypes.h"
#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/GridControl/ToggleSwitchPropertyImpl.h"
#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"
#include "views/Tabs/Speaker/BeamRowRegistry.h"
#include "views/Tabs/Speaker/BeamSpeakerPropertiesControl.h"
#include "views/Tabs/Speaker/SplLiveMapControls.h"
#include "views/Tabs/Speaker/SplPropertiesControl.h"
#include "views/Tabs/Venue/SurfacePropertiesControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPropertyAnimation>
#include <QSet>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
using test::PanelHost;

QDir GalleryDir()
{
    // The test executables sit in <build>/tests.
    QDir dir(QCoreApplication::applicationDirPath() + "/../gallery");
    dir.mkpath(".");
    return dir;
}

// The part of the application's style sheet that panels are shown under:
// page colours, fonts, text fields, buttons, combo boxes and lines.
QString ApplicationStyle(int theme)
{
    const bool l = theme == 1;
    return QString("QWidget { font-size: 12px; background-color: %1; color: %2; } "
                   "QLineEdit, QPlainTextEdit { border: 0.5px solid %3; color: %4; } "
                   "QLineEdit { border: none; border-bottom: 0.5px solid %3; } "
                   "QPushButton { background-color: %5; border-radius: 12px; color: %6; } "
                   "QComboBox { background-color: %5; border-radius: 8px; color: %4; } "
                   "QFrame[frameShape=\"4\"], QFrame[frameShape=\"5\"] { color: %7; }")
        .arg(l ? "#F8F8F8" : "#141414", l ? "#575757" : "#aaaaaa", l ? "#aaaaaa" : "#777777",
             l ? "#000000" : "#FFFFFF", l ? "#e0e0e0" : "#3b3b3b", l ? "#000000" : "#F8F8F8",
             l ? "#dddddd" : "#000000");
}

// The names every property widget of a panel answers to.
QSet<QString> BoundNames(const BoundPropertiesGrid& panel)
{
    QSet<QString> names;
    for (std::uint32_t item = 0; item < kBeamSpeakerItemCount; ++item)
    {
        const QString name = beamSpeakerItemName(static_cast<BeamSpeakerItem>(item));
        if (panel.getProperty(name) != nullptr)
            names.insert(name);
    }
    return names;
}

// Laid-out property widgets whose names the item table does not know.
QStringList UnknownWidgets(const BoundPropertiesGrid& panel)
{
    QStringList unknown;
    for (QWidget* child : panel.widget()->findChildren<QWidget*>())
        if (auto* property = dynamic_cast<IBindablePropertyImpl*>(child))
            if (beamSpeakerItemFromName(property->name()) == kUnknownBeamSpeakerItem)
                unknown << property->name();
    return unknown;
}

TEST(PanelItemNamesTest, EveryBoundNameIsAnItemAndTheToolBarHasExactlyItsButtons)
{
    BeamRowRegistry::Clear();
    SplPropertiesControl spl;
    SplLiveMapControls live;
    SurfacePropertiesControl surface;
    BeamSpeakerPropertiesControl beam;
    const std::vector<std::pair<const BoundPropertiesGrid*, int>> panels{
        {&spl, 6}, {&live, 2}, {&surface, 22}, {&beam, 35}};
    for (const auto& [panel, count] : panels)
    {
        EXPECT_TRUE(UnknownWidgets(*panel).isEmpty()) << UnknownWidgets(*panel).join(' ').toStdString();
        EXPECT_EQ(BoundNames(*panel).size(), count) << panel->widget()->objectName().toStdString();
    }
    const QSet<QString> toolButtons{"Toolbar_AddEntity",    "Toolbar_Undo",       "Toolbar_Redo",
                                    "Toolbar_DeleteEntity", "Toolbar_ThrowLines", "Toolbar_SliderPlan",
                                    "Toolbar_SliderSide",   "Toolbar_LinkViews",  "Toolbar_ZoomToFit"};
    for (const std::uint32_t tab : {0u, 1u})
        for (const std::uint32_t placement : {0u, 1u, 2u})
        {
            ToolBarControl bar(tab, placement);
            EXPECT_EQ(BoundNames(bar), toolButtons) << tab << placement;
            EXPECT_TRUE(UnknownWidgets(bar).isEmpty());
        }
    // Events raised before any listener is set go nowhere.
    spl.updateProperty("Spl_Mode", 3);
    spl.updateProperty("Spl_Freq", 1000.0);
    spl.setMaxSpl(100.0);
    EXPECT_EQ(spl.getProperty("Spl_Freq")->value(), QVariant("1 kHz"));
    // The item without a widget keeps its name.
    EXPECT_EQ(beamSpeakerItemFromName("Spl_Relative_Or_Absolute"), BeamSpeakerItem::Spl_Relative_Or_Absolute);
    BeamRowRegistry::Clear();
}

// Labels and values shown in full: a clipped text is one the designer
// cannot read.
QStringList ClippedTexts(QWidget* root)
{
    QStringList clipped;
    for (QLabel* label : root->findChildren<QLabel*>())
        if (label->isVisibleTo(root) && !label->text().trimmed().isEmpty() &&
            label->width() < label->fontMetrics().horizontalAdvance(label->text()))
            clipped << label->text();
    for (QLineEdit* edit : root->findChildren<QLineEdit*>())
        if (edit->isVisibleTo(root) &&
            edit->width() - 4 < edit->fontMetrics().horizontalAdvance(edit->text()))
            clipped << edit->text();
    return clipped;
}

// Pushes "name=value;..." as the adapters would: numbers, true/false, or text.
void Push(BoundPropertiesGrid& panel, const QString& values)
{
    for (const QString& pair : values.split(';', Qt::SkipEmptyParts))
    {
        const QString name = pair.section('=', 0, 0);
        const QString text = pair.section('=', 1);
        bool number = false;
        const double value = text.toDouble(&number);
        if (text == "true" || text == "false")
            panel.updateProperty(name, text == "true");
        else if (number && name != "Beam_Modules")
            panel.updateProperty(name, value);
        else
            panel.updateProperty(name, text);
    }
}

struct GalleryPanel
{
    const char* file;
    std::function<void(QWidget& page, std::vector<std::unique_ptr<BoundPropertiesGrid>>& keep)> build;
};

QColor Hue(double db)
{
    const double t = std::clamp((db - 70.0) / 40.0, 0.0, 1.0);
    return QColor::fromHsvF(0.66 * (1.0 - t), 0.9, 0.95);
}

TEST(PanelGalleryTest, EveryPanelInBothThemes)
{
    BeamRowRegistry::Clear();
    SPLVerticalRangeSliderWidget slider;
    // Each panel as a designer would see it mid-project.
    auto add = [](QWidget& page, auto& keep, auto panel, const QString& values)
    {
        Push(*panel, values);
        page.layout()->addWidget(panel->widget());
        keep.push_back(std::move(panel));
    };
    const std::vector<GalleryPanel> panels{
        {"spl_properties",
         [&](QWidget& page, auto& keep)
         {
             auto panel = std::make_unique<SplPropertiesControl>();
             slider.setMinimum(36);
             slider.setMaximum(132);
             slider.setFixedWidth(70);
             panel->setRangeSlider(&slider);
             panel->setColorMap(Hue);
             panel->setSplRange(78.0, 106.0);
             add(page, keep, std::move(panel), "Spl_Mode=3;Spl_Freq=1000;Spl_Auto_Adjust=true");
             page.layout()->addWidget(&slider);
         }},
        {"spl_live_map",
         [&](QWidget& page, auto& keep)
         {
             auto panel = std::make_unique<SplLiveMapControls>();
             for (int tick = 0; tick < 3; ++tick)
                 panel->updateCalculationStatus(true);
             add(page, keep, std::move(panel), "");
         }},
        {"surface_properties",
         [&](QWidget& page, auto& keep)
         {
             add(page, keep, std::make_unique<SurfacePropertiesControl>(),
                 "Quad_P0X=0;Quad_P0Y=-4.5;Quad_P0Z=0;Quad_FrontWidth=12;Quad_BackWidth=18;Quad_BackDepth=24;"
                 "Quad_BackHeight=3.5;"
                 "Quad_P1X=-6;Quad_P1Y=-4.5;Quad_P1Z=0;Quad_P2X=6;Quad_P2Y=-4.5;Quad_P2Z=0;Quad_P3X=9;Quad_"
                 "P3Y=19.5;Quad_P3Z=3.5;"
                 "Quad_P4X=-9;Quad_P4Y=19.5;Quad_P4Z=3.5;Quad_ListenerHeight=1.2;Quad_Rotation=0");
         }},
        {"beam_speaker_properties",
         [&](QWidget& page, auto& keep)
         {
             add(page, keep, std::make_unique<BeamSpeakerPropertiesControl>(),
                 "Beam_PosX=-4.2;Beam_PosY=1.5;Beam_TopPosition=6.8;Beam_CenterPosition=5.9;"
                 "Beam_BottomPosition=5;Beam_PitchPosition=-0.0873;Beam_YawPosition=0.2618;Beam_Modules=2;"
                 "Beam_Beams=Dual (Dante);Cluster_Delay=12.5;Cluster_Gain=-3;"
                 "Beam_Comments=Stage left, covers the stalls;Beam_Manual1=Steer / Spread;"
                 "Beam_TopRearAngle1=-0.0524;Beam_TopRearDistance1=32;Beam_BottomFrontAngle1=-0.349;"
                 "Beam_BottomFrontDistance1=6.5;Beam_SteeringAngle1=-0.1396;Beam_SpreadingAngle1=0.2443;"
                 "Beam_Manual2=Flat Floor;Beam_MainGain2=-2;Beam_TopRearAngle2=0.0349;"
                 "Beam_TopRearDistance2=45;Beam_BottomFrontAngle2=-0.1745;Beam_BottomFrontDistance2=18;"
                 "Beam_SteeringAngle2=0.0524;Beam_BeamSelection=true");
         }},
        {"project_preferences",
         [&](QWidget& page, auto& keep)
         {
             add(page, keep, std::make_unique<ProjectPreferencesControl>(),
                 "ProjectVenue=Grand Theatre;ProjectDesigner=R. Okafor;ProjectVersion=v2.1;"
                 "ProjectNotes=Matinee rig. Balcony fill still to check.;AirAbsorb=true;Humidity=100;"
                 "EarHeight=10.25;Temperature=-17.7");
         }},
        {"application_settings", [&](QWidget& page, auto& keep)
         { add(page, keep, std::make_unique<ApplicationSettingsControl>(), "TemperatureUnits=true"); }},
        {"toolbars",
         [&](QWidget& page, auto& keep)
         {
             auto* column = new QVBoxLayout();
             for (const std::uint32_t placement : {0u, 1u, 2u})
             {
                 auto bar = std::make_unique<ToolBarControl>(1u, placement);
                 bar->toolbarPositionChanged(1);
                 Push(*bar, "Toolbar_SliderPlan=42;Toolbar_SliderSide=42");
                 column->addWidget(bar->widget());
                 keep.push_back(std::move(bar));
             }
             static_cast<QHBoxLayout*>(page.layout())->addLayout(column);
         }},
    };

    const QDir dir = GalleryDir();
    for (const GalleryPanel& entry : panels)
        for (const int theme : {1, 0})
        {
            QWidget page;
            auto* layout = new QHBoxLayout(&page);
            layout->setContentsMargins(12, 12, 12, 12);
            std::vector<std::unique_ptr<BoundPropertiesGrid>> keep;
            entry.build(page, keep);
            page.setStyleSheet(ApplicationStyle(theme));
            for (auto& panel : keep)
                panel->themeChanged(theme);
            page.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
            // Every knob switch has slid to the side of its value.
            const auto toggles = page.findChildren<ToggleSwitchPropertyImpl*>();
            EXPECT_TRUE(QTest::qWaitFor(
                [&]
                {
                    return std::all_of(toggles.begin(), toggles.end(),
                                       [](ToggleSwitchPropertyImpl* t)
                                       {
                                           return !t->isKnobLook() ||
                                                  (t->animation()->state() == QAbstractAnimation::Stopped &&
                                                   t->isChecked() == (t->offset() > t->width() / 2));
                                       });
                },
                3000))
                << entry.file;
            const QImage shot = page.grab().toImage();
            const QString file = QString("%1_%2.png").arg(entry.file, theme == 1 ? "light" : "dark");
            ASSERT_TRUE(shot.save(dir.filePath(file))) << file.toStdString();
            EXPECT_TRUE(ClippedTexts(&page).isEmpty())
                << file.toStdString() << ": " << ClippedTexts(&page).join(" | ").toStdString();
            // The page itself shows its theme's background.
            EXPECT_EQ(shot.pixelColor(2, 2), QColor(theme == 1 ? "#F8F8F8" : "#141414"))
                << file.toStdString();
            if (auto* beam = dynamic_cast<BeamSpeakerPropertiesControl*>(keep.front().get()))
            {
                // The current second beam is highlighted, the first is plain.
                QFrame* first = beam->beamSection(1);
                QFrame* second = beam->beamSection(2);
                const QPoint corner(first->width() - 3, 3);
                EXPECT_EQ(shot.pixelColor(first->mapTo(&page, corner)),
                          QColor(theme == 1 ? "#F8F8F8" : "#141414"));
                EXPECT_EQ(shot.pixelColor(second->mapTo(&page, QPoint(second->width() - 3, 3))),
                          QColor(theme == 1 ? "#f3f3f3" : "#242424"));
            }
            slider.setParent(nullptr);
            for (auto& panel : keep)
                panel->widget()->setParent(nullptr);
        }
    BeamRowRegistry::Clear();
}
} // namespace
} // namespace zorvpro
