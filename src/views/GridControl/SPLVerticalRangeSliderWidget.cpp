#include "views/GridControl/SPLVerticalRangeSliderWidget.h"

#include "core/math/Compare.h"

#include <QPainter>
#include <cmath>

namespace zorvpro
{
namespace
{
constexpr int kLabelCount = 9;
constexpr int kLabelWidth = 22;
constexpr int kLabelHeight = 10;
} // namespace

SPLVerticalRangeSliderWidget::SPLVerticalRangeSliderWidget()
    : VerticalRangeSliderWidget(nullptr), font_(QStringLiteral("Gotham Bold"), 8, 75, false)
{
}

double SPLVerticalRangeSliderWidget::pixelToValue(double y) const
{
    return math::InterpolateClamped(margin(), maximum(), height() - 10 - 2 * margin(), minimum(), y);
}

void SPLVerticalRangeSliderWidget::buildLabels()
{
    labels_.clear();
    const double step = std::trunc((maximum() - minimum()) * 0.125);
    const int lowHandleY = handleRect(lowValue()).y();
    for (int k = 0; k < kLabelCount; ++k)
    {
        const double value = maximum() - k * step;
        const double y =
            math::InterpolateClamped(minimum(), height() - 10 - 2 * margin(), maximum(), margin(), value);
        const bool below = y - handleHeight() + margin() >= lowHandleY;
        labels_.push_back({below, y, value, QStringLiteral("%1").arg(value, 0, 'g')});
    }
}

void SPLVerticalRangeSliderWidget::drawColorScale(QPainter& painter)
{
    const QRectF bar = barRect();
    const int left = static_cast<int>(bar.left());
    const int right = static_cast<int>(bar.right());
    for (int y = margin(); y < height() - margin(); ++y)
    {
        const QColor color = colorFunction_ ? colorFunction_(pixelToValue(y)) : QColor(255, 0, 255);
        painter.setPen(QPen(color, 1.0));
        painter.drawLine(left, y, right, y);
    }
    painter.setPen(QPen(QBrush(Qt::gray), 0.8));
    painter.setBrush(Qt::transparent);
    painter.setRenderHint(QPainter::Qt4CompatiblePainting);
    painter.drawRoundedRect(bar, 1.0, 1.0);
}

void SPLVerticalRangeSliderWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    buildLabels();
    drawColorScale(painter);

    painter.setPen(QPen(QBrush(Qt::darkGray), 0.5));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor hot(250, 250, 250);
    const QColor cold(215, 215, 215);
    painter.setBrush(isLowHot() || isDraggingLow() ? hot : cold);
    painter.drawRoundedRect(handleRect(lowValue()), 2.0, 2.0);
    painter.setBrush(isHighHot() || isDraggingHigh() ? hot : cold);
    painter.drawRoundedRect(handleRect(highValue()), 2.0, 2.0);

    painter.setFont(font_);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Label& label : labels_)
    {
        painter.setPen(label.belowLowHandle ? Qt::white : Qt::black);
        painter.drawText(QRect(0, static_cast<int>(label.y), kLabelWidth, kLabelHeight), Qt::AlignCenter,
                         label.text);
    }
}
} // namespace zorvpro
