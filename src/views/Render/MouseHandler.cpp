#include "views/Render/MouseHandler.h"

#include "core/Logger/OmbraxLogger.h"
#include "views/Render/AdornerEntity.h"
#include "views/Render/HitPoint.h"

#include <QEvent>
#include <QKeyEvent>
#include <cstdlib>

namespace zorvpro::view
{

namespace
{
constexpr int kClickSlopPixels = 3;
constexpr double kDefaultZoom = 50.0;
constexpr double kWheelDeltaPerZoomStep = 30.0;

const int kMetaTypes = []
{
    qRegisterMetaType<zorvpro::view::MouseAction>("zorvpro::view::MouseAction");
    qRegisterMetaType<zorvpro::view::MouseEvent>("zorvpro::view::MouseEvent");
    return 0;
}();

bool IsAdorner(const EntityPtr& entity)
{
    return dynamic_cast<const AdornerEntity*>(entity.get()) != nullptr;
}
} // namespace

MouseHandler::MouseHandler() : QObject(nullptr)
{
    (void)kMetaTypes;
}

MouseHandler::~MouseHandler()
{
    m_cursor.Restore();
}

void MouseHandler::SetCallbacks(uint64_t tag, std::shared_ptr<MouseCallbacks> callbacks)
{
    m_tag = tag;
    m_callbacks = std::move(callbacks);
}

bool MouseHandler::IsModelEntity(const EntityPtr&) const
{
    return false;
}

bool MouseHandler::IsEditAdorner(const EntityPtr&) const
{
    return false;
}

void MouseHandler::OnMouseEvent(MouseEvent event)
{
    if (m_callbacks && m_callbacks->hitTest)
        m_hit = m_callbacks->hitTest(qRound(event.localPos.x()), qRound(event.localPos.y()));
    else
        m_hit.reset();
    m_hitEntity = m_hit ? m_hit->entity : EntityPtr();

    const QPoint position(qRound(event.localPos.x()), qRound(event.localPos.y()));
    switch (event.type)
    {
    case QEvent::MouseButtonPress:
        m_pressPosition = m_position = position;
        m_delta = QPoint();
        OnMousePress(event);
        break;
    case QEvent::MouseButtonRelease:
        m_position = position;
        OnMouseRelease(event);
        break;
    case QEvent::MouseButtonDblClick:
        m_pressPosition = m_position = position;
        m_delta = QPoint();
        OnDoubleClick(event);
        break;
    case QEvent::MouseMove:
        m_delta = position - m_position;
        m_position = position;
        OnMouseMove(event);
        break;
    case QEvent::Wheel:
        OnWheel(event);
        break;
    default:
        break;
    }
}

void MouseHandler::EmitMouseAction(uint32_t state, uint32_t cursorRequest, uint32_t action, bool control)
{
    m_state = state;
    RequestCursor(cursorRequest);
    if (action == MouseActionCode::None)
        return;
    view::MouseAction ma;
    ma.delta = m_delta;
    ma.entity = m_hit ? m_hit->entity : EntityPtr();
    ma.hit = m_hit;
    ma.position = m_position;
    ma.action = action;
    ma.tag = m_tag;
    ma.control = control;
    emit MouseAction(ma);
}

void MouseHandler::RequestCursor(uint32_t request)
{
    if (request == CursorRequest::Keep || request == m_cursorRequest)
        return;
    switch (request)
    {
    case CursorRequest::VerticalResize:
    case CursorRequest::HorizontalResize:
    case CursorRequest::DiagonalSlash:
    case CursorRequest::DiagonalBackslash:
    case CursorRequest::SizeAll:
    case CursorRequest::PointingHand:
    case CursorRequest::ClosedHand:
        m_cursor.ApplyShape(static_cast<Qt::CursorShape>(request));
        break;
    case CursorRequest::Default:
        m_cursor.Restore();
        break;
    case CursorRequest::Rotate:
        m_cursor.ApplyRotateCursor();
        break;
    case CursorRequest::Locked:
        break;
    default:
        OmbraxLogger::Log(LogLevel::Error, "Unknown cursor request");
        break;
    }
    m_cursorRequest = request;
}

void MouseHandler::OnDoubleClick(const MouseEvent&) {}

void MouseHandler::OnMousePress(const MouseEvent& event)
{
    const EntityPtr& e = m_hitEntity;
    const bool adorner = IsAdorner(e);
    const bool visible = e && e->isVisible();
    const bool locked = e && e->isLocked();
    const bool control = IsControl(event.modifiers);
    const bool handleDrag = CanStartHandleDrag(m_hit);

    uint32_t state = m_state;
    uint32_t cursor = CursorRequest::Keep;
    uint32_t action = MouseActionCode::None;
    if (e && !adorner && !control && visible)
    {
        state = MouseState::EntityDrag;
        if (locked)
            cursor = CursorRequest::Locked;
        else
            cursor = CursorRequest::SizeAll, action = MouseActionCode::EntityPress;
    }
    else if (!control && (!e || !visible))
    {
        state = MouseState::AreaSelection;
        action = MouseActionCode::AreaPress;
    }
    else if (!control)
    {
        state = MouseState::HandleDrag;
        action = MouseActionCode::HandlePress;
    }
    else if (!handleDrag)
    {
        state = MouseState::Pan;
        action = MouseActionCode::PanPress;
        cursor = (!e || adorner) ? CursorRequest::ClosedHand
                 : locked        ? CursorRequest::Locked
                                 : CursorRequest::Default;
    }
    else if (adorner)
    {
        state = MouseState::HandleDrag;
        action = MouseActionCode::HandlePress;
    }
    EmitMouseAction(state, cursor, action, control);
}

void MouseHandler::OnMouseMove(const MouseEvent& event)
{
    uint32_t cursor = CursorRequest::Keep;
    uint32_t action = MouseActionCode::None;
    switch (m_state)
    {
    case MouseState::Idle:
        OnHover(m_hit, event.modifiers);
        break;
    case MouseState::EntityDrag:
        if (m_hitEntity && m_hitEntity->isLocked())
            cursor = CursorRequest::Locked;
        action = MouseActionCode::EntityMove;
        break;
    case MouseState::AreaSelection:
        action = MouseActionCode::AreaMove;
        break;
    case MouseState::Pan:
        cursor = CursorRequest::ClosedHand;
        action = MouseActionCode::PanMove;
        break;
    case MouseState::HandleDrag:
        action = MouseActionCode::HandleMove;
        break;
    default:
        break;
    }
    EmitMouseAction(m_state, cursor, action, IsControl(event.modifiers));
}

void MouseHandler::OnMouseRelease(const MouseEvent& event)
{
    const bool control = IsControl(event.modifiers);
    uint32_t state = m_state;
    uint32_t action = MouseActionCode::None;
    switch (m_state)
    {
    case MouseState::HandleDrag:
        state = MouseState::Idle;
        action = MouseActionCode::HandleRelease;
        break;
    case MouseState::Pan:
    {
        state = MouseState::Idle;
        const QPoint moved = m_position - m_pressPosition;
        const EntityPtr& e = m_hitEntity;
        const bool click = std::abs(moved.x()) <= kClickSlopPixels &&
                           std::abs(moved.y()) <= kClickSlopPixels && e && !IsAdorner(e) && e->isVisible() &&
                           control && !e->isLocked();
        action = click ? MouseActionCode::EntityPress : MouseActionCode::PanRelease;
        break;
    }
    case MouseState::EntityDrag:
        state = MouseState::Idle;
        action = MouseActionCode::EntityRelease;
        break;
    case MouseState::AreaSelection:
        state = MouseState::Idle;
        action = MouseActionCode::AreaRelease;
        break;
    default:
        break;
    }
    EmitMouseAction(state, CursorRequest::Default, action, control);
}

void MouseHandler::OnWheel(const MouseEvent& event)
{
    const double zoom =
        (m_callbacks && m_callbacks->zoomGetter) ? m_callbacks->zoomGetter(event) : kDefaultZoom;
    if (m_callbacks && m_callbacks->zoomSetter)
        m_callbacks->zoomSetter(zoom + event.wheelDelta / kWheelDeltaPerZoomStep, event.localPos);
}

bool MouseHandler::CanStartHandleDrag(const HitPointPtr&) const
{
    return false;
}

void MouseHandler::OnHover(const HitPointPtr&, uint32_t) {}

bool MouseHandler::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
    {
        if (static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier)
            OmbraxLogger::Log(LogLevel::Info, QStringLiteral("Modifier down %1").arg(m_tag));
    }
    else if (event->type() == QEvent::KeyRelease)
    {
        if (!(static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier))
            OmbraxLogger::Log(LogLevel::Info, QStringLiteral("Modifier up %1").arg(m_tag));
    }
    else if (event->type() == QEvent::Leave)
    {
        // A hover cursor belongs to the view; nothing of it may stay once the pointer is gone.
        RequestCursor(CursorRequest::Default);
    }
    (void)watched;
    return false;
}

} // namespace zorvpro::view
