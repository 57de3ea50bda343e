#pragma once

#include "core/math/Vector3.h"
#include "views/Render/Geometry.h"
#include "views/Render/VertexFormat.h"

#include <QColor>
#include <QOpenGLBuffer>
#include <QOpenGLVertexArrayObject>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class QImage;
class QOpenGLTexture;

namespace zorvpro::opengl
{

struct TexCoord
{
    float s = kNoTexture;
    float t = kNoTexture;
};

// An OpenGL drawable: vertices in the fixed 12-float layout, one primitive
// mode, an optional texture and a vertex buffer. Entities fill it once with
// the builders (no GL needed); the renderer uploads and draws it. A geometry
// holds either triangles or line vertices, never both.
class GeometryGL : public QOpenGLVertexArrayObject, public view::Geometry
{
    Q_OBJECT

public:
    // GL_LINES, GL_LINE_LOOP and GL_TRIANGLES; kNoMode until a builder runs.
    static constexpr int kNoMode = -1;

    GeometryGL();
    ~GeometryGL() override;

    void PushVertex(const math::Vec3& position, const math::Vec3& normal, const QColor& color, float s,
                    float t);
    // `previous` is accepted for symmetry with the line shader's inputs but not stored.
    void PushLineVertex(const math::Vec3& current, const math::Vec3& previous, const math::Vec3& next,
                        const QColor& color, float s, float t);

    // Stores both windings so the triangle shows from both sides under
    // back-face culling; with `bothWindings` false it is stored once, for
    // renderers that draw without culling.
    void AddTriangle(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3, const QColor& c1,
                     const QColor& c2, const QColor& c3, TexCoord t1 = {}, TexCoord t2 = {}, TexCoord t3 = {},
                     bool bothWindings = true);
    void AddQuad(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3, const math::Vec3& p4,
                 const QColor& c1, const QColor& c2, const QColor& c3, const QColor& c4, bool doubleSided);
    void AddQuad(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3, const math::Vec3& p4,
                 const QColor& color, bool doubleSided);
    // An ellipse with the two axes as radius vectors.
    void AddDisc(const math::Vec3& centre, const math::Vec3& axisA, const math::Vec3& axisB,
                 const QColor& color, int segments);
    // The band of `width` metres inside the ellipse's rim.
    void AddRing(const math::Vec3& centre, const math::Vec3& axisA, const math::Vec3& axisB, double width,
                 const QColor& color, int segments);
    // With a (near) zero normal a screen-space line of `width` pixels;
    // otherwise a band of `width` metres in the plane across `normal`.
    void AddLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& c1, const QColor& c2, double width,
                 const math::Vec3& normal);
    void AddLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& color, double width,
                 const math::Vec3& normal);
    // A band of `width` metres, dashed by alternating drawn and gap lengths
    // (metres, an even count; empty draws it whole).
    void AddThickLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& c1, const QColor& c2,
                      double width, const math::Vec3& normal, const std::vector<double>& dashes = {});
    void AddThickLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& color, double width,
                      const math::Vec3& normal, const std::vector<double>& dashes = {});

    // Need a current GL context; without one nothing is created.
    // Without `mipmaps` the texture is sampled linearly at one level only (data textures that
    // are replaced often need no mipmaps).
    void SetTexture(const QImage& image, bool mipmaps = true);
    void ReleaseTexture();

    // Sends the vertices to the buffer when they changed since the last upload, and points
    // attributes 0-3 into it.
    void Upload() override;
    void Release() override;

    int GetMode() const { return m_mode; }
    double GetLineWidth() const { return m_lineWidth; }
    int VertexCount() const { return static_cast<int>(m_vertices.size() / kFloatsPerVertex); }
    const std::vector<float>& GetVertices() const { return m_vertices; }
    QOpenGLTexture* GetTexture() const { return m_texture.get(); }
    // The GL name of the vertex buffer; 0 before the first upload.
    GLuint BufferId() const { return m_buffer.bufferId(); }
    // Vertex bytes sent to the GPU by every geometry of the process so far.
    static uint64_t UploadedBytes();

private:
    // Takes the builder's mode unless another one is set already (logged).
    void RequireMode(int mode);

    double m_lineWidth = 1.0;
    int m_mode = kNoMode;
    std::unique_ptr<QOpenGLTexture> m_texture;
    QOpenGLBuffer m_buffer{QOpenGLBuffer::VertexBuffer};
    std::vector<float> m_vertices;
    bool m_bufferStale = true;
    static std::atomic<uint64_t> s_uploadedBytes;
};

} // namespace zorvpro::opengl
