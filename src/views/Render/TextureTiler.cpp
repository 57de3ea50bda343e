#include "TextureTiler.h"

#include "core/Logger/OmbraxLogger.h"
#include "views/Render/GeometryGL.h"

#include <QImage>
#include <algorithm>

namespace zorvpro::view
{
bool TextureTiler::Init(int32_t width, int32_t height, int32_t tileWidth, int32_t tileHeight)
{
    m_width = width;
    m_height = height;
    m_tileWidth = tileWidth;
    m_tileHeight = tileHeight;
    m_tiles.clear();
    m_tilesPerRow = 0;
    m_tileRows = 0;
    // Tiles advance by one less than their size: each starts on its neighbour's last texel.
    if (tileWidth < 2 || tileHeight < 2)
        return width <= 0 || height <= 0;
    for (int32_t y = 0; y < height; y += tileHeight - 1)
    {
        for (int32_t x = 0; x < width; x += tileWidth - 1)
        {
            auto geometry = std::make_shared<opengl::GeometryGL>();
            if (!geometry)
                return false;
            m_tiles.push_back(
                {x, y, std::min(x + tileWidth, width), std::min(y + tileHeight, height), geometry});
        }
        if (m_tilesPerRow == 0)
            m_tilesPerRow = static_cast<int32_t>(m_tiles.size());
    }
    m_tileRows = m_tilesPerRow < 1 ? 0 : static_cast<int32_t>(m_tiles.size()) / m_tilesPerRow;
    return true;
}

std::optional<size_t> TextureTiler::MatchTileOverlaps(const std::array<uint32_t, 3>& triangle) const
{
    if (m_width <= 0 || m_tileWidth < 2 || m_tileHeight < 2)
        return std::nullopt;
    const uint32_t stepX = static_cast<uint32_t>(m_tileWidth - 1);
    const uint32_t stepY = static_cast<uint32_t>(m_tileHeight - 1);
    std::array<uint32_t, 3> qx{}, rx{}, qy{}, ry{};
    for (size_t k = 0; k < 3; ++k)
    {
        const uint32_t column = triangle[k] % static_cast<uint32_t>(m_width);
        const uint32_t row = triangle[k] / static_cast<uint32_t>(m_width);
        qx[k] = column / stepX;
        rx[k] = column % stepX;
        qy[k] = row / stepY;
        ry[k] = row % stepY;
    }
    const uint32_t tileX = *std::min_element(qx.begin(), qx.end());
    const uint32_t tileY = *std::min_element(qy.begin(), qy.end());
    for (size_t k = 0; k < 3; ++k)
    {
        // A corner on the first texel of the next tile is the last texel of this one.
        const bool fitsX = qx[k] == tileX || (qx[k] == tileX + 1 && rx[k] == 0);
        const bool fitsY = qy[k] == tileY || (qy[k] == tileY + 1 && ry[k] == 0);
        if (!fitsX || !fitsY)
        {
            OmbraxLogger::Log(LogLevel::Error, "Cannot match tile overlaps");
            return std::nullopt;
        }
    }
    const size_t index = static_cast<size_t>(m_tilesPerRow) * tileY + tileX;
    if (tileX >= static_cast<uint32_t>(m_tilesPerRow) || index >= m_tiles.size())
    {
        OmbraxLogger::Log(LogLevel::Error, "Cannot match tile overlaps");
        return std::nullopt;
    }
    return index;
}

std::vector<QImage> TextureTiler::BuildTileImages(const std::vector<QColor>& texels) const
{
    std::vector<QImage> images;
    images.reserve(m_tiles.size());
    for (const Tile& tile : m_tiles)
    {
        QImage image(tile.x1 - tile.x0, tile.y1 - tile.y0, QImage::Format_RGB888);
        for (int32_t y = tile.y0; y < tile.y1; ++y)
        {
            uchar* line = image.scanLine(y - tile.y0);
            for (int32_t x = tile.x0; x < tile.x1; ++x)
            {
                const QColor& texel = texels[static_cast<size_t>(m_width) * y + x];
                uchar* pixel = line + 3 * (x - tile.x0);
                pixel[0] = static_cast<uchar>(texel.red());
                pixel[1] = static_cast<uchar>(texel.green());
                pixel[2] = static_cast<uchar>(texel.blue());
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}
} // namespace zorvpro::view
