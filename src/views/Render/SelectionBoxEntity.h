#pragma once

#include "views/Render/Entity.h"

#include <QColor>
#include <QPoint>

class QPainter;

namespace zorvpro::view
{

// The rubber-band rectangle of a selection drag: a dashed rectangle between
// two widget pixels, painted over the 3D scene. An end point of (0, 0)
// hides it.
class SelectionBoxEntity : public Entity
{
    Q_OBJECT
    Q_PROPERTY(QPoint startPt READ startPt WRITE setStartPt)
    Q_PROPERTY(QPoint endPt READ endPt WRITE setEndPt)
    Q_PROPERTY(QColor color READ color WRITE setColor)

public:
    explicit SelectionBoxEntity(const std::string& name = "Selection box");

    QPoint startPt() const { return m_start; }
    QPoint endPt() const { return m_end; }
    QColor color() const { return m_color; }
    // Every write redraws, even of the same value.
    void setStartPt(const QPoint& point);
    void setEndPt(const QPoint& point);
    void setColor(const QColor& color);

    void Paint(QPainter& painter) const;

    // Dash and gap, in pen widths.
    static constexpr double kDash = 12.0;
    static constexpr double kGap = 4.0;

private:
    QPoint m_start;
    QPoint m_end;
    QColor m_color;
};

} // namespace zorvpro::view
