#pragma once

#include <QColor>
#include <cstdint>

namespace zorvpro
{
// Spreads the hues between the primary and secondary colours so that equal steps of a value look
// like equal steps of colour; each sixth of the hue circle keeps its ends.
double WarpHue(double hue);

// Channel-wise blend of two colours (t 0 gives `from`, 1 gives `to`), opaque.
QColor BlendColors(const QColor& from, const QColor& to, double t);

// The level range that the coverage-map colour scale spans: blue at low, red at high, through
// cyan, green and yellow; below low it fades to dark purple over 6 dB, above high to near-white.
class SplColorRange
{
public:
    static constexpr uint32_t kWarpedHueScale = 3;
    static constexpr double kFadeWidth = 6.0;

    // A range given upside down is logged and stored the right way up.
    void Set(double low, double high);
    QColor ColorOf(double value) const;

    uint32_t ScaleKind() const { return m_scaleKind; }
    double Low() const { return m_low; }
    double High() const { return m_high; }

private:
    uint32_t m_scaleKind = kWarpedHueScale;
    double m_low = 80.0;
    double m_high = 110.0;
};
} // namespace zorvpro
