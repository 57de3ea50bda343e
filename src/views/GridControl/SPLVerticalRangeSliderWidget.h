#pragma once

#include "views/GridControl/VerticalRangeSliderWidget.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <vector>

namespace zorvpro
{
// The range slider of the SPL panel: draws the SPL colour scale over its
// whole range with nine level labels, so that the handles show the coloured
// range of the coverage maps.
class SPLVerticalRangeSliderWidget : public VerticalRangeSliderWidget
{
    Q_OBJECT

public:
    struct Label
    {
        bool belowLowHandle;
        double y;
        double value;
        QString text;
    };

    SPLVerticalRangeSliderWidget();

    // From a level in dB to its colour; until set, the scale is magenta.
    void setColorFunction(std::function<QColor(double)> function) { colorFunction_ = std::move(function); }
    // The level of a pixel row: the maximum at the top, the minimum from ten
    // rows above the bottom down.
    double pixelToValue(double y) const;
    void buildLabels();
    const std::vector<Label>& labels() const { return labels_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawColorScale(QPainter& painter);

    QFont font_;
    std::vector<Label> labels_;
    std::function<QColor(double)> colorFunction_;
};
} // namespace zorvpro
