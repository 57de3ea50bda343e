#pragma once

#include "views/Render/GeometryQP.h"

namespace zorvpro::qpainter
{

// Text labels at widget pixel positions (baseline start), each drawn in the
// style current when it was added.
class TextQP : public GeometryQP
{
public:
    struct Item
    {
        QString family;
        QString text;
        double pointSize = 0.0;
        double opacity = 1.0;
        QColor color;
        int x = 0;
        int y = 0;
        bool background = false;
    };

    TextQP() = default;
    ~TextQP() override = default;

    void SetStyle(const QString& family, double pointSize, const QColor& color, double opacity,
                  bool background);
    void AddText(int x, int y, const QString& text);
    // An item with the background flag also gets a frame in the colour
    // opposite to its text colour.
    void Draw(QPainter& painter) override;

    const std::vector<Item>& GetItems() const { return m_items; }

private:
    QString m_family = QStringLiteral("Arial");
    double m_pointSize = 20.0;
    double m_opacity = 0.7;
    QColor m_color{255, 0, 255, 255};
    bool m_background = false;
    std::vector<Item> m_items;
};

// The frame colour of a text colour: each channel moved by half its range.
QColor OppositeColor(const QColor& color);

} // namespace zorvpro::qpainter
