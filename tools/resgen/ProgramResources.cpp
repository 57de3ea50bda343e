#include "tools/resgen/ProgramResources.h"

#include "tools/resgen/ShellImages.h"

#include <QFile>
#include <QFont>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace zorvpro::resgen
{
QImage DrawSplash()
{
    QImage image(640, 360, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QLinearGradient field(0, 0, 0, image.height());
    field.setColorAt(0, QColor("#2a2a2a"));
    field.setColorAt(1, QColor("#0e0e0e"));
    p.fillRect(image.rect(), field);
    p.drawImage(QRectF(40, 70, 200, 200), DrawLogo());

    p.setPen(QColor("#f2f2f2"));
    QFont title(QStringLiteral("Manrope"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(260, 110, 360, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zorv Tessary"));
    QFont line(QStringLiteral("Manrope"));
    line.setPixelSize(17);
    p.setFont(line);
    p.setPen(QColor("#f0a020"));
    p.drawText(QRectF(262, 170, 360, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Loudspeaker array design for venues"));
    p.setPen(QColor("#8a8a8a"));
    line.setPixelSize(13);
    p.setFont(line);
    p.drawText(QRectF(262, 300, 360, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Loading loudspeaker data..."));
    return image;
}

QImage DrawRotateCursor()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    const QRectF ring(6, 6, 20, 20);
    arrow.arcMoveTo(ring, 60);
    arrow.arcTo(ring, 60, 280);
    // Arrow head at the arc's end, pointing along the turn.
    const double end = (60 + 280) * M_PI / 180.0;
    const QPointF tip(16 + 10 * std::cos(end), 16 - 10 * std::sin(end));
    QPainterPath head;
    head.moveTo(tip + QPointF(-5, -4));
    head.lineTo(tip + QPointF(5, -1));
    head.lineTo(tip + QPointF(-1, 6));
    head.closeSubpath();
    for (const auto& [colour, width] : {std::pair<QColor, double>{Qt::white, 5.0}, {Qt::black, 2.5}})
    {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arrow);
        p.setBrush(colour);
        p.setPen(QPen(colour, width - 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(head);
    }
    return image;
}

QByteArray HelpPageHtml()
{
    return QByteArrayLiteral(R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Zorv Tessary Help</title>
<style>body{font-family:sans-serif;max-width:46em;margin:2em auto;line-height:1.5;color:#222}
h1,h2{color:#333}kbd{border:1px solid #aaa;border-radius:3px;padding:0 4px}</style></head>
<body>
<h1>Zorv Tessary</h1>
<p>Zorv Tessary designs loudspeaker arrays for venues: build the venue out of flat surfaces, place
loudspeakers and steerable line arrays, steer their beams and see the sound pressure level as a
coloured coverage map in a plan view and a side view.</p>
<h2>Starting</h2>
<p>The start page offers a new project, an existing project file (<code>*.tq</code>) and the recent
projects. Project and application settings can be changed there or later through
<b>Settings</b> in the main menu (<kbd>Ctrl</kbd>+<kbd>Shift</kbd>+<kbd>P</kbd>).</p>
<h2>Venue</h2>
<p>Add surfaces with the add button, then drag their corner handles in the plan view or type their
corners, height and rotation in the panel on the left. A surface with a listener plane receives a
coverage map at the ear height above it.</p>
<h2>Speakers / Analysis</h2>
<p>Add an array, place it in the plan view and set its modules, beams, steering and spreading in the
panel. Switch the coverage map on with the live-map controls; with automatic calculation on, every
change is computed again in the background. The colour scale on the right sets the level range,
the frequency and the resolution of the maps.</p>
<h2>Report</h2>
<p>The Report tab lists the hardware of the project. Copy puts it on the clipboard as
tab-separated text; Preview opens it as a web page.</p>
<h2>Files</h2>
<p><b>Save Project</b> (<kbd>Ctrl</kbd>+<kbd>S</kbd>) writes the project file; <b>Save Project As</b>
(<kbd>Ctrl</kbd>+<kbd>Shift</kbd>+<kbd>S</kbd>) writes it under a new name. Unsaved changes are
never dropped without asking. Every edit can be undone with <kbd>Ctrl</kbd>+<kbd>Z</kbd>.</p>
<h2>Loudspeaker data</h2>
<p>Loudspeaker data sets (<code>*.vxq</code>) are read at start-up from the folder
<code>Loudspeakers</code> in the application-data folder.</p>
</body></html>
)");
}

bool WriteProgramResources(const QDir& root, QStringList& files)
{
    for (const char* folder :
         {"Resources/Graphics", "Resources/Cursors", "Resources/Help", "Resources/Icons"})
        if (!root.mkpath(QLatin1String(folder)))
        {
            std::fprintf(stderr, "cannot create %s in %s\n", folder, qPrintable(root.path()));
            return false;
        }
    auto write = [&](const QString& file, const QImage& image, const char* format)
    {
        QImageWriter writer(root.filePath(file), format);
        if (!writer.write(image))
        {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(root.filePath(file)),
                         qPrintable(writer.errorString()));
            return false;
        }
        files << file;
        return true;
    };
    if (!write(QStringLiteral("Resources/Graphics/splash.png"), DrawSplash(), "png") ||
        !write(QStringLiteral("Resources/Icons/ZorvTessary.ico"),
               DrawLogo().scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation), "ico") ||
        !write(QStringLiteral("Resources/Cursors/rotate_win.png"), DrawRotateCursor(), "png"))
        return false;
    const QString help = QStringLiteral("Resources/Help/default.htm");
    QFile page(root.filePath(help));
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) || page.write(HelpPageHtml()) < 0 ||
        !page.flush())
    {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(root.filePath(help)));
        return false;
    }
    files << help;
    return true;
}
} // namespace zorvpro::resgen
