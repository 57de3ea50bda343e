#include "tools/resgen/IconSets.h"

#include <QPainter>

namespace zorvpro::resgen
{
namespace
{
constexpr int kIconSize = 24;
constexpr qreal kStrokeWidth = 1.8;
constexpr qreal kDisabledOpacity = 0.4;

const std::vector<Mode> kButtonModes = {Mode::Normal, Mode::Active, Mode::Disabled};
const std::vector<Mode> kRowModes = {Mode::Normal, Mode::Active, Mode::Disabled, Mode::Selected};
const std::vector<bool> kOffOnly = {false};
const std::vector<bool> kOnOff = {true, false};

// Glyph colours. Selected icons sit on the selected row colour of their
// theme (dark grey in the light theme, light grey in the dark one), so
// they take the opposite glyph colour.
QColor GlyphColour(bool lightTheme, Mode mode)
{
    const bool darkGlyph = (mode == Mode::Selected) ? !lightTheme : lightTheme;
    return darkGlyph ? QColor("#242424") : QColor("#F2F2F2");
}

QColor HoverColour(bool lightTheme)
{
    return lightTheme ? QColor(0, 0, 0, 30) : QColor(255, 255, 255, 46);
}

QImage BlankImage()
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage RenderGlyph(const IconSet& set, const QColor& colour, bool on)
{
    QImage glyph = BlankImage();
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, kStrokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    set.draw(painter, on);
    return glyph;
}
} // namespace

const std::vector<IconSet>& IconSets()
{
    static const std::vector<IconSet> sets = {
        {"AddSurface", DrawAddSurface, kButtonModes, kOffOnly},
        {"DuplicateSurface", DrawDuplicateSurface, kButtonModes, kOffOnly},
        {"AddSpeaker", DrawAddSpeaker, kButtonModes, kOffOnly},
        {"DuplicateSpeaker", DrawDuplicateSpeaker, kButtonModes, kOffOnly},
        {"Undo", DrawUndo, kButtonModes, kOffOnly},
        {"Redo", DrawRedo, kButtonModes, kOffOnly},
        {"RemoveEntity", DrawRemoveEntity, kButtonModes, kOffOnly},
        {"LinkViews", DrawLinkViews, kButtonModes, kOnOff},
        {"ZoomToFit", DrawZoomToFit, kButtonModes, kOffOnly},
        {"ColorPicker", DrawColorPicker, kRowModes, kOffOnly},
        {"TransparentEntity", DrawTransparentEntity, kRowModes, kOnOff},
        {"VisibleEntity", DrawVisibleEntity, kRowModes, kOnOff},
        {"MuteSpeaker", DrawMuteSpeaker, kRowModes, kOnOff},
        {"LockEntity", DrawLockEntity, kRowModes, kOnOff},
        {"Hamburger", DrawHamburger, kButtonModes, kOffOnly},
    };
    return sets;
}

const char* ModeName(Mode mode)
{
    switch (mode)
    {
    case Mode::Normal:
        return "Normal";
    case Mode::Active:
        return "Active";
    case Mode::Disabled:
        return "Disabled";
    case Mode::Selected:
        return "Selected";
    }
    return "";
}

QImage RenderIcon(const IconSet& set, bool lightTheme, Mode mode, bool on)
{
    const QImage glyph = RenderGlyph(set, GlyphColour(lightTheme, mode), on);
    QImage image = BlankImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (mode == Mode::Active)
    {
        // Hover: a soft tile behind the glyph.
        painter.setPen(Qt::NoPen);
        painter.setBrush(HoverColour(lightTheme));
        painter.drawRoundedRect(QRectF(0.5, 0.5, kIconSize - 1.0, kIconSize - 1.0), 4.0, 4.0);
    }
    if (mode == Mode::Disabled)
        painter.setOpacity(kDisabledOpacity);
    painter.drawImage(0, 0, glyph);
    return image;
}

QString IconFilePath(const IconSet& set, bool lightTheme, Mode mode, bool on)
{
    return QStringLiteral("Resources/Icons/%1_%2_%3_%4.png")
        .arg(QLatin1String(set.name), QLatin1String(lightTheme ? "Light" : "Dark"),
             QLatin1String(ModeName(mode)), QLatin1String(on ? "On" : "Off"));
}
} // namespace zorvpro::resgen
