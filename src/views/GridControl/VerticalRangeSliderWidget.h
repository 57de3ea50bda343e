#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

namespace zorvpro
{
// A vertical slider with two handles selecting a low and a high value inside
// a range (the maximum at the top). Dragging beside or between the handles
// moves both values together, and so does the mouse wheel.
class VerticalRangeSliderWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VerticalRangeSliderWidget(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }
    double lowValue() const { return low_; }
    double highValue() const { return high_; }
    int margin() const { return margin_; }
    int handleLength() const { return handleLength_; }
    int handleHeight() const { return handleHeight_; }
    int barWidth() const { return barWidth_; }
    QColor rangeColor() const { return rangeColor_; }
    QRectF barRect() const;
    // Where the handle of a value is drawn.
    QRect handleRect(double value) const;

signals:
    void lowValueChanged(double low);
    void highValueChanged(double high);
    void valuesChanged(double low, double high);
    void rangeChanged(double minimum, double maximum);
    void clicked();
    void doubleClicked();

public slots:
    void setFirstValue(double value);
    void setSecondValue(double value);
    // Moves both values by the same amount, as far as the range allows.
    void shiftValues(double increment);
    void setMinimum(double value);
    void setMaximum(double value);
    void setHandleEdgeDimensions(int length, int height);
    void setSliderBarHeight(int value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

    bool isLowHot() const { return lowHot_; }
    bool isHighHot() const { return highHot_; }
    bool isDraggingLow() const { return draggingLow_; }
    bool isDraggingHigh() const { return draggingHigh_; }

private:
    void setHandleHover(bool lowHot, bool highHot);
    double clamped(double value) const;

    int margin_ = 1;
    double minimum_ = 0.0;
    double maximum_ = 100.0;
    double low_ = 0.0;
    double high_ = 100.0;
    bool lowHot_ = false;
    bool highHot_ = false;
    bool draggingLow_ = false;
    bool draggingHigh_ = false;
    bool draggingBoth_ = false;
    int grabY_ = 0;
    QColor enabledRangeColor_{30, 144, 255};
    QColor disabledRangeColor_{Qt::darkGray};
    QColor rangeColor_{30, 144, 255};
    int handleLength_ = 30;
    int handleHeight_ = 6;
    int barWidth_ = 5;
};
} // namespace zorvpro
