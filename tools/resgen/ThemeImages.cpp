#include "tools/resgen/ThemeImages.h"

#include <QPainter>

namespace zorvpro::resgen
{
namespace
{
// Long enough to catch the eye on a 25 pixel handle, thin enough for a 4 pixel splitter.
constexpr int kGripLength = 25;
constexpr int kGripThickness = 3;
constexpr int kGripDots = 5;

QColor GripColour(bool lightTheme)
{
    // Grey on the white (light) or black (dark) splitter background.
    return lightTheme ? QColor("#aaaaaa") : QColor("#575757");
}

QImage Blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A row of dots along the grip's length.
QImage DrawGrip(bool lightTheme, bool horizontalBar)
{
    const int width = horizontalBar ? kGripLength : kGripThickness;
    const int height = horizontalBar ? kGripThickness : kGripLength;
    QImage image = Blank(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(GripColour(lightTheme));
    const qreal step = static_cast<qreal>(kGripLength) / kGripDots;
    const qreal radius = kGripThickness / 2.0;
    for (int dot = 0; dot < kGripDots; ++dot)
    {
        const qreal along = step * (dot + 0.5);
        const QPointF centre = horizontalBar ? QPointF(along, radius) : QPointF(radius, along);
        painter.drawEllipse(centre, radius, radius);
    }
    return image;
}
} // namespace

QImage DrawSplitterVertical(bool lightTheme)
{
    return DrawGrip(lightTheme, true);
}

QImage DrawSplitterHorizontal(bool lightTheme)
{
    return DrawGrip(lightTheme, false);
}

QImage DrawComboArrow()
{
    QImage image = Blank(12, 8);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // Mid grey reads on the light (#e0e0e0) and the dark (#3b3b3b) field alike.
    painter.setBrush(QColor("#808080"));
    const QPointF chevron[] = {{1.0, 1.5}, {11.0, 1.5}, {6.0, 7.0}};
    painter.drawPolygon(chevron, 3);
    return image;
}

std::vector<ThemeImage> ThemeImages()
{
    return {
        {"Resources/Icons/splitter_vert_light.png", DrawSplitterVertical(true)},
        {"Resources/Icons/splitter_vert_dark.png", DrawSplitterVertical(false)},
        {"Resources/Icons/splitter_horiz_light.png", DrawSplitterHorizontal(true)},
        {"Resources/Icons/splitter_horiz_dark.png", DrawSplitterHorizontal(false)},
        {"Resources/Icons/ComboBox_DropDown_Arrow.png", DrawComboArrow()},
    };
}
} // namespace zorvpro::resgen
