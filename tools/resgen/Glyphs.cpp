#include "tools/resgen/Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace zorvpro::resgen
{
namespace
{
// Clears a shape out of what is already drawn, so an overlapping outline
// drawn next reads as lying in front.
void Erase(QPainter& painter, const QPainterPath& shape)
{
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(shape, Qt::black);
    painter.restore();
}

// Clears a thick band along a line: the gap either side of a slash.
void EraseLine(QPainter& painter, QPointF from, QPointF to, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath line(from);
    line.lineTo(to);
    Erase(painter, stroker.createStroke(line));
}

void FillDot(QPainter& painter, QPointF centre, qreal radius)
{
    painter.save();
    painter.setBrush(painter.pen().color());
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void DrawPlus(QPainter& painter, QPointF centre, qreal arm)
{
    painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

QPainterPath Surface(QPointF origin)
{
    // A flat four-cornered surface seen at a slant.
    QPainterPath path(origin);
    path.lineTo(origin + QPointF(4, -10));
    path.lineTo(origin + QPointF(13, -10));
    path.lineTo(origin + QPointF(9, 0));
    path.closeSubpath();
    return path;
}

void DrawCabinet(QPainter& painter, const QRectF& box)
{
    QPainterPath body;
    body.addRoundedRect(box, 1.5, 1.5);
    Erase(painter, body);
    painter.drawPath(body);
    const QPointF centre = box.center();
    const qreal cone = box.width() * 0.3;
    painter.drawEllipse(QPointF(centre.x(), box.bottom() - cone - 2.0), cone, cone);
    FillDot(painter, QPointF(centre.x(), box.top() + 3.5), 1.3);
}

void DrawLink(QPainter& painter, const QRectF& box)
{
    const qreal radius = box.height() / 2.0;
    painter.drawRoundedRect(box, radius, radius);
}
} // namespace

void DrawAddSurface(QPainter& painter, bool)
{
    painter.drawPath(Surface(QPointF(2.5, 20.5)));
    DrawPlus(painter, QPointF(18.0, 6.0), 3.5);
}

void DrawDuplicateSurface(QPainter& painter, bool)
{
    painter.drawPath(Surface(QPointF(7.5, 15.0)));
    const QPainterPath front = Surface(QPointF(2.5, 21.0));
    Erase(painter, front);
    painter.drawPath(front);
}

void DrawAddSpeaker(QPainter& painter, bool)
{
    DrawCabinet(painter, QRectF(3.0, 4.0, 10.0, 17.0));
    DrawPlus(painter, QPointF(18.5, 7.0), 3.5);
}

void DrawDuplicateSpeaker(QPainter& painter, bool)
{
    DrawCabinet(painter, QRectF(10.5, 2.0, 10.0, 15.0));
    DrawCabinet(painter, QRectF(3.5, 7.0, 10.0, 15.0));
}

void DrawUndo(QPainter& painter, bool)
{
    QPainterPath path(QPointF(5.0, 10.0));
    path.lineTo(14.0, 10.0);
    path.cubicTo(17.9, 10.0, 20.0, 12.5, 20.0, 15.0);
    path.cubicTo(20.0, 17.5, 17.9, 20.0, 14.0, 20.0);
    path.lineTo(10.0, 20.0);
    painter.drawPath(path);
    const QPointF head[] = {QPointF(9.0, 6.0), QPointF(5.0, 10.0), QPointF(9.0, 14.0)};
    painter.drawPolyline(head, 3);
}

void DrawRedo(QPainter& painter, bool on)
{
    painter.save();
    painter.translate(24.0, 0.0);
    painter.scale(-1.0, 1.0);
    DrawUndo(painter, on);
    painter.restore();
}

void DrawRemoveEntity(QPainter& painter, bool)
{
    painter.drawLine(QPointF(4.0, 6.0), QPointF(20.0, 6.0));
    const QPointF handle[] = {QPointF(9.5, 6.0), QPointF(9.5, 3.0), QPointF(14.5, 3.0), QPointF(14.5, 6.0)};
    painter.drawPolyline(handle, 4);
    const QPointF body[] = {QPointF(6.0, 6.0), QPointF(7.0, 21.0), QPointF(17.0, 21.0), QPointF(18.0, 6.0)};
    painter.drawPolyline(body, 4);
    painter.drawLine(QPointF(10.0, 10.0), QPointF(10.0, 17.0));
    painter.drawLine(QPointF(14.0, 10.0), QPointF(14.0, 17.0));
}

void DrawLinkViews(QPainter& painter, bool on)
{
    painter.save();
    painter.translate(12.0, 12.0);
    painter.rotate(-45.0);
    if (on)
    {
        // Two links joined by a bar.
        DrawLink(painter, QRectF(-12.5, -3.5, 11.0, 7.0));
        DrawLink(painter, QRectF(1.5, -3.5, 11.0, 7.0));
        painter.drawLine(QPointF(-5.0, 0.0), QPointF(5.0, 0.0));
    }
    else
    {
        // The same links pulled apart, with the break marked.
        DrawLink(painter, QRectF(-13.5, -3.5, 10.5, 7.0));
        DrawLink(painter, QRectF(3.0, -3.5, 10.5, 7.0));
        painter.drawLine(QPointF(-1.0, -8.5), QPointF(-0.5, -6.0));
        painter.drawLine(QPointF(1.0, 8.5), QPointF(0.5, 6.0));
    }
    painter.restore();
}

void DrawZoomToFit(QPainter& painter, bool)
{
    const QPointF corners[4][3] = {
        {QPointF(3.0, 8.0), QPointF(3.0, 3.0), QPointF(8.0, 3.0)},
        {QPointF(16.0, 3.0), QPointF(21.0, 3.0), QPointF(21.0, 8.0)},
        {QPointF(21.0, 16.0), QPointF(21.0, 21.0), QPointF(16.0, 21.0)},
        {QPointF(8.0, 21.0), QPointF(3.0, 21.0), QPointF(3.0, 16.0)},
    };
    for (const auto& corner : corners)
        painter.drawPolyline(corner, 3);
    painter.drawRect(QRectF(8.5, 8.5, 7.0, 7.0));
}

void DrawColorPicker(QPainter& painter, bool)
{
    // A painter's palette: an oval board with a thumb hole and paint dots.
    painter.drawEllipse(QRectF(2.5, 3.5, 19.0, 17.0));
    painter.drawEllipse(QPointF(15.0, 15.5), 2.0, 2.0);
    FillDot(painter, QPointF(7.5, 10.0), 1.6);
    FillDot(painter, QPointF(11.5, 7.5), 1.6);
    FillDot(painter, QPointF(16.0, 9.0), 1.6);
    FillDot(painter, QPointF(8.0, 15.0), 1.6);
}

void DrawTransparentEntity(QPainter& painter, bool on)
{
    const QRectF square(4.5, 4.5, 15.0, 15.0);
    if (!on)
    {
        painter.save();
        painter.setBrush(painter.pen().color());
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(square, 1.5, 1.5);
        painter.restore();
        return;
    }
    // See-through: the outline with hatching behind it.
    painter.save();
    QPen thin = painter.pen();
    thin.setWidthF(1.2);
    painter.setPen(thin);
    painter.setClipRect(square);
    for (qreal offset = -12.0; offset < 16.0; offset += 4.0)
        painter.drawLine(QPointF(square.left() + offset, square.bottom()),
                         QPointF(square.left() + offset + 15.0, square.top()));
    painter.restore();
    painter.drawRoundedRect(square, 1.5, 1.5);
}

void DrawVisibleEntity(QPainter& painter, bool on)
{
    QPainterPath eye(QPointF(2.0, 12.0));
    eye.quadTo(12.0, 2.5, 22.0, 12.0);
    eye.quadTo(12.0, 21.5, 2.0, 12.0);
    painter.drawPath(eye);
    painter.drawEllipse(QPointF(12.0, 12.0), 3.2, 3.2);
    FillDot(painter, QPointF(12.0, 12.0), 1.4);
    if (on)
        return;
    EraseLine(painter, QPointF(4.0, 20.0), QPointF(20.0, 4.0), 5.0);
    painter.drawLine(QPointF(4.0, 20.0), QPointF(20.0, 4.0));
}

void DrawMuteSpeaker(QPainter& painter, bool on)
{
    const QPointF speaker[] = {QPointF(3.0, 9.0),   QPointF(7.0, 9.0),  QPointF(12.0, 4.5),
                               QPointF(12.0, 19.5), QPointF(7.0, 15.0), QPointF(3.0, 15.0)};
    painter.drawPolygon(speaker, 6);
    if (on)
    {
        painter.drawLine(QPointF(15.5, 9.0), QPointF(21.0, 15.0));
        painter.drawLine(QPointF(21.0, 9.0), QPointF(15.5, 15.0));
        return;
    }
    painter.drawArc(QRectF(9.0, 8.0, 8.0, 8.0), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(6.0, 4.5, 15.0, 15.0), -50 * 16, 100 * 16);
}

void DrawLockEntity(QPainter& painter, bool on)
{
    // Locked: the shackle sits in the body. Open: lifted, one leg free.
    QPainterPath shackle;
    if (on)
    {
        shackle.moveTo(8.0, 11.0);
        shackle.lineTo(8.0, 7.0);
        shackle.arcTo(QRectF(8.0, 3.0, 8.0, 8.0), 180.0, -180.0);
        shackle.lineTo(16.0, 11.0);
    }
    else
    {
        shackle.moveTo(8.0, 11.0);
        shackle.lineTo(8.0, 5.0);
        shackle.arcTo(QRectF(8.0, 1.0, 8.0, 8.0), 180.0, -180.0);
        shackle.lineTo(16.0, 7.0);
    }
    painter.drawPath(shackle);
    painter.drawRoundedRect(QRectF(5.0, 11.0, 14.0, 10.0), 1.5, 1.5);
    FillDot(painter, QPointF(12.0, 15.0), 1.5);
    painter.drawLine(QPointF(12.0, 15.0), QPointF(12.0, 18.0));
}

void DrawHamburger(QPainter& painter, bool)
{
    for (qreal y : {6.0, 12.0, 18.0})
        painter.drawLine(QPointF(4.0, y), QPointF(20.0, y));
}
} // namespace zorvpro::resgen
