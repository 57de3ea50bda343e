// Screenshots of the entity list and of every icon set, in both themes,
// under <build>/gallery, checked for the row colours they must show.

#include "Resources/Fonts/StandInFonts.h"
#include "support/EntityListFixture.h"
#include "views/GridControl/IconRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{
using test::EntityListFixture;

QDir GalleryDir()
{
    // The test executables sit in <build>/tests.
    QDir dir(QCoreApplication::applicationDirPath() + "/../gallery");
    dir.mkpath(".");
    return dir;
}

// Every compiled-in icon file of the theme: one line per icon, modes across,
// On files first; Selected files sit on the selected row colour.
QImage IconSheet(int theme)
{
    const int scale = 2, cell = 24 * scale + 8, columns = 8, icons = 15;
    QImage sheet(columns * cell, icons * cell, QImage::Format_ARGB32);
    const QColor background(theme == 1 ? "#F8F8F8" : "#141414");
    const QColor selected(theme == 1 ? "#575757" : "#cccccc");
    sheet.fill(background);
    QPainter painter(&sheet);
    for (int icon = 0; icon < icons; ++icon)
    {
        int column = 0;
        for (int state : {QIcon::On, QIcon::Off})
            for (int mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled, QIcon::Selected})
            {
                const QString file = IconRenderer::fileName(icon, theme, mode, state);
                if (!QFile::exists(file))
                    continue;
                const QRect box(column * cell, icon * cell, cell, cell);
                if (mode == QIcon::Selected)
                    painter.fillRect(box, selected);
                painter.drawImage(box.adjusted(4, 4, -4, -4), QImage(file));
                ++column;
            }
    }
    return sheet;
}

TEST_F(EntityListFixture, GalleryOfTheListAndTheIconsInBothThemes)
{
    RegisterStandInFonts();
    const QDir dir = GalleryDir();
    list->updatePropertyValue(103, "Entity_Lock", true);
    for (const int theme : {1, 0})
    {
        list->themeChanged(theme);
        ClickName(1);
        const QImage shot = list->grab().toImage();
        const char* name = theme == 1 ? "entity_list_light.png" : "entity_list_dark.png";
        ASSERT_TRUE(shot.save(dir.filePath(name))) << name;

        // The lock cell's corner shows the row colour: selected for the second row.
        const QColor unselected(theme == 1 ? "#F8F8F8" : "#141414");
        const QColor selected(theme == 1 ? "#575757" : "#cccccc");
        for (int row = 0; row < 3; ++row)
        {
            const QPoint corner = list->cellWidget(row, 4)->geometry().topLeft() + QPoint(2, 2);
            EXPECT_EQ(shot.pixelColor(list->viewport()->mapTo(list.get(), corner)),
                      row == 1 ? selected : unselected)
                << name << " row " << row;
        }
        const char* sheetName = theme == 1 ? "icons_light.png" : "icons_dark.png";
        ASSERT_TRUE(IconSheet(theme).save(dir.filePath(sheetName))) << sheetName;
    }
}
} // namespace
} // namespace zorvpro
