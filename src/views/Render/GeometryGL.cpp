#include "views/Render/GeometryGL.h"

#include "core/Logger/OmbraxLogger.h"
#include "core/math/Compare.h"
#include "views/Render/GLError.h"

#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLTexture>
#include <climits>
#include <cmath>
#include <cstdint>

namespace zorvpro::opengl
{
namespace
{
constexpr double kPi = 3.14159265358979323846;

bool IsFinite(const math::Vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A point of the ellipse with unit axes uA, uB and radii rA, rB.
struct Ellipse
{
    Ellipse(const math::Vec3& centre_, const math::Vec3& axisA, const math::Vec3& axisB)
        : centre(centre_), uA(math::Normalize(axisA)), uB(math::Normalize(axisB)), rA(math::Length(axisA)),
          rB(math::Length(axisB))
    {
    }

    math::Vec3 Rim(double angle) const
    {
        return centre + uA * (std::cos(angle) * rA) + uB * (std::sin(angle) * rB);
    }

    // The unit outward normal of the rim in the plane of the axes.
    math::Vec3 Outward(double angle) const
    {
        const double a = std::cos(angle) * rB;
        const double b = std::sin(angle) * rA;
        const double squared = a * a + b * b;
        if (squared < math::kZeroTolerance)
            return {};
        const double length = std::sqrt(squared);
        return uA * (a / length) + uB * (b / length);
    }

    math::Vec3 centre, uA, uB;
    double rA, rB;
};
} // namespace

GeometryGL::GeometryGL() = default;

GeometryGL::~GeometryGL()
{
    // The texture and the buffer need the context they were made in; without
    // it Qt only warns and the driver frees them with the context.
    if (QOpenGLContext::currentContext() != nullptr)
        Release();
    else
        m_texture.reset();
}

void GeometryGL::RequireMode(int mode)
{
    if (m_mode == kNoMode)
    {
        m_mode = mode;
        return;
    }
    if (m_mode != mode)
        OmbraxLogger::Log(LogLevel::Error,
                          "Cannot change OpenGL geometry mode more than once per primitive!");
}

void GeometryGL::PushVertex(const math::Vec3& position, const math::Vec3& normal, const QColor& color,
                            float s, float t)
{
    m_bufferStale = true;
    m_vertices.insert(m_vertices.end(),
                      {static_cast<float>(position.x), static_cast<float>(position.y),
                       static_cast<float>(position.z), static_cast<float>(normal.x),
                       static_cast<float>(normal.y), static_cast<float>(normal.z),
                       static_cast<float>(color.redF()), static_cast<float>(color.greenF()),
                       static_cast<float>(color.blueF()), static_cast<float>(color.alphaF()), s, t});
}

void GeometryGL::PushLineVertex(const math::Vec3& current, const math::Vec3&, const math::Vec3& next,
                                const QColor& color, float s, float t)
{
    PushVertex(current, next, color, s, t);
}

void GeometryGL::AddTriangle(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3,
                             const QColor& c1, const QColor& c2, const QColor& c3, TexCoord t1, TexCoord t2,
                             TexCoord t3, bool bothWindings)
{
    RequireMode(GL_TRIANGLES);
    const math::Vec3 normal = math::Normalize((p2 - p1).Cross(p3 - p1));
    PushVertex(p1, normal, c1, t1.s, t1.t);
    PushVertex(p2, normal, c2, t2.s, t2.t);
    PushVertex(p3, normal, c3, t3.s, t3.t);
    if (!bothWindings)
        return;
    PushVertex(p1, normal, c1, t1.s, t1.t);
    PushVertex(p3, normal, c3, t3.s, t3.t);
    PushVertex(p2, normal, c2, t2.s, t2.t);
}

void GeometryGL::AddQuad(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3,
                         const math::Vec3& p4, const QColor& c1, const QColor& c2, const QColor& c3,
                         const QColor& c4, bool doubleSided)
{
    RequireMode(GL_TRIANGLES);
    const math::Vec3 normal = math::Normalize((p2 - p1).Cross(p3 - p1));
    PushVertex(p1, normal, c1, kNoTexture, kNoTexture);
    PushVertex(p2, normal, c2, kNoTexture, kNoTexture);
    PushVertex(p3, normal, c3, kNoTexture, kNoTexture);
    PushVertex(p3, normal, c3, kNoTexture, kNoTexture);
    PushVertex(p4, normal, c4, kNoTexture, kNoTexture);
    PushVertex(p1, normal, c1, kNoTexture, kNoTexture);
    if (!doubleSided)
        return;
    PushVertex(p1, normal, c1, kNoTexture, kNoTexture);
    PushVertex(p3, normal, c3, kNoTexture, kNoTexture);
    PushVertex(p2, normal, c2, kNoTexture, kNoTexture);
    PushVertex(p3, normal, c3, kNoTexture, kNoTexture);
    PushVertex(p1, normal, c1, kNoTexture, kNoTexture);
    PushVertex(p4, normal, c4, kNoTexture, kNoTexture);
}

void GeometryGL::AddQuad(const math::Vec3& p1, const math::Vec3& p2, const math::Vec3& p3,
                         const math::Vec3& p4, const QColor& color, bool doubleSided)
{
    AddQuad(p1, p2, p3, p4, color, color, color, color, doubleSided);
}

void GeometryGL::AddDisc(const math::Vec3& centre, const math::Vec3& axisA, const math::Vec3& axisB,
                         const QColor& color, int segments)
{
    if (segments < 3)
        return;
    const Ellipse ellipse(centre, axisA, axisB);
    const double step = 2.0 * kPi / segments;
    for (int i = 0; i < segments; ++i)
    {
        const double a = step * i;
        AddTriangle(ellipse.Rim(a), ellipse.Rim(a + step), centre, color, color, color);
    }
}

void GeometryGL::AddRing(const math::Vec3& centre, const math::Vec3& axisA, const math::Vec3& axisB,
                         double width, const QColor& color, int segments)
{
    if (segments < 3)
        return;
    const Ellipse ellipse(centre, axisA, axisB);
    const double step = 2.0 * kPi / segments;
    for (int i = 0; i < segments; ++i)
    {
        const double a = step * i;
        const double b = a + step;
        const math::Vec3 rimA = ellipse.Rim(a);
        const math::Vec3 rimB = ellipse.Rim(b);
        AddQuad(rimA, rimB, rimB - ellipse.Outward(b) * width, rimA - ellipse.Outward(a) * width, color,
                true);
    }
}

void GeometryGL::AddLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& c1, const QColor& c2,
                         double width, const math::Vec3& normal)
{
    if ((p1 - p2).LengthSquared() < 1e-5)
        return;
    if (normal.LengthSquared() >= 1e-6)
    {
        AddThickLine(p1, p2, c1, c2, width, normal);
        return;
    }
    m_lineWidth = width;
    RequireMode(GL_LINES);
    const float w = static_cast<float>(width + 1.0);
    const float l = static_cast<float>(math::Length(p2 - p1) + 1.0);
    const math::Vec3 beyond = p2 + (p2 - p1);
    PushLineVertex(p1, p1, p2, c1, -w, -l);
    PushLineVertex(p2, p1, beyond, c2, w, l);
    PushLineVertex(p1, p1, p2, c1, -w, l);
    PushLineVertex(p2, p1, beyond, c2, w, l);
    PushLineVertex(p1, p1, p2, c1, -w, -l);
    PushLineVertex(p2, p1, beyond, c2, w, -l);
}

void GeometryGL::AddLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& color, double width,
                         const math::Vec3& normal)
{
    AddLine(p1, p2, color, color, width, normal);
}

void GeometryGL::AddThickLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& c1, const QColor& c2,
                              double width, const math::Vec3& normal, const std::vector<double>& dashes)
{
    const double length = math::Length(p2 - p1);
    if (length == 0.0 || !std::isfinite(length) || !IsFinite(normal))
        return;
    double period = dashes.empty() ? length : 0.0;
    for (double dash : dashes)
    {
        // A non-finite entry would keep the walk below from ever ending.
        if (dash < 0.0 || !std::isfinite(dash))
            return;
        period += dash;
    }
    if (dashes.size() % 2 != 0 || !(width > 0.0) || length / period > 1e6)
        return;

    const math::Vec3 direction = (p2 - p1) / length;
    const math::Vec3 side = math::Normalize(direction.Cross(normal)) * (width / 2.0);
    if (dashes.empty())
    {
        AddQuad(p1 + side, p2 + side, p2 - side, p1 - side, c1, c2, c2, c1, false);
        return;
    }
    double position = 0.0;
    for (std::size_t i = 0; position < length; i = (i + 1) % dashes.size())
    {
        const double end = std::min(position + dashes[i], length);
        if (i % 2 == 0)
        {
            const math::Vec3 s = p1 + direction * position;
            const math::Vec3 e = p1 + direction * end;
            AddQuad(s + side, e + side, e - side, s - side, c1, c2, c2, c1, false);
        }
        position = end;
    }
}

void GeometryGL::AddThickLine(const math::Vec3& p1, const math::Vec3& p2, const QColor& color, double width,
                              const math::Vec3& normal, const std::vector<double>& dashes)
{
    AddThickLine(p1, p2, color, color, width, normal, dashes);
}

void GeometryGL::SetTexture(const QImage& image, bool mipmaps)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr || context->functions() == nullptr)
        return;
    CheckGLError();
    ReleaseTexture();
    // ES 2 contexts cannot mipmap textures whose sides are not powers of two: such a texture
    // would sample as black there, so it goes without mipmaps.
    const bool es2 = context->isOpenGLES() && context->format().majorVersion() < 3;
    const bool withMipmaps = mipmaps && !es2;
    m_texture = std::make_unique<QOpenGLTexture>(image, withMipmaps ? QOpenGLTexture::GenerateMipMaps
                                                                    : QOpenGLTexture::DontGenerateMipMaps);
    // A texture without mipmaps needs a filter that does not ask for them, or it samples black.
    m_texture->setMinMagFilters(withMipmaps ? QOpenGLTexture::LinearMipMapLinear : QOpenGLTexture::Linear,
                                QOpenGLTexture::Linear);
    m_texture->setWrapMode(QOpenGLTexture::ClampToEdge);
    // Texture creation leaves a harmless error on some drivers; drop it.
    context->functions()->glGetError();
    CheckGLError();
}

void GeometryGL::ReleaseTexture()
{
    CheckGLError();
    m_texture.reset();
    CheckGLError();
}

void GeometryGL::Upload()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr || context->functions() == nullptr)
        return;
    QOpenGLFunctions* f = context->functions();
    CheckGLError();
    if (m_vertices.empty())
        return;
    if (m_vertices.size() > static_cast<std::size_t>(INT_MAX / sizeof(float)))
    {
        OmbraxLogger::Log(LogLevel::Error, "OpenGL geometry too large to upload");
        return;
    }
    if (!m_buffer.isCreated())
    {
        if (!m_buffer.create())
            return;
        m_bufferStale = true;
    }
    m_buffer.bind();
    // The vertices go to the GPU once per change, not once per frame.
    if (m_bufferStale)
    {
        const int bytes = static_cast<int>(m_vertices.size() * sizeof(float));
        m_buffer.allocate(m_vertices.data(), bytes);
        s_uploadedBytes += static_cast<uint64_t>(bytes);
        m_bufferStale = false;
    }

    GLint maxAttributes = 0;
    f->glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &maxAttributes);
    if (maxAttributes < static_cast<GLint>(kVertexAttributes.size()))
    {
        OmbraxLogger::Log(LogLevel::Error, "System does not support enough vertex attributes");
        m_buffer.release();
        return;
    }
    for (const VertexAttribute& attribute : kVertexAttributes)
    {
        f->glEnableVertexAttribArray(static_cast<GLuint>(attribute.location));
        f->glVertexAttribPointer(
            static_cast<GLuint>(attribute.location), attribute.components, GL_FLOAT, GL_FALSE, kVertexStride,
            reinterpret_cast<const void*>(static_cast<std::uintptr_t>(attribute.offsetBytes)));
    }
    m_buffer.release();
    CheckGLError();
}

void GeometryGL::Release()
{
    ReleaseTexture();
    m_buffer.destroy();
    m_bufferStale = true;
}

std::atomic<uint64_t> GeometryGL::s_uploadedBytes{0};

uint64_t GeometryGL::UploadedBytes()
{
    return s_uploadedBytes.load();
}

} // namespace zorvpro::opengl
