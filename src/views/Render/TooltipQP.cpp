#include "views/Render/TooltipQP.h"

#include <QPainter>
#include <algorithm>

namespace zorvpro::qpainter
{

void TooltipQP::SetText(const QString& text)
{
    m_text = text;
    SetOver(true);
}

void TooltipQP::SetStyle(const QString& family, int pointSize, const QColor& textColor,
                         const QColor& backgroundColor)
{
    m_family = family;
    m_pointSize = pointSize;
    m_textColor = textColor;
    m_backgroundColor = backgroundColor;
}

void TooltipQP::SetPosition(int x, int y)
{
    m_x = x;
    m_y = y;
}

void TooltipQP::SetKeepWidestWidth(bool keep, int width)
{
    m_keepWidest = keep;
    m_widest = width;
}

QStringList TooltipQP::Lines() const
{
    // Empty lines are kept: an empty text is one empty line.
    return m_text.split(QLatin1Char('\n'));
}

QSize TooltipQP::ComputeSize()
{
    int width = 0;
    int height = 0;
    for (const QString& line : Lines())
    {
        const QSize size = MeasureText(m_family, m_pointSize, line, true);
        width = std::max(width, size.width());
        height += size.height();
    }
    if (m_keepWidest)
    {
        m_widest = std::max(m_widest, width);
        width = m_widest;
    }
    return {width, height};
}

void TooltipQP::Draw(QPainter& painter)
{
    painter.save();
    const QStringList lines = Lines();
    painter.setFont(PaintFont(m_family, m_pointSize));
    const QSize size = ComputeSize();
    const QRect box(m_x - 3, m_y - 3, size.width() + 6, size.height() + lines.size() + 5);
    if (m_backgroundColor.isValid())
        painter.fillRect(box, m_backgroundColor);
    painter.setPen(m_textColor);
    painter.drawRect(box);
    int baseline = m_y;
    for (const QString& line : lines)
    {
        baseline += MeasureText(m_family, m_pointSize, line, true).height();
        painter.drawText(m_x, baseline, line);
        baseline += 1;
    }
    painter.restore();
}

} // namespace zorvpro::qpainter
