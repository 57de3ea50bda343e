#include "views/Render/TextQP.h"

#include <QPainter>

namespace zorvpro::qpainter
{

QColor OppositeColor(const QColor& color)
{
    return QColor((color.red() + 128) % 256, (color.green() + 128) % 256, (color.blue() + 128) % 256, 255);
}

void TextQP::SetStyle(const QString& family, double pointSize, const QColor& color, double opacity,
                      bool background)
{
    m_family = family;
    m_pointSize = pointSize;
    m_color = color;
    m_opacity = opacity;
    m_background = background;
}

void TextQP::AddText(int x, int y, const QString& text)
{
    m_items.push_back({m_family, text, m_pointSize, m_opacity, m_color, x, y, m_background});
}

void TextQP::Draw(QPainter& painter)
{
    // Pen, font and opacity stay with this drawable, not the ones drawn after it.
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Item& item : m_items)
    {
        if (item.background)
        {
            const QSize size = MeasureText(item.family, item.pointSize, item.text, false);
            painter.setPen(OppositeColor(item.color));
            painter.drawRect(item.x, item.y - size.height(), size.width(), size.height());
        }
        painter.setPen(item.color);
        painter.setFont(PaintFont(item.family, item.pointSize));
        painter.setOpacity(item.opacity);
        painter.drawText(item.x, item.y, item.text);
    }
    painter.restore();
}

} // namespace zorvpro::qpainter
