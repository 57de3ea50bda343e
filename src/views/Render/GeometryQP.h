#pragma once

#include "views/Render/Geometry.h"

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace zorvpro::qpainter
{

// A drawable painted with QPainter, under the 3D scene or, with the over
// flag, on top of it. It draws through a callback its owner sets.
class GeometryQP : public view::Geometry
{
public:
    using DrawCallback = std::function<void(QPainter&)>;

    GeometryQP() = default;
    ~GeometryQP() override = default;

    void Release() override {}
    void Upload() override {}
    // Calls the callback; nothing without one.
    virtual void Draw(QPainter& painter);

    bool IsOver() const { return m_over; }
    void SetOver(bool over) { m_over = over; }
    void SetDrawCallback(DrawCallback callback) { m_callback = std::move(callback); }

private:
    bool m_over = false;
    DrawCallback m_callback;
};

// The size in pixels of a text in the family at the point size truncated to
// a whole number; `tight` measures the inked pixels, otherwise the advance
// width and the font's line height.
QSize MeasureText(const QString& family, double pointSize, const QString& text, bool tight);

// The font used for painted text: the family at the truncated point size.
QFont PaintFont(const QString& family, double pointSize);

} // namespace zorvpro::qpainter
