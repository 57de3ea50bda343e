// One OpenGL view of the venue (plan or side). It draws its render list on a 20 ms poll, and
// only when the viewport, the camera, the grid or an entity of its list changed since its last
// frame; every mouse and wheel event leaves as one mouseEvent signal.
#pragma once

#include "core/Nodes/HasUniqueId.h"
#include "views/Render/Entity.h"
#include "views/Render/MouseEvent.h"
#include "views/Render/Renderer.h"
#include "views/Render/Viewport.h"

#include <QColor>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QTimer>
#include <functional>
#include <list>
#include <memory>
#include <string>

class QOpenGLPaintDevice;

namespace zorvpro::view
{
class GridEntity;
class SelectionBoxEntity;

class VenueView3D : public QOpenGLWidget, public HasUniqueId, public IRenderTarget, protected QOpenGLFunctions
{
    Q_OBJECT

public:
    static constexpr int kRefreshIntervalMs = 20;

    explicit VenueView3D(QWidget* parent = nullptr);
    ~VenueView3D() override;

    void AddEntity(const EntityPtr& entity);
    void InsertEntityBefore(const EntityPtr& entity, const EntityPtr& before);
    void RemoveEntity(const EntityPtr& entity);
    // Removes every entity the predicate accepts, in one pass over the render list.
    void RemoveEntitiesIf(const std::function<bool(const EntityPtr&)>& predicate);
    bool HasEntity(const EntityPtr& entity) const;
    std::list<EntityPtr> GetEntities() const { return m_renderList; }

    void SetBackgroundColor(const QColor& color);
    QColor GetBackgroundColor() const { return m_backgroundColor; }
    void SetGridLabels(const std::string& firstAxisName, const std::string& secondAxisName,
                       const std::string& viewTitle);
    void SetMetricUnits(bool metric);

    Viewport& GetViewport() { return m_viewport; }
    Camera& GetCamera();
    std::shared_ptr<GridEntity> GetGrid() const { return m_grid; }
    std::shared_ptr<SelectionBoxEntity> GetSelectionBox() const { return m_selectionBox; }

    // True while the last frame drawn does not show everything: a change not drawn yet, or a
    // frame the refresh asked for and Qt has not painted yet.
    bool NeedsRepaint();

    // IRenderTarget
    uint64_t RenderTargetId() const override { return GetId(); }
    QPaintDevice* PaintDevice() override;
    math::Mat4 ProjectionMatrix() override;
    math::Mat4 ViewMatrix() override;
    QSize ViewportSize() override;

signals:
    void mouseEvent(zorvpro::view::MouseEvent me);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private slots:
    void OnRefreshTimer();
    void ReleaseGL();

private:
    void EmitMouse(QMouseEvent* event);
    // Brings the projection, the camera's view matrix and the grid's layout in line with the
    // viewport and camera as they are now.
    void CatchUp();

    std::string m_firstAxisName;
    std::string m_secondAxisName;
    std::string m_viewTitle;
    bool m_metric = true;
    Viewport m_viewport;
    bool m_repaintNeeded = false;
    std::list<EntityPtr> m_renderList;
    std::shared_ptr<GridEntity> m_grid;
    std::unique_ptr<Renderer> m_renderer;
    // The painter passes draw into the framebuffer the frame is rendered to. Painting on the
    // widget itself would follow a grab's redirection to a raster image, under the scene.
    std::unique_ptr<QOpenGLPaintDevice> m_paintDevice;
    QTimer m_refreshTimer{this};
    QColor m_backgroundColor;
    std::shared_ptr<SelectionBoxEntity> m_selectionBox;
};
} // namespace zorvpro::view
