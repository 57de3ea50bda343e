#include "Renderer.h"

#include "core/Logger/OmbraxLogger.h"
#include "views/Render/FieldEntity.h"
#include "views/Render/GLError.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/GeometryQP.h"
#include "views/Render/MatrixConversion.h"
#include "views/Render/ShaderSources.h"

#include <QGenericMatrix>
#include <QOpenGLShaderProgram>
#include <QOpenGLTexture>
#include <QPainter>
#include <QSurfaceFormat>

namespace zorvpro::view
{
namespace
{
constexpr const char* kAttributeNames[] = {"vertex", "normal", "color", "texture"};

void LogError(const char* text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}
} // namespace

Renderer::Renderer(IRenderTarget& target) : m_target(target) {}

Renderer::~Renderer() = default;

void Renderer::Initialize()
{
    initializeOpenGLFunctions();
    m_initialized = true;
    SaveVertexAttribState(true);
    InitTriangleShader();
    InitLineShader();
}

void Renderer::Release()
{
    if (m_currentProgram)
        m_currentProgram->release();
    m_currentProgram.reset();
    m_triangleProgram.reset();
    m_lineProgram.reset();
    m_initialized = false;
}

void Renderer::SetClearColor(const QColor& color)
{
    if (color != m_clearColor)
        m_clearColor = color;
}

void Renderer::SaveVertexAttribState(bool save)
{
    if (save)
    {
        m_savedAttribs.clear();
        GLint count = 0;
        glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &count);
        for (GLint i = 0; i < count; ++i)
        {
            VertexAttribState state;
            GLint value = 0;
            glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
            state.enabled = value != 0;
            glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_SIZE, &state.size);
            glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_TYPE, &value);
            state.type = GLenum(value);
            glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &state.normalized);
            glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_STRIDE, &state.stride);
            glGetVertexAttribPointerv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_POINTER, &state.pointer);
            m_savedAttribs.push_back(state);
        }
        return;
    }
    for (size_t i = 0; i < m_savedAttribs.size(); ++i)
    {
        const VertexAttribState& state = m_savedAttribs[i];
        glVertexAttribPointer(GLuint(i), state.size, state.type, GLboolean(state.normalized), state.stride,
                              state.pointer);
        if (state.enabled)
            glEnableVertexAttribArray(GLuint(i));
        else
            glDisableVertexAttribArray(GLuint(i));
    }
}

std::shared_ptr<QOpenGLShaderProgram> Renderer::CreateShaderProgram(Program kind)
{
    auto program = std::make_shared<QOpenGLShaderProgram>();
    const bool core = QSurfaceFormat::defaultFormat().profile() == QSurfaceFormat::CoreProfile;
    const ShaderSourcePair sources =
        ShaderSources(kind == Program::Lines ? ShaderProgramKind::Lines : ShaderProgramKind::Triangles, core);
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, sources.vertex))
    {
        LogError("Cannot add OpenGL vertex shader");
        OmbraxLogger::Log(LogLevel::Debug, program->log());
        return nullptr;
    }
    if (!program->addShaderFromSourceCode(QOpenGLShader::Fragment, sources.fragment))
    {
        LogError("Cannot add OpenGL fragment shader");
        OmbraxLogger::Log(LogLevel::Debug, program->log());
        return nullptr;
    }
    for (int i = 0; i < 4; ++i)
        program->bindAttributeLocation(kAttributeNames[i], i);
    if (!program->link())
    {
        LogError("Cannot link OpenGL shader");
        OmbraxLogger::Log(LogLevel::Debug, program->log());
        return nullptr;
    }
    return program;
}

void Renderer::InitTriangleShader()
{
    m_triangleProgram = CreateShaderProgram(Program::Triangles);
    if (!m_triangleProgram)
    {
        LogError("Shader was null");
        return;
    }
    if (!m_triangleProgram->bind())
    {
        LogError("Unable to bind shader");
        return;
    }
    m_triangleUniforms.proj = m_triangleProgram->uniformLocation("projMatrix");
    m_triangleUniforms.mv = m_triangleProgram->uniformLocation("mvMatrix");
    m_triangleUniforms.normal = m_triangleProgram->uniformLocation("normalMatrix");
    m_triangleUniforms.light = m_triangleProgram->uniformLocation("lightPos");
    m_triangleUniforms.colorMap = m_triangleProgram->uniformLocation("colorMap");
    m_triangleProgram->setUniformValue(m_triangleUniforms.light, QVector3D(0, 0, 70));
    m_triangleProgram->release();
}

void Renderer::InitLineShader()
{
    m_lineProgram = CreateShaderProgram(Program::Lines);
    if (!m_lineProgram)
    {
        LogError("Shader was null");
        return;
    }
    if (!m_lineProgram->bind())
    {
        LogError("Unable to bind shader");
        return;
    }
    m_lineUniforms.proj = m_lineProgram->uniformLocation("projMatrix");
    m_lineUniforms.mv = m_lineProgram->uniformLocation("mvMatrix");
    m_lineUniforms.normal = m_lineProgram->uniformLocation("normalMatrix");
    m_lineUniforms.light = m_lineProgram->uniformLocation("lightPos");
    m_lineProgram->setUniformValue(m_lineUniforms.light, QVector3D(0, 0, 70));
    m_lineProgram->release();
}

void Renderer::UseShader(const std::shared_ptr<QOpenGLShaderProgram>& program)
{
    if (m_currentProgram != program && m_currentProgram)
        m_currentProgram->release();
    m_currentProgram = program;
    if (!program)
        return;
    if (program == m_triangleProgram)
    {
        program->bind();
        program->setUniformValue(m_triangleUniforms.proj, opengl::ToQMatrix(m_projection));
    }
    else if (program == m_lineProgram)
    {
        program->bind();
        program->setUniformValue(m_lineUniforms.proj, opengl::ToQMatrix(m_projection));
    }
    else
    {
        LogError("Unknown OpenGL shader to process");
    }
}

void Renderer::Render(const RenderList& list)
{
    opengl::CheckGLError();
    if (!m_triangleProgram)
    {
        LogError("Shader was null");
        return;
    }
    const uint64_t id = m_target.RenderTargetId();
    for (const EntityPtr& entity : list)
    {
        if (!entity)
            continue;
        // Clearing dirty rebuilds; a failed rebuild keeps the entity dirty for the next frame.
        if (entity->isDirty())
            entity->setDirty(false);
        entity->MarkShownIn(id);
    }
    m_projection = m_target.ProjectionMatrix();
    m_view = m_target.ViewMatrix();

    QPainter painter(m_target.PaintDevice());
    painter.beginNativePainting();
    glClearColor(float(m_clearColor.redF()), float(m_clearColor.greenF()), float(m_clearColor.blueF()), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    painter.endNativePainting();
    opengl::CheckGLError();
    DrawPainterPass(painter, list, false);
    opengl::CheckGLError();
    painter.beginNativePainting();

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    UseShader(m_triangleProgram);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    // A line program that failed to build was logged once when it failed; its passes are left out.
    DoOpenGLPass(list, false, false);
    if (m_lineProgram)
        DoOpenGLPass(list, false, true);

    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    DoOpenGLPass(list, true, false);
    if (m_lineProgram)
        DoOpenGLPass(list, true, true);

    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    UseShader(nullptr);
    painter.endNativePainting();
    SaveVertexAttribState(false);

    DrawPainterPass(painter, list, true);
    opengl::CheckGLError();
    painter.end();
}

void Renderer::DrawPainterPass(QPainter& painter, const RenderList& list, bool over)
{
    opengl::CheckGLError();
    for (const EntityPtr& entity : list)
    {
        opengl::CheckGLError();
        if (!entity || !entity->isVisible() || entity->isDirty())
            continue;
        for (const GeometryPtr& geometry : entity->GetGeometries())
        {
            opengl::CheckGLError();
            auto* drawable = dynamic_cast<qpainter::GeometryQP*>(geometry.get());
            if (drawable == nullptr || drawable->IsOver() != over)
                continue;
            drawable->Upload();
            painter.save();
            drawable->Draw(painter);
            painter.restore();
        }
    }
}

void Renderer::DoOpenGLPass(const RenderList& list, bool transparent, bool lines)
{
    opengl::CheckGLError();
    QMatrix4x4 lineOffset;
    lineOffset.translate(0.0f, 0.0f, 0.01f);
    const QMatrix4x4 view = opengl::ToQMatrix(m_view);
    const QSize size = m_target.ViewportSize();
    QMatrix3x3 lineView;
    lineView.fill(0.0f);
    lineView(0, 1) = float(size.width());
    lineView(1, 1) = float(size.height());
    bool modeLogged = false;

    for (const EntityPtr& entity : list)
    {
        opengl::CheckGLError();
        if (!entity || !entity->isVisible())
            continue;
        const QMatrix4x4 model = opengl::ToQMatrix(entity->getTransform());
        QOpenGLTexture* colorMap = nullptr;
        if (auto* field = dynamic_cast<FieldEntity*>(entity.get()))
            colorMap = field->ColorMapTexture();
        if (colorMap != nullptr)
        {
            colorMap->bind(1, QOpenGLTexture::DontResetTextureUnit);
            m_triangleProgram->setUniformValue(m_triangleUniforms.colorMap, 1);
        }
        for (const GeometryPtr& geometry : entity->GetGeometries())
        {
            if (!geometry || geometry->IsTransparent() != transparent)
                continue;
            auto* gl = dynamic_cast<opengl::GeometryGL*>(geometry.get());
            if (gl == nullptr || gl->GetVertices().size() < 12)
                continue;
            const int mode = gl->GetMode();
            if (mode != GL_LINES && mode != GL_LINE_LOOP && mode != GL_TRIANGLES)
            {
                if (!modeLogged)
                    LogError("Unsupported GL render mode in DoOpenGLPass");
                modeLogged = true;
                continue;
            }
            if ((mode == GL_LINES) != lines)
                continue;

            gl->Upload();
            QOpenGLTexture* texture = gl->GetTexture();
            if (texture != nullptr)
                texture->bind(0, QOpenGLTexture::DontResetTextureUnit);
            const auto vertexCount = GLsizei(gl->GetVertices().size() / 12);
            if (!lines)
            {
                glEnable(GL_POLYGON_OFFSET_FILL);
                glPolygonOffset(0.0f, 8.0f);
                m_triangleProgram->setUniformValue(m_triangleUniforms.mv, view * model);
                m_triangleProgram->setUniformValue(m_triangleUniforms.normal, model.normalMatrix());
                glDrawArrays(GLenum(mode), 0, vertexCount);
                glPolygonOffset(0.0f, 0.0f);
                glDisable(GL_POLYGON_OFFSET_FILL);
            }
            else
            {
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
                glDepthMask(GL_FALSE);
                UseShader(m_lineProgram);
                glEnable(GL_POLYGON_OFFSET_FILL);
                glPolygonOffset(0.0f, 8.0f);
                m_lineProgram->setUniformValue(m_lineUniforms.mv, lineOffset * view * model);
                m_lineProgram->setUniformValue(m_lineUniforms.normal, lineView);
                if (gl->GetLineWidth() > 0.0)
                    glLineWidth(float(gl->GetLineWidth()));
                glDrawArrays(GL_TRIANGLES, 0, vertexCount);
                glPolygonOffset(0.0f, 0.0f);
                glDisable(GL_POLYGON_OFFSET_FILL);
                UseShader(m_triangleProgram);
                if (!transparent)
                {
                    glDisable(GL_BLEND);
                    glDepthMask(GL_TRUE);
                }
            }
            if (texture != nullptr)
                texture->release(0, QOpenGLTexture::DontResetTextureUnit);
        }
        if (colorMap != nullptr)
        {
            m_triangleProgram->setUniformValue(m_triangleUniforms.colorMap, 0);
            colorMap->release(1, QOpenGLTexture::DontResetTextureUnit);
        }
        // Qt's own unit reset would pass an enum where it wants an index: restore it here.
        glActiveTexture(GL_TEXTURE0);
    }
    opengl::CheckGLError();
}
} // namespace zorvpro::view
