// Draws one frame of one venue view: rebuilds the entities that changed, then QPainter under
// the scene, opaque triangles, opaque lines, transparent triangles, transparent lines, QPainter
// over the scene; each pass in render-list order. Lives in its view's OpenGL context.
#pragma once

#include "core/math/Matrix4.h"
#include "views/Render/Entity.h"

#include <QColor>
#include <QOpenGLFunctions>
#include <QSize>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

class QOpenGLShaderProgram;
class QPainter;
class QPaintDevice;

namespace zorvpro::view
{
using RenderList = std::list<EntityPtr>;

// What a renderer reads from the view it draws.
class IRenderTarget
{
public:
    virtual ~IRenderTarget() = default;
    virtual uint64_t RenderTargetId() const = 0;
    virtual QPaintDevice* PaintDevice() = 0;
    virtual math::Mat4 ProjectionMatrix() = 0;
    virtual math::Mat4 ViewMatrix() = 0;
    virtual QSize ViewportSize() = 0;
};

class Renderer : protected QOpenGLFunctions
{
public:
    explicit Renderer(IRenderTarget& target);
    virtual ~Renderer();

    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // With the view's context current (initializeGL).
    void Initialize();
    // Frees the programs while the view's context is current.
    void Release();
    void SetClearColor(const QColor& color);
    QColor GetClearColor() const { return m_clearColor; }
    // One frame, from paintGL.
    void Render(const RenderList& list);

    bool IsInitialized() const { return m_initialized; }
    bool HasPrograms() const { return m_triangleProgram && m_lineProgram; }

private:
    enum class Program
    {
        Triangles,
        Lines
    };
    struct VertexAttribState
    {
        bool enabled = false;
        GLint size = 4;
        GLenum type = GL_FLOAT;
        GLint normalized = 0;
        GLint stride = 0;
        void* pointer = nullptr;
    };

    void InitTriangleShader();
    void InitLineShader();
    std::shared_ptr<QOpenGLShaderProgram> CreateShaderProgram(Program kind);
    void UseShader(const std::shared_ptr<QOpenGLShaderProgram>& program);
    void DoOpenGLPass(const RenderList& list, bool transparent, bool lines);
    void DrawPainterPass(QPainter& painter, const RenderList& list, bool over);
    void SaveVertexAttribState(bool save);

    IRenderTarget& m_target;
    std::shared_ptr<QOpenGLShaderProgram> m_triangleProgram;
    struct
    {
        int proj = -1, mv = -1, normal = -1, light = -1, colorMap = -1;
    } m_triangleUniforms;
    std::shared_ptr<QOpenGLShaderProgram> m_lineProgram;
    struct
    {
        int proj = -1, mv = -1, normal = -1, light = -1;
    } m_lineUniforms;
    std::shared_ptr<QOpenGLShaderProgram> m_currentProgram;
    bool m_initialized = false;
    QColor m_clearColor{20, 20, 20, 255};
    std::vector<VertexAttribState> m_savedAttribs;
    // Per frame: the projection and view matrices as the shaders take them.
    math::Mat4 m_projection;
    math::Mat4 m_view;
};
} // namespace zorvpro::view
