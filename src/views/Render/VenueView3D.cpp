#include "VenueView3D.h"

#include "Utility/ApiChecker.h"
#include "views/Render/Camera.h"
#include "views/Render/GridEntity.h"
#include "views/Render/SelectionBoxEntity.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLPaintDevice>
#include <QWheelEvent>
#include <algorithm>

namespace zorvpro::view
{
namespace
{
uint32_t ModifierFlags(Qt::KeyboardModifiers modifiers)
{
    uint32_t flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= 1;
    if (modifiers & Qt::ControlModifier)
        flags |= 4;
    if (modifiers & Qt::AltModifier)
        flags |= 8;
    return flags;
}
} // namespace

VenueView3D::VenueView3D(QWidget* parent)
    : QOpenGLWidget(parent), m_renderer(std::make_unique<Renderer>(*this))
{
    qRegisterMetaType<MouseEvent>("zorvpro::view::MouseEvent");
    setAttribute(Qt::WA_MouseTracking);
    setMouseTracking(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, &VenueView3D::OnRefreshTimer);

    SetBackgroundColor(QColor(20, 20, 20, 255));

    m_selectionBox = std::make_shared<SelectionBoxEntity>("Selection box");
    CheckAlloc(m_selectionBox);
    m_renderList.push_back(m_selectionBox);

    m_grid = std::make_shared<GridEntity>("Background grid", "\"Gotham\"", 9.0, 6.0);
    CheckAlloc(m_grid);
    m_grid->SetLabels(m_firstAxisName, m_secondAxisName, m_viewTitle);
    m_grid->SetColors(QColor(140, 140, 140, 255), QColor(140, 140, 140, 255), QColor(20, 20, 20, 255));
    m_grid->SetMetric(m_metric);
    m_renderList.push_back(m_grid);
    m_repaintNeeded = true;
}

VenueView3D::~VenueView3D()
{
    m_refreshTimer.stop();
    // The context outlives this part of the object: free the GL resources now, while it can
    // still be made current, and take no signal from its destruction.
    if (context() != nullptr)
        disconnect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &VenueView3D::ReleaseGL);
    ReleaseGL();
    m_renderer.reset();
    m_renderList.clear();
}

Camera& VenueView3D::GetCamera()
{
    return m_viewport.GetCamera();
}

void VenueView3D::AddEntity(const EntityPtr& entity)
{
    if (!entity)
        return;
    m_renderList.push_back(entity);
    m_repaintNeeded = true;
}

void VenueView3D::InsertEntityBefore(const EntityPtr& entity, const EntityPtr& before)
{
    if (!entity || !before)
        return;
    const auto at = std::find_if(m_renderList.begin(), m_renderList.end(),
                                 [&](const EntityPtr& e) { return e && e->GetId() == before->GetId(); });
    if (at == m_renderList.end())
        return;
    m_renderList.insert(at, entity);
    m_repaintNeeded = true;
}

void VenueView3D::RemoveEntity(const EntityPtr& entity)
{
    const size_t before = m_renderList.size();
    m_renderList.remove(entity);
    if (m_renderList.size() != before)
        m_repaintNeeded = true;
}

void VenueView3D::RemoveEntitiesIf(const std::function<bool(const EntityPtr&)>& predicate)
{
    const size_t before = m_renderList.size();
    m_renderList.remove_if([&](const EntityPtr& e) { return e && predicate(e); });
    if (m_renderList.size() != before)
        m_repaintNeeded = true;
}

bool VenueView3D::HasEntity(const EntityPtr& entity) const
{
    return std::find(m_renderList.begin(), m_renderList.end(), entity) != m_renderList.end();
}

void VenueView3D::SetBackgroundColor(const QColor& color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    m_renderer->SetClearColor(color);
    m_repaintNeeded = true;
}

void VenueView3D::SetGridLabels(const std::string& firstAxisName, const std::string& secondAxisName,
                                const std::string& viewTitle)
{
    m_firstAxisName = firstAxisName;
    m_secondAxisName = secondAxisName;
    m_viewTitle = viewTitle;
    if (m_grid)
        m_grid->SetLabels(firstAxisName, secondAxisName, viewTitle);
}

void VenueView3D::SetMetricUnits(bool metric)
{
    m_metric = metric;
    if (m_grid)
        m_grid->SetMetric(metric);
}

math::Mat4 VenueView3D::ProjectionMatrix()
{
    return m_viewport.GetProjection();
}

math::Mat4 VenueView3D::ViewMatrix()
{
    return m_viewport.GetCamera().ViewMatrix();
}

QPaintDevice* VenueView3D::PaintDevice()
{
    if (!m_paintDevice)
        m_paintDevice = std::make_unique<QOpenGLPaintDevice>();
    const qreal ratio = devicePixelRatioF();
    m_paintDevice->setSize(size() * ratio);
    m_paintDevice->setDevicePixelRatio(ratio);
    return m_paintDevice.get();
}

QSize VenueView3D::ViewportSize()
{
    return {m_viewport.Width(), m_viewport.Height()};
}

bool VenueView3D::NeedsRepaint()
{
    if (m_repaintNeeded || m_viewport.IsDirty() || m_viewport.GetCamera().IsDirty() ||
        (m_grid && m_grid->isDirty()))
        return true;
    const uint64_t id = GetId();
    return std::any_of(m_renderList.begin(), m_renderList.end(),
                       [id](const EntityPtr& e) { return e && e->NeedsDrawIn(id); });
}

void VenueView3D::OnRefreshTimer()
{
    if (!NeedsRepaint())
        return;
    // The frame stays owed until paintGL draws it: a view waited on settles only once it shows
    // everything, not when it merely asked.
    m_repaintNeeded = true;
    CatchUp();
    update();
}

void VenueView3D::CatchUp()
{
    Camera& camera = m_viewport.GetCamera();
    if (m_viewport.IsDirty() || camera.IsDirty())
    {
        if (m_viewport.IsDirty())
            m_viewport.UpdateProjection();
        m_viewport.SetDirty(false);
        if (camera.IsDirty())
            camera.UpdateViewMatrix();
        camera.SetDirty(false);
        if (m_grid)
            m_grid->UpdateLayout(m_viewport);
    }
    else if (m_grid && m_grid->isDirty())
    {
        m_grid->UpdateLayout(m_viewport);
    }
}

void VenueView3D::initializeGL()
{
    initializeOpenGLFunctions();
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &VenueView3D::ReleaseGL,
            Qt::UniqueConnection);
    m_renderer->Initialize();
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start(kRefreshIntervalMs);
}

void VenueView3D::ReleaseGL()
{
    if (!m_renderer || !m_renderer->IsInitialized() || context() == nullptr)
        return;
    makeCurrent();
    for (const EntityPtr& entity : m_renderList)
    {
        if (!entity)
            continue;
        entity->ReleaseGeometry();
        // Another view may still show it: its next frame rebuilds what was freed here.
        entity->setDirty(true);
    }
    m_renderer->Release();
    // Its paint engine keeps resources of this context.
    m_paintDevice.reset();
    doneCurrent();
}

void VenueView3D::resizeGL(int w, int h)
{
    m_viewport.Resize(w, h);
}

void VenueView3D::paintGL()
{
    // Qt paints straight after a resize, before the refresh timer has seen it: without this
    // the frame after a resize (the very first one too) used the old camera and grid. Whatever
    // asked for this frame, it shows everything: the next tick must not draw the same again.
    m_repaintNeeded = false;
    CatchUp();
    m_renderer->Render(m_renderList);
}

void VenueView3D::EmitMouse(QMouseEvent* event)
{
    MouseEvent me;
    me.type = static_cast<uint32_t>(event->type());
    me.modifiers = ModifierFlags(event->modifiers());
    me.localPos = event->localPos();
    me.screenPos = event->screenPos();
    me.buttons = static_cast<uint32_t>(event->buttons());
    me.timestamp = static_cast<uint32_t>(event->timestamp());
    me.windowPos = event->windowPos();
    me.button = static_cast<uint32_t>(event->button());
    emit mouseEvent(me);
}

void VenueView3D::mousePressEvent(QMouseEvent* event)
{
    EmitMouse(event);
}

void VenueView3D::mouseReleaseEvent(QMouseEvent* event)
{
    EmitMouse(event);
}

void VenueView3D::mouseDoubleClickEvent(QMouseEvent* event)
{
    EmitMouse(event);
}

void VenueView3D::mouseMoveEvent(QMouseEvent* event)
{
    EmitMouse(event);
}

void VenueView3D::wheelEvent(QWheelEvent* event)
{
    MouseEvent me;
    me.type = static_cast<uint32_t>(event->type());
    me.modifiers = ModifierFlags(event->modifiers());
    me.localPos = event->position();
    me.screenPos = event->globalPosition();
    me.buttons = static_cast<uint32_t>(event->buttons());
    me.timestamp = static_cast<uint32_t>(event->timestamp());
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    me.wheelDelta = event->delta();
    me.wheelOrientation = static_cast<int>(event->orientation());
    QT_WARNING_POP
    emit mouseEvent(me);
}
} // namespace zorvpro::view
