#include "FieldEntity.h"

#include "core/Logger/OmbraxLogger.h"
#include "views/Render/GLError.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/SplTexel.h"

#include <QOpenGLContext>
#include <QOpenGLTexture>
#include <atomic>

namespace zorvpro::view
{
namespace
{
const QColor kUntexturedColor(255, 0, 255, 255);

void LogError(const char* text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}

bool HasTexture(const opengl::GeometryGL& geometry)
{
    return geometry.GetTexture() != nullptr && geometry.GetTexture()->textureId() != 0;
}
} // namespace

FieldEntity::FieldEntity(const std::string& name)
    : Entity(name), m_colorMapHolder(std::make_shared<opengl::GeometryGL>()),
      m_tiler(std::make_unique<TextureTiler>())
{
}

FieldEntity::~FieldEntity()
{
    for (const TextureTiler::Tile& tile : m_tiler->Tiles())
        tile.geometry->Release();
    m_colorMapHolder->Release();
}

void FieldEntity::SetMesh(const std::vector<math::Vec3>& vertices, const std::vector<Triangle>& triangles,
                          const std::vector<int32_t>& texelColumns, const std::vector<int32_t>& texelRows,
                          int32_t width, int32_t height)
{
    m_vertices = vertices;
    m_triangles = triangles;
    PackTextureData(texelColumns, texelRows, width, height);
    m_meshChanged = true;
    MarkDirty();
}

void FieldEntity::ClearMap()
{
    m_vertices.clear();
    m_triangles.clear();
    m_texels.clear();
    m_texelColumns.clear();
    m_texelRows.clear();
    m_width = 0;
    m_height = 0;
    m_meshChanged = true;
    m_texelsChanged = true;
    MarkDirty();
}

void FieldEntity::PackTextureData(const std::vector<int32_t>& texelColumns,
                                  const std::vector<int32_t>& texelRows, int32_t width, int32_t height)
{
    const int64_t count = int64_t(width) * int64_t(height);
    if (width < 0 || height < 0 || int64_t(texelColumns.size()) != count ||
        int64_t(texelRows.size()) != count)
    {
        LogError("FieldEntity called without enough texture data");
        return;
    }
    m_width = width;
    m_height = height;
    m_texelColumns.assign(texelColumns.begin(), texelColumns.end());
    m_texelRows.assign(texelRows.begin(), texelRows.end());
}

void FieldEntity::BuildColorMapTexture(const std::vector<double>& values, double min, double max,
                                       std::function<QColor(double)> color)
{
    if (!(min < max) || !color)
        return;
    m_texels.clear();
    m_texels.reserve(values.size());
    for (double value : values)
        m_texels.push_back(PackSplTexel(value, min, max));
    m_colorMapImage = BuildColorMapImage(min, max, color);
    m_colorMapChanged = true;
    m_texelsChanged = true;
    MarkDirty();
}

QOpenGLTexture* FieldEntity::ColorMapTexture() const
{
    return HasTexture(*m_colorMapHolder) ? m_colorMapHolder->GetTexture() : nullptr;
}

void FieldEntity::ReportTextureFailure()
{
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true))
        LogError("Failed to create texture");
    opengl::CheckGLError();
}

bool FieldEntity::BuildTiledMesh()
{
    if (!m_meshChanged)
        return true;
    m_meshChanged = false;
    ClearGeometries();
    if (!m_tiler->Init(m_width, m_height, kTileSize, kTileSize))
    {
        LogError("Failed to create texture tiling");
        return false;
    }
    if (m_texels.size() != size_t(m_width) * size_t(m_height))
    {
        LogError("RebuildGeometry for FieldEntity has invalid data");
        return true;
    }
    for (const TextureTiler::Tile& tile : m_tiler->Tiles())
        AddGeometry(tile.geometry);
    if (m_texels.empty())
        return true;
    // New tiles have no textures yet.
    m_texelsChanged = true;

    const bool texelPerVertex =
        m_texelColumns.size() == m_vertices.size() && m_texelRows.size() == m_vertices.size();
    for (const Triangle& triangle : m_triangles)
    {
        if (triangle[0] >= m_vertices.size() || triangle[1] >= m_vertices.size() ||
            triangle[2] >= m_vertices.size())
            return false;
        const std::optional<size_t> index = m_tiler->MatchTileOverlaps(triangle);
        if (!index || !m_tiler->Tiles()[*index].geometry)
        {
            LogError("Cannot find triangle in Tiler lookup");
            return false;
        }
        const TextureTiler::Tile& tile = m_tiler->Tiles()[*index];
        std::array<opengl::TexCoord, 3> tex;
        if (texelPerVertex)
        {
            for (size_t k = 0; k < 3; ++k)
            {
                tex[k].s = float((m_texelColumns[triangle[k]] - tile.x0 + 0.5) / (tile.x1 - tile.x0));
                tex[k].t = float((m_texelRows[triangle[k]] - tile.y0 + 0.5) / (tile.y1 - tile.y0));
            }
        }
        tile.geometry->AddTriangle(m_vertices[triangle[0]], m_vertices[triangle[1]], m_vertices[triangle[2]],
                                   kUntexturedColor, kUntexturedColor, kUntexturedColor, tex[0], tex[1],
                                   tex[2]);
    }
    return true;
}

bool FieldEntity::UploadTexels()
{
    if (m_colorMapChanged && !m_colorMapImage.isNull())
    {
        m_colorMapHolder->SetTexture(m_colorMapImage, false);
        if (!HasTexture(*m_colorMapHolder))
            ReportTextureFailure();
    }
    m_colorMapChanged = false;
    if (!m_texelsChanged)
        return true;
    m_texelsChanged = false;
    if (m_texels.size() != size_t(m_width) * size_t(m_height))
        return true;
    const std::vector<QImage> images = m_tiler->BuildTileImages(m_texels);
    const auto& tiles = m_tiler->Tiles();
    for (size_t i = 0; i < tiles.size() && i < images.size(); ++i)
    {
        tiles[i].geometry->SetTexture(images[i], false);
        if (!HasTexture(*tiles[i].geometry))
            ReportTextureFailure();
    }
    return true;
}

bool FieldEntity::RebuildGeometry()
{
    opengl::CheckGLError();
    if (m_rebuilding)
        return false;
    // Textures belong to the view's context: without one the work waits for the next frame.
    const bool textureWork = (m_colorMapChanged && !m_colorMapImage.isNull()) ||
                             ((m_texelsChanged || m_meshChanged) && !m_texels.empty());
    if (textureWork && QOpenGLContext::currentContext() == nullptr)
        return false;
    m_rebuilding = true;
    bool result = true;
    if (!m_tiler)
    {
        LogError("TextureTiler missing in FieldEntity");
    }
    else if (!BuildTiledMesh())
    {
        // A mesh that cannot be built stays unbuilt until it is replaced; retrying every frame
        // would only repaint the view forever. Half a map is not drawn.
        ClearGeometries();
        m_texelsChanged = false;
    }
    else
    {
        result = UploadTexels();
    }
    opengl::CheckGLError();
    m_rebuilding = false;
    return result;
}

void FieldEntity::ReleaseGeometry()
{
    Entity::ReleaseGeometry();
    // A rebuild drops its own old tiles through here: that is no reason to build them again.
    if (m_rebuilding)
        return;
    m_colorMapHolder->Release();
    m_meshChanged = true;
    m_colorMapChanged = true;
    m_texelsChanged = true;
}
} // namespace zorvpro::view
