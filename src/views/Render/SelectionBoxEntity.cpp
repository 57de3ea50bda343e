#include "views/Render/SelectionBoxEntity.h"

#include "views/Render/GeometryQP.h"

#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPointer>

namespace zorvpro::view
{

SelectionBoxEntity::SelectionBoxEntity(const std::string& name) : Entity(name)
{
    auto box = std::make_shared<qpainter::GeometryQP>();
    box->SetOver(true);
    // The drawable may outlive the entity in a renderer's list: draw nothing then.
    QPointer<SelectionBoxEntity> self(this);
    box->SetDrawCallback(
        [self](QPainter& painter)
        {
            if (self)
                self->Paint(painter);
        });
    AddGeometry(box);
}

void SelectionBoxEntity::setStartPt(const QPoint& point)
{
    m_start = point;
    MarkDirty();
}

void SelectionBoxEntity::setEndPt(const QPoint& point)
{
    m_end = point;
    MarkDirty();
}

void SelectionBoxEntity::setColor(const QColor& color)
{
    m_color = color;
    MarkDirty();
}

void SelectionBoxEntity::Paint(QPainter& painter) const
{
    if (m_end.isNull())
        return;
    QPen pen(m_color);
    pen.setDashPattern({kDash, kGap});
    painter.setPen(pen);
    const int sx = m_start.x(), sy = m_start.y(), ex = m_end.x(), ey = m_end.y();
    const QLine edges[] = {{sx, sy, ex, sy}, {ex, sy, ex, ey}, {sx, ey, ex, ey}, {sx, sy, sx, ey}};
    painter.drawLines(edges, 4);
}

} // namespace zorvpro::view
