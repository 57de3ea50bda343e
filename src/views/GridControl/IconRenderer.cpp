#include "views/GridControl/IconRenderer.h"

#include "Resources/Icons/IconResources.h"
#include "core/Logger/OmbraxLogger.h"

#include <QAbstractButton>
#include <QFile>
#include <QPixmap>
#include <QPixmapCache>
#include <map>
#include <stdexcept>

namespace zorvpro
{
namespace
{
using NameTable = std::map<int, QString>;

// The parts of an icon file name. A number missing from a table reads as an
// empty part (and leaves an empty entry behind).
NameTable& IconNames()
{
    static NameTable names = {
        {0, "AddSurface_"},
        {1, "DuplicateSurface_"},
        {2, "AddSpeaker_"},
        {3, "DuplicateSpeaker_"},
        {4, "Undo_"},
        {5, "Redo_"},
        {6, "RemoveEntity_"},
        {7, "LinkViews_"},
        {8, "ZoomToFit_"},
        {9, "ColorPicker_"},
        {10, "TransparentEntity_"},
        {11, "VisibleEntity_"},
        {12, "MuteSpeaker_"},
        {13, "LockEntity_"},
        {14, "Hamburger_"},
    };
    return names;
}

NameTable& ThemeNames()
{
    static NameTable names = {{1, "Light_"}, {0, "Dark_"}};
    return names;
}

NameTable& ModeNames()
{
    static NameTable names = {{QIcon::Normal, "Normal_"},
                              {QIcon::Disabled, "Disabled_"},
                              {QIcon::Active, "Active_"},
                              {QIcon::Selected, "Selected_"}};
    return names;
}

NameTable& StateNames()
{
    static NameTable names = {{QIcon::On, "On.png"}, {QIcon::Off, "Off.png"}};
    return names;
}

[[noreturn]] void Fail(const std::string& message, int line)
{
    const std::logic_error error(message);
    OmbraxLogger::LogException(error, __FILE__, "addFile", line);
    throw error;
}

QSize FirstNormalOffSize(const QIcon& icon)
{
    const QList<QSize> sizes = icon.availableSizes(QIcon::Normal, QIcon::Off);
    return sizes.isEmpty() ? QSize() : sizes.first();
}
} // namespace

IconRenderer::IconRenderer()
{
    InitIconResources();
}

QString IconRenderer::fileName(int icon, int theme, int mode, int state)
{
    return QStringLiteral(":/Resources/Icons/") + IconNames()[icon] + ThemeNames()[theme] +
           ModeNames()[mode] + StateNames()[state];
}

void IconRenderer::addFile(int icon, const int& theme, int mode, int state)
{
    const QString file = fileName(icon, theme, mode, state);
    if (!QFile::exists(file))
        Fail(file.toStdString() + " Icon filename specified was not found", __LINE__);

    // Every row of an entity list loads the same few files; decoding them once per row made
    // opening a large project slow.
    const QString cacheKey = QStringLiteral("zorvpro-icon:") + file;
    QPixmap pixmap;
    if (!QPixmapCache::find(cacheKey, &pixmap))
    {
        const QIcon fromFile(file);
        if (fromFile.isNull())
            Fail("Icon filename was invalid", __LINE__);

        // The file already is the look of its mode and state: take its own
        // image. Asking the file's icon for another mode would let the style
        // grey or tint it a second time.
        pixmap = fromFile.pixmap(FirstNormalOffSize(fromFile), QIcon::Normal, QIcon::Off);
        if (pixmap.isNull())
            Fail("Pixmap from icon was invalid", __LINE__);
        QPixmapCache::insert(cacheKey, pixmap);
    }

    icons_[theme].addPixmap(pixmap, static_cast<QIcon::Mode>(mode), static_cast<QIcon::State>(state));
}

void IconRenderer::applyToButton(QAbstractButton* button, int mode, int state) const
{
    if (button == nullptr)
        return;
    const auto found = icons_.find(theme_);
    if (found == icons_.end())
        return;
    const QSize size = FirstNormalOffSize(found->second);
    if (!size.isValid())
        return;
    const QPixmap pixmap =
        found->second.pixmap(size, static_cast<QIcon::Mode>(mode), static_cast<QIcon::State>(state));
    button->setFixedSize(size);
    button->setIcon(QIcon(pixmap));
    button->setIconSize(size);
}

bool IconRenderer::hasBothThemes() const
{
    return icons_.count(1) != 0 && icons_.count(0) != 0;
}

void IconRenderer::themeChanged(const int& theme)
{
    theme_ = theme;
}
} // namespace zorvpro
