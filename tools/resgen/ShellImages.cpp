#include "tools/resgen/ShellImages.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

namespace zorvpro::resgen
{
namespace
{
// Drawn at twice the 26 x 32 size the tiles show, so they stay sharp on
// high-density screens.
constexpr int kTileWidth = 52;
constexpr int kTileHeight = 64;

// The glyph follows the tile's label colours, a little stronger on the
// light-grey hover tile of the dark theme so that it still reads.
QColor TileGlyphColour(bool lightTheme, bool hover)
{
    if (lightTheme)
        return hover ? QColor("#F8F8F8") : QColor("#575757");
    return hover ? QColor("#3b3b3b") : QColor("#aaaaaa");
}

QImage BlankTile()
{
    QImage image(kTileWidth, kTileHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPen GlyphPen(const QColor& colour)
{
    return QPen(colour, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
} // namespace

QImage DrawOpenFileTile(bool lightTheme, bool hover)
{
    QImage image = BlankTile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(GlyphPen(TileGlyphColour(lightTheme, hover)));
    // Folder: tab on the upper left, body below.
    QPainterPath folder;
    folder.moveTo(4, 22);
    folder.lineTo(4, 14);
    folder.lineTo(18, 14);
    folder.lineTo(22, 19);
    folder.lineTo(48, 19);
    folder.lineTo(48, 56);
    folder.lineTo(4, 56);
    folder.closeSubpath();
    p.drawPath(folder);
    // Arrow up and out of the folder.
    p.drawLine(QPointF(26, 48), QPointF(26, 28));
    p.drawLine(QPointF(18, 35), QPointF(26, 27));
    p.drawLine(QPointF(34, 35), QPointF(26, 27));
    return image;
}

QImage DrawRecentFileTile(bool lightTheme, bool hover)
{
    QImage image = BlankTile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = TileGlyphColour(lightTheme, hover);
    p.setPen(GlyphPen(colour));
    // Page with a folded corner.
    QPainterPath page;
    page.moveTo(8, 6);
    page.lineTo(32, 6);
    page.lineTo(44, 18);
    page.lineTo(44, 58);
    page.lineTo(8, 58);
    page.closeSubpath();
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(32, 6), QPointF(32, 18), QPointF(44, 18)}));
    // Clock face with its hands.
    p.drawEllipse(QPointF(26, 39), 11, 11);
    p.drawLine(QPointF(26, 39), QPointF(26, 32));
    p.drawLine(QPointF(26, 39), QPointF(31, 42));
    return image;
}

QImage DrawLogo()
{
    constexpr int size = 256;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Rounded badge.
    p.setPen(Qt::NoPen);
    QLinearGradient badge(0, 0, 0, size);
    badge.setColorAt(0, QColor("#3b3b3b"));
    badge.setColorAt(1, QColor("#161616"));
    p.setBrush(badge);
    p.drawRoundedRect(QRectF(8, 8, size - 16, size - 16), 40, 40);
    // The column: a tall cabinet with its drivers.
    p.setBrush(QColor("#e0e0e0"));
    p.drawRoundedRect(QRectF(52, 52, 34, 152), 6, 6);
    p.setBrush(QColor("#242424"));
    for (int i = 0; i < 8; ++i)
        p.drawEllipse(QPointF(69, 64 + i * 18.5), 6.5, 6.5);
    // The steered beam: arcs leaving the column, tilted down toward the floor.
    p.setBrush(Qt::NoBrush);
    const QColor beam[] = {QColor("#f0a020"), QColor("#e07818"), QColor("#c85014")};
    for (int i = 0; i < 3; ++i)
    {
        const qreal r = 52 + i * 34;
        p.setPen(QPen(beam[i], 12, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(86 - r, 128 - r, 2 * r, 2 * r), -55 * 16, 70 * 16);
    }
    // The listening floor.
    p.setPen(QPen(QColor("#aaaaaa"), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(100, 214), QPointF(222, 196));
    return image;
}

bool WriteLicensePdf(const QString& path)
{
    QPdfWriter writer(path);
    writer.setTitle(QStringLiteral("Zorv Tessary End-User Licence"));
    writer.setCreator(QStringLiteral("Zorv"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setResolution(300);

    QTextDocument text;
    text.setDefaultFont(QFont(QStringLiteral("Manrope"), 10));
    text.setHtml(QStringLiteral(
        "<h2>Zorv Tessary &mdash; End-User Licence</h2>"
        "<p>Copyright (c) Zorv. All rights reserved.</p>"
        "<p><b>1. Licence.</b> Zorv grants you a personal, non-exclusive, non-transferable licence to "
        "install and use Zorv Tessary to design loudspeaker systems for your own projects and those of "
        "your clients.</p>"
        "<p><b>2. Restrictions.</b> You may not sell, rent or sublicense the software, nor remove its "
        "notices. You may share project files and reports made with it freely.</p>"
        "<p><b>3. Loudspeaker data.</b> The data sets are for designing with Zorv loudspeakers. Predictions "
        "are models of the real room and no substitute for measurement on site.</p>"
        "<p><b>4. No warranty.</b> The software is provided as is, without warranty of any kind. Zorv is not "
        "liable for any damage arising from its use, to the extent the law allows.</p>"
        "<p><b>5. End.</b> This licence ends when you break its terms; you then remove the software.</p>"));

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    // Lay the text out at the writer's resolution, so points are points on paper.
    text.documentLayout()->setPaintDevice(&writer);
    text.setPageSize(painter.viewport().size());
    text.drawContents(&painter);
    return painter.end();
}

bool WriteShellResources(const QDir& root, QStringList& files)
{
    if (!root.mkpath(QStringLiteral("Resources/Buttons")) ||
        !root.mkpath(QStringLiteral("Resources/Documents")))
    {
        std::fprintf(stderr, "cannot create the resource folders in %s\n", qPrintable(root.path()));
        return false;
    }
    auto save = [&](const QImage& image, const QString& file)
    {
        if (!image.save(root.filePath(file), "PNG"))
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(root.filePath(file)));
            return false;
        }
        files << file;
        return true;
    };
    for (const bool light : {true, false})
        for (const bool hover : {true, false})
        {
            const QString suffix = QStringLiteral("_%1_%2_On.png")
                                       .arg(light ? QStringLiteral("Light") : QStringLiteral("Dark"),
                                            hover ? QStringLiteral("Hover") : QStringLiteral("Active"));
            if (!save(DrawOpenFileTile(light, hover),
                      QStringLiteral("Resources/Buttons/OpenFile") + suffix) ||
                !save(DrawRecentFileTile(light, hover),
                      QStringLiteral("Resources/Buttons/RecentFile") + suffix))
                return false;
        }
    if (!save(DrawLogo(), QStringLiteral("Resources/Icons/ZorvTessary.png")))
        return false;
    const QString eula = QStringLiteral("Resources/Documents/EULA.pdf");
    if (!WriteLicensePdf(root.filePath(eula)))
    {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(root.filePath(eula)));
        return false;
    }
    files << eula;
    return true;
}
} // namespace zorvpro::resgen
