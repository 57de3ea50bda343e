#include "SplTexel.h"

#include <algorithm>
#include <cstdint>

namespace zorvpro::view
{
double SplMapPosition(double value, double min, double max)
{
    const double t = std::clamp((value - min) / (max - min), 0.0, 1.0);
    return t * 0.9970703125 + 0.00146484375;
}

QColor PackSplTexel(double value, double min, double max)
{
    const auto packed = static_cast<uint64_t>(SplMapPosition(value, min, max) * 4294967295.0 + 0.5);
    return QColor(int((packed >> 24) & 0xFF), int((packed >> 16) & 0xFF), int((packed >> 8) & 0xFF),
                  int(packed & 0xFF));
}

double UnpackSplTexel(QRgb rgba)
{
    // 255 * 2^24, 2^16, 2^8 and 1, each over 2^32 - 1: the shader's decode constants.
    return qRed(rgba) / 255.0 * 0.99609375023192114895 + qGreen(rgba) / 255.0 * 0.0038909912118434419881 +
           qBlue(rgba) / 255.0 * 1.5199184421263445266e-5 + qAlpha(rgba) / 255.0 * 5.937181414556033307e-8;
}

QImage BuildColorMapImage(double min, double max, const std::function<QColor(double)>& color)
{
    if (!(min < max) || !color)
        return {};
    QImage image(kColorMapWidth, 1, QImage::Format_ARGB32);
    for (int x = 1; x <= kColorMapWidth - 2; ++x)
        image.setPixel(x, 0, color(min + (x / 1022.0) * (max - min)).rgba());
    image.setPixel(0, 0, image.pixel(1, 0));
    image.setPixel(kColorMapWidth - 1, 0, image.pixel(kColorMapWidth - 2, 0));
    return image;
}
} // namespace zorvpro::view
