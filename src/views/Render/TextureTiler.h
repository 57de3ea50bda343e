// Cuts a grid of texels into tiles of bounded size, each drawn by one geometry with its own
// texture. Neighbouring tiles share one texel column (or row), so every mesh triangle whose
// corners sit on adjacent grid points lies wholly inside one tile.
#pragma once

#include <QColor>
#include <QImage>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace zorvpro::opengl
{
class GeometryGL;
}

namespace zorvpro::view
{
class TextureTiler
{
public:
    struct Tile
    {
        int32_t x0 = 0; // first texel column
        int32_t y0 = 0; // first texel row
        int32_t x1 = 0; // one past the last column
        int32_t y1 = 0; // one past the last row
        std::shared_ptr<opengl::GeometryGL> geometry;
    };

    bool Init(int32_t width, int32_t height, int32_t tileWidth, int32_t tileHeight);
    // The tile holding a triangle of grid-point indices, or none (logged) when its corners span
    // more than one tile.
    std::optional<size_t> MatchTileOverlaps(const std::array<uint32_t, 3>& triangle) const;
    // The tile images, RGB of the texels (row-major, width x height of them).
    std::vector<QImage> BuildTileImages(const std::vector<QColor>& texels) const;

    const std::vector<Tile>& Tiles() const { return m_tiles; }
    int32_t TilesPerRow() const { return m_tilesPerRow; }
    int32_t TileRows() const { return m_tileRows; }

private:
    std::vector<Tile> m_tiles;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_tileWidth = 0;
    int32_t m_tileHeight = 0;
    int32_t m_tilesPerRow = 0;
    int32_t m_tileRows = 0;
};
} // namespace zorvpro::view
