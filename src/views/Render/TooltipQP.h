#pragma once

#include "views/Render/GeometryQP.h"

#include <QStringList>

namespace zorvpro::qpainter
{

// One boxed, multi-line text over the 3D scene, such as the coordinates
// shown next to a dragged handle.
class TooltipQP : public GeometryQP
{
public:
    TooltipQP() = default;
    ~TooltipQP() override = default;

    // Also puts the tooltip over the scene.
    void SetText(const QString& text);
    void SetStyle(const QString& family, int pointSize, const QColor& textColor,
                  const QColor& backgroundColor);
    const QColor& TextColor() const { return m_textColor; }
    const QColor& BackgroundColor() const { return m_backgroundColor; }
    // The top left of the text; the box reaches 3 pixels beyond it.
    void SetPosition(int x, int y);
    // With the flag the box never gets narrower than the widest text seen.
    void SetKeepWidestWidth(bool keep, int width);

    // Width of the widest line and the summed heights of the lines, inked pixels.
    QSize ComputeSize();
    // The box is 6 pixels wider than the text and as high as the lines plus
    // one pixel between lines and 5 more.
    void Draw(QPainter& painter) override;

    const QString& GetText() const { return m_text; }

private:
    QStringList Lines() const;

    QString m_family = QStringLiteral("Arial");
    QString m_text;
    double m_pointSize = 20.0;
    QColor m_textColor{255, 0, 255, 255};
    QColor m_backgroundColor;
    int m_x = 0;
    int m_y = 0;
    bool m_keepWidest = false;
    int m_widest = 0;
};

} // namespace zorvpro::qpainter
