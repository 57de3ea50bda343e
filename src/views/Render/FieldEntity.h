// One SPL coverage map: a triangle mesh over a grid of field points whose values reach the GPU
// packed into texels; the fragment shader turns them into colours through a 1024 x 1 colour
// map. Recolouring replaces the texels and the colour map, never the mesh.
#pragma once

#include "core/math/Vector3.h"
#include "views/Render/Entity.h"
#include "views/Render/TextureTiler.h"

#include <QColor>
#include <QImage>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QOpenGLTexture;

namespace zorvpro::opengl
{
class GeometryGL;
}

namespace zorvpro::view
{
class FieldEntity : public Entity
{
    Q_OBJECT

public:
    using Triangle = std::array<uint32_t, 3>;
    static constexpr int32_t kTileSize = 50;

    explicit FieldEntity(const std::string& name);
    ~FieldEntity() override;

    // Vertex i is grid point (i mod width, i div width); texel columns and rows hold one entry
    // per grid point.
    void SetMesh(const std::vector<math::Vec3>& vertices, const std::vector<Triangle>& triangles,
                 const std::vector<int32_t>& texelColumns, const std::vector<int32_t>& texelRows,
                 int32_t width, int32_t height);
    void ClearMap();
    void PackTextureData(const std::vector<int32_t>& texelColumns, const std::vector<int32_t>& texelRows,
                         int32_t width, int32_t height);
    // Packs the values (dB, row-major, one per grid point) for the range [min, max] and rebuilds
    // the colour map. The textures themselves are made in the next frame, where a context is
    // current; nothing changes for an empty range or without a colour function.
    void BuildColorMapTexture(const std::vector<double>& values, double min, double max,
                              std::function<QColor(double)> color);

    bool RebuildGeometry() override;
    // Frees the textures too; the next rebuild makes everything again.
    void ReleaseGeometry() override;

    // The colour map for texture unit 1, once a frame has made it.
    QOpenGLTexture* ColorMapTexture() const;
    const std::vector<QColor>& Texels() const { return m_texels; }
    const QImage& ColorMapImage() const { return m_colorMapImage; }
    const TextureTiler& Tiler() const { return *m_tiler; }
    int32_t GridWidth() const { return m_width; }
    int32_t GridHeight() const { return m_height; }

private:
    bool BuildTiledMesh();
    bool UploadTexels();
    void ReportTextureFailure();

    std::vector<double> m_texelColumns;
    std::vector<double> m_texelRows;
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::shared_ptr<opengl::GeometryGL> m_colorMapHolder;
    bool m_meshChanged = false;
    bool m_texelsChanged = false;
    bool m_colorMapChanged = false;
    std::vector<QColor> m_texels;
    QImage m_colorMapImage;
    std::vector<math::Vec3> m_vertices;
    std::vector<Triangle> m_triangles;
    bool m_rebuilding = false;
    std::unique_ptr<TextureTiler> m_tiler;
};
} // namespace zorvpro::view
