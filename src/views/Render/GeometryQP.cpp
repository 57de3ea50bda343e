#include "views/Render/GeometryQP.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace zorvpro::qpainter
{

void GeometryQP::Draw(QPainter& painter)
{
    if (m_callback)
        m_callback(painter);
}

QFont PaintFont(const QString& family, double pointSize)
{
    QFont font(family);
    const int size = static_cast<int>(pointSize);
    // Qt refuses sizes below 1 with a warning; keep its default then.
    if (size > 0)
        font.setPointSize(size);
    return font;
}

QSize MeasureText(const QString& family, double pointSize, const QString& text, bool tight)
{
    const QFontMetrics metrics(PaintFont(family, pointSize));
    if (tight)
        return metrics.tightBoundingRect(text).size();
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

} // namespace zorvpro::qpainter
