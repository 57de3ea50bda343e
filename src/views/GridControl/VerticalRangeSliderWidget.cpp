#include "views/GridControl/VerticalRangeSliderWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace zorvpro
{
VerticalRangeSliderWidget::VerticalRangeSliderWidget(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

QSize VerticalRangeSliderWidget::minimumSizeHint() const
{
    return QSize(handleLength_, 2 * (handleHeight_ + margin_));
}

QRectF VerticalRangeSliderWidget::barRect() const
{
    return QRectF((width() - barWidth_) / 2.0, 0.0, barWidth_, height());
}

QRect VerticalRangeSliderWidget::handleRect(double value) const
{
    const double span = maximum_ - minimum_;
    const double t = span == 0.0 ? 0.0 : 1.0 / span;
    const double y = margin_ + (height() - 2 * margin_ - handleHeight_) * (1.0 - (value - minimum_) * t);
    return QRect(0, static_cast<int>(y), handleLength_, handleHeight_);
}

double VerticalRangeSliderWidget::clamped(double value) const
{
    return value < minimum_ ? minimum_ : std::min(maximum_, value);
}

void VerticalRangeSliderWidget::setFirstValue(double value)
{
    const double v = clamped(value);
    if (v == low_)
        return;
    low_ = v;
    emit valuesChanged(low_, high_);
    emit lowValueChanged(low_);
    update();
}

void VerticalRangeSliderWidget::setSecondValue(double value)
{
    const double v = clamped(value);
    if (v == high_)
        return;
    high_ = v;
    emit valuesChanged(low_, high_);
    emit highValueChanged(high_);
    update();
}

void VerticalRangeSliderWidget::shiftValues(double increment)
{
    const double d = minimum_ - low_ > increment ? minimum_ - low_ : std::min(maximum_ - high_, increment);
    setFirstValue(low_ + d);
    setSecondValue(high_ + d);
}

void VerticalRangeSliderWidget::setMinimum(double value)
{
    if (value > maximum_)
        return;
    minimum_ = value;
    if (value > low_)
        setFirstValue(value);
    if (minimum_ > high_)
        setSecondValue(minimum_);
    emit rangeChanged(minimum_, maximum_);
    update();
}

void VerticalRangeSliderWidget::setMaximum(double value)
{
    if (value < minimum_)
        return;
    maximum_ = value;
    if (high_ > value)
        setSecondValue(value);
    if (low_ > maximum_)
        setFirstValue(maximum_);
    emit rangeChanged(minimum_, maximum_);
    update();
}

void VerticalRangeSliderWidget::setHandleEdgeDimensions(int length, int height)
{
    handleLength_ = length;
    handleHeight_ = height;
}

void VerticalRangeSliderWidget::setSliderBarHeight(int value)
{
    barWidth_ = value;
}

void VerticalRangeSliderWidget::setHandleHover(bool lowHot, bool highHot)
{
    lowHot_ = lowHot;
    highHot_ = highHot;
    if (cursor().shape() != Qt::ClosedHandCursor)
        setCursor(lowHot || highHot ? Qt::OpenHandCursor : Qt::ArrowCursor);
    update();
}

void VerticalRangeSliderWidget::mousePressEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->pos();
    const bool onHigh = handleRect(high_).contains(pos);
    draggingHigh_ = onHigh;
    const bool onLow = !onHigh && handleRect(low_).contains(pos);
    draggingLow_ = onLow;
    setCursor(Qt::ClosedHandCursor);
    if (onLow)
        grabY_ = static_cast<int>(pos.y() - (handleRect(low_).y() + handleHeight_ * 0.5));
    else if (onHigh)
        grabY_ = static_cast<int>(pos.y() - (handleRect(high_).y() + handleHeight_ * 0.5));
    else
    {
        draggingBoth_ = true;
        grabY_ = pos.y();
    }
}

void VerticalRangeSliderWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->pos();
    const bool highHot = handleRect(high_).contains(pos);
    const bool lowHot = !highHot && handleRect(low_).contains(pos);
    setHandleHover(lowHot, highHot);
    if (!(event->buttons() & Qt::LeftButton))
        return;

    const double y = pos.y() - grabY_;
    const double range = maximum_ - minimum_;
    const double travel = height() - 2 * margin_ - handleHeight_;
    if (draggingLow_)
    {
        // A handle stops at the other one; dragged values are whole numbers.
        const double value =
            y + handleHeight_ * 0.5 >= handleRect(high_).y()
                ? std::trunc(range - ((y - margin_) - handleHeight_ / 5) / travel * range + minimum_)
                : std::trunc(high_);
        setFirstValue(value);
    }
    else if (draggingHigh_)
    {
        const double value =
            handleRect(low_).y() + handleHeight_ * 1.5 >= y
                ? std::trunc(range - ((y - margin_) - handleHeight_ / 5 - handleHeight_) / travel * range +
                             minimum_)
                : std::trunc(low_);
        setSecondValue(value);
    }
    else
    {
        const double d = grabY_ - pos.y();
        const double increment = (range * d == 0.0 || travel == 0.0) ? 0.0 : range * d / travel;
        const double n = std::trunc(increment);
        if ((n < 0 ? low_ : high_) != (n < 0 ? minimum_ : maximum_))
            shiftValues(n);
        // Smaller moves accumulate until they make a whole step.
        if (std::fabs(n) >= 1.0)
            grabY_ = pos.y();
    }
}

void VerticalRangeSliderWidget::mouseReleaseEvent(QMouseEvent*)
{
    if (!draggingLow_ && !draggingHigh_ && !draggingBoth_)
        emit clicked();
    draggingLow_ = draggingHigh_ = draggingBoth_ = false;
    setCursor(Qt::OpenHandCursor);
}

void VerticalRangeSliderWidget::mouseDoubleClickEvent(QMouseEvent*)
{
    emit doubleClicked();
}

void VerticalRangeSliderWidget::wheelEvent(QWheelEvent* event)
{
    // 120 eighths of a degree per notch: one notch is 3.
    const double n = std::trunc(event->angleDelta().y() / 40.0);
    if ((n < 0 ? low_ : high_) != (n < 0 ? minimum_ : maximum_))
        shiftValues(n);
}

void VerticalRangeSliderWidget::leaveEvent(QEvent*)
{
    setHandleHover(false, false);
    setCursor(Qt::ArrowCursor);
}

void VerticalRangeSliderWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
    {
        rangeColor_ = isEnabled() ? enabledRangeColor_ : disabledRangeColor_;
        update();
    }
    QWidget::changeEvent(event);
}

void VerticalRangeSliderWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setBrush(QColor(208, 208, 208));
    painter.setPen(QPen(QBrush(Qt::gray), 0.8, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setRenderHint(QPainter::Qt4CompatiblePainting);
    const QRectF bar = barRect();
    painter.drawRoundedRect(bar, 1.0, 1.0);

    painter.setBrush(QColor(250, 250, 250));
    painter.setPen(QPen(QBrush(Qt::darkGray), 0.5));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRect lowHandle = handleRect(low_);
    const QRect highHandle = handleRect(high_);
    painter.drawRoundedRect(lowHandle, 2.0, 2.0);
    painter.drawRoundedRect(highHandle, 2.0, 2.0);

    painter.setRenderHint(QPainter::Antialiasing, false);
    QRectF range = bar;
    range.setTop(highHandle.bottom() + 0.5);
    range.setBottom(lowHandle.top() - 0.5);
    painter.fillRect(range, rangeColor_);
}
} // namespace zorvpro
