#pragma once

#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/Tabs/BaseComponents/TranslatedOptions.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>

class QFrame;

namespace zorvpro
{
class MyPropertyButton;
class SPLVerticalRangeSliderWidget;

// The speaker tab's coverage-map settings: bandwidth, band, map resolution
// and the SPL range of the colour scale. It turns the texts its combo boxes
// show into the model values its events carry (band code, frequency in Hz,
// resolution in metres) and back, keeps the lower level below the upper one
// and drives the SPL range slider once the tab hands it one.
class SplPropertiesControl : public BoundPropertiesGrid
{
public:
    SplPropertiesControl();
    ~SplPropertiesControl() override;

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void createProperties() override;
    void layoutProperties() override;
    void updateProperty(const QString& name, const QVariant& value) override;
    void themeChanged(const int& theme) override;

    // The slider stays the tab's; the panel only drives it.
    void setRangeSlider(SPLVerticalRangeSliderWidget* slider);
    void setColorMap(std::function<QColor(double)> colorMap);
    void setSliderValues(double low, double high);
    // Sets the upper level without a range check and tells the listener.
    void setMaxSpl(double value);
    // Sets the lower level without a range check and tells the listener.
    void setMinSpl(double value);
    // Shows a range from the adapter; a low not below high becomes high - 1.
    void setSplRange(double low, double high);
    // The band remembered for the next bandwidth change; empty after a project is cleared.
    void setFrequencyLabel(const QString& label);

    double minimumSpl() const { return minimum_; }
    double maximumSpl() const { return maximum_; }
    std::int32_t bandwidth() const { return bandwidth_; }
    MyPropertyButton* adjustRangeButton() const { return adjustButton_; }

private:
    void onAdjustRangeClicked();
    QString bandwidthText(std::int32_t code) const;
    void setFrequencyOptions(std::int32_t code);
    // Shows, and announces, the band of the current bandwidth nearest to the
    // frequency in use.
    void showNearestBand();
    double propertyNumber(const QString& name) const;

    double minimum_ = 36.0;
    double maximum_ = 132.0;
    std::int32_t bandwidth_ = -2;
    QPointer<SPLVerticalRangeSliderWidget> slider_;
    QVariant frequencyLabel_;
    // The frequency in use (Hz), kept while a band range shows none; 0 when unknown.
    double frequency_ = 0.0;
    QString bandwidthName_;
    QFrame* modeSeparator_ = nullptr;
    QFrame* rangeSeparator_ = nullptr;
    MyPropertyButton* adjustButton_ = nullptr;
    TranslatedOptions bandwidthOptions_;
    TranslatedOptions resolutionOptions_;
};
} // namespace zorvpro
