#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/GridControl/VerticalRangeSliderWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{

// Every signal of the slider, in emission order.
class SignalLog
{
public:
    explicit SignalLog(VerticalRangeSliderWidget& slider)
    {
        using S = VerticalRangeSliderWidget;
        QObject::connect(&slider, &S::valuesChanged, [this](double l, double h) { Add("values", l, h); });
        QObject::connect(&slider, &S::lowValueChanged, [this](double l) { Add("low", l); });
        QObject::connect(&slider, &S::highValueChanged, [this](double h) { Add("high", h); });
        QObject::connect(&slider, &S::rangeChanged, [this](double a, double b) { Add("range", a, b); });
        QObject::connect(&slider, &S::clicked, [this] { entries.push_back("clicked"); });
    }

    std::vector<QString> Take() { return std::exchange(entries, {}); }
    std::vector<QString> entries;

private:
    void Add(const char* name, double a) { entries.push_back(QString("%1 %2").arg(name).arg(a)); }
    void Add(const char* name, double a, double b)
    {
        entries.push_back(QString("%1 %2 %3").arg(name).arg(a).arg(b));
    }
};

void Move(QWidget& widget, int y, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(10, y), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void Wheel(QWidget& widget, int delta)
{
    QWheelEvent wheel(QPointF(10, 100), QPointF(10, 100), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
}

using Strings = std::vector<QString>;

TEST(VerticalRangeSlider, ValuesStayInRangeAndSignalInOrder)
{
    VerticalRangeSliderWidget slider;
    SignalLog log(slider);
    slider.setFirstValue(-5);
    EXPECT_EQ(slider.lowValue(), 0.0);
    slider.setFirstValue(20);
    slider.setFirstValue(-5);
    slider.setFirstValue(-5);
    EXPECT_EQ(log.Take(), (Strings{"values 20 100", "low 20", "values 0 100", "low 0"}));

    slider.setFirstValue(20);
    slider.setSecondValue(95);
    log.Take();
    slider.shiftValues(10);
    EXPECT_EQ(log.Take(), (Strings{"values 25 95", "low 25", "values 25 100", "high 100"}));
    slider.shiftValues(-40);
    EXPECT_EQ(slider.lowValue(), 0.0);
    EXPECT_EQ(slider.highValue(), 75.0);

    slider.setFirstValue(60);
    slider.setSecondValue(80);
    log.Take();
    slider.setMaximum(50);
    EXPECT_EQ(log.Take(), (Strings{"values 60 50", "high 50", "values 50 50", "low 50", "range 0 50"}));
    slider.setMinimum(120);
    slider.setMaximum(-1);
    EXPECT_TRUE(log.Take().empty());
    slider.setMinimum(50);
    EXPECT_EQ(log.Take(), (Strings{"range 50 50"}));

    // Equal bounds put both handles at the bottom.
    slider.resize(40, 200);
    EXPECT_EQ(slider.handleRect(slider.lowValue()), QRect(0, 193, 30, 6));
    EXPECT_EQ(slider.handleRect(slider.highValue()), QRect(0, 193, 30, 6));
    EXPECT_EQ(slider.minimumSizeHint(), QSize(30, 14));
}

TEST(VerticalRangeSlider, MouseAndWheelMoveWholeSteps)
{
    VerticalRangeSliderWidget slider;
    slider.resize(40, 200);
    slider.setFirstValue(20);
    slider.setSecondValue(80);
    SignalLog log(slider);

    // Wheel: a notch is 3, nothing past the end.
    Wheel(slider, 120);
    EXPECT_EQ(slider.highValue(), 83.0);
    EXPECT_EQ(slider.lowValue(), 23.0);
    Wheel(slider, -240);
    EXPECT_EQ(slider.lowValue(), 17.0);
    EXPECT_EQ(slider.highValue(), 77.0);
    slider.setSecondValue(100);
    log.Take();
    Wheel(slider, 120);
    EXPECT_TRUE(log.Take().empty());
    slider.setSecondValue(80);
    slider.setFirstValue(20);

    // Dragging the high handle: whole numbers, never below the low handle.
    ASSERT_EQ(slider.handleRect(80), QRect(0, 39, 30, 6));
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 42));
    Move(slider, 56, Qt::LeftButton);
    EXPECT_EQ(slider.highValue(), 75.0);
    Move(slider, 190, Qt::LeftButton);
    EXPECT_EQ(slider.highValue(), 20.0);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 190));
    slider.setSecondValue(75);

    // Dragging beside the handles moves both, keeping their distance.
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 100));
    Move(slider, 80, Qt::LeftButton);
    EXPECT_EQ(slider.lowValue(), 30.0);
    EXPECT_EQ(slider.highValue(), 85.0);
    Move(slider, 79, Qt::LeftButton); // less than a step: kept for later
    EXPECT_EQ(slider.highValue(), 85.0);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 79));
    log.Take();

    // A click on a handle is a drag; a release without one is a click.
    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, slider.handleRect(30).center());
    EXPECT_TRUE(log.Take().empty());
    QTest::mouseClick(&slider, Qt::RightButton, Qt::NoModifier, QPoint(10, 100));
    EXPECT_EQ(log.Take(), (Strings{"clicked"}));

    slider.setEnabled(false);
    EXPECT_EQ(slider.rangeColor(), QColor(Qt::darkGray));
    slider.setEnabled(true);
    EXPECT_EQ(slider.rangeColor(), QColor(30, 144, 255));
}

TEST(SplRangeSlider, NineLevelLabelsAndTheColourScale)
{
    struct Case
    {
        double minimum;
        double maximum;
        std::vector<double> values;
    };
    const Case cases[] = {
        {36, 132, {132, 120, 108, 96, 84, 72, 60, 48, 36}},
        {80, 110, {110, 107, 104, 101, 98, 95, 92, 89, 86}},
    };
    SPLVerticalRangeSliderWidget slider;
    slider.resize(40, 210);
    for (const Case& c : cases)
    {
        slider.setMinimum(-1000);
        slider.setMaximum(c.maximum);
        slider.setMinimum(c.minimum);
        slider.setFirstValue(c.minimum + (c.maximum - c.minimum) / 2);
        slider.buildLabels();
        ASSERT_EQ(slider.labels().size(), 9u);
        for (std::size_t k = 0; k < 9; ++k)
        {
            EXPECT_EQ(slider.labels()[k].value, c.values[k]);
            EXPECT_EQ(slider.labels()[k].text, QString::number(c.values[k]));
        }
        EXPECT_EQ(slider.labels().front().y, 1.0);
        EXPECT_FALSE(slider.labels().front().belowLowHandle);
        EXPECT_TRUE(slider.labels()[8].belowLowHandle);
        EXPECT_EQ(slider.pixelToValue(0), c.maximum);
        EXPECT_EQ(slider.pixelToValue(1), c.maximum);
        EXPECT_EQ(slider.pixelToValue(198), c.minimum);
        EXPECT_EQ(slider.pixelToValue(205), c.minimum);
    }
}
} // namespace
} // namespace zorvpro
