// Turns the raw mouse events of one venue view into mouse actions for the
// editing framework: hit-tests the pointer, runs the press/drag/release state
// machine (entity drag, handle drag, area selection, pan), zooms on the wheel
// and chooses the cursor. It decides nothing about the model.
#pragma once

#include "views/Render/CursorOverride.h"
#include "views/Render/Entity.h"
#include "views/Render/MouseAction.h"
#include "views/Render/MouseEvent.h"

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <cstdint>
#include <functional>
#include <memory>

namespace zorvpro::view
{

// What the owner of a view lends its mouse handler.
struct MouseCallbacks
{
    std::function<HitPointPtr(int x, int y)> hitTest;
    std::function<double(const MouseEvent&)> zoomGetter;
    std::function<void(double zoom, QPointF position)> zoomSetter;
};

namespace MouseState
{
constexpr uint32_t Idle = 0;
constexpr uint32_t EntityDrag = 1;
constexpr uint32_t AreaSelection = 3;
constexpr uint32_t Pan = 4;
constexpr uint32_t HandleDrag = 5;
} // namespace MouseState

// Cursor requests: Qt cursor shapes by number, or one of these.
namespace CursorRequest
{
constexpr uint32_t VerticalResize = 5;
constexpr uint32_t HorizontalResize = 6;
constexpr uint32_t DiagonalSlash = 7;
constexpr uint32_t DiagonalBackslash = 8;
constexpr uint32_t SizeAll = 9;
constexpr uint32_t PointingHand = 13;
constexpr uint32_t ClosedHand = 18;
constexpr uint32_t Keep = 1000;
constexpr uint32_t Default = 1001;
constexpr uint32_t Rotate = 1002;
constexpr uint32_t Locked = 1003; // stored; the cursor stays as it is
} // namespace CursorRequest

// Modifier flags of a MouseEvent.
constexpr uint32_t kControlModifier = 4;

class MouseHandler : public QObject
{
    Q_OBJECT

public:
    MouseHandler();
    ~MouseHandler() override;

    void SetCallbacks(uint64_t tag, std::shared_ptr<MouseCallbacks> callbacks);
    CursorOverride& GetCursorOverride() { return m_cursor; }
    uint32_t State() const { return m_state; }
    uint32_t LastCursorRequest() const { return m_cursorRequest; }
    uint64_t Tag() const { return m_tag; }

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Type questions of the editing framework.
    virtual bool IsModelEntity(const EntityPtr& entity) const;
    virtual bool IsEditAdorner(const EntityPtr& entity) const;

public slots:
    void OnMouseEvent(zorvpro::view::MouseEvent event);

signals:
    void MouseAction(zorvpro::view::MouseAction ma);

protected:
    virtual void OnDoubleClick(const MouseEvent& event);
    virtual void OnMouseMove(const MouseEvent& event);
    virtual void OnMousePress(const MouseEvent& event);
    virtual void OnMouseRelease(const MouseEvent& event);
    virtual void OnWheel(const MouseEvent& event);
    virtual bool CanStartHandleDrag(const HitPointPtr& hit) const;
    virtual void OnHover(const HitPointPtr& hit, uint32_t modifiers);

    void EmitMouseAction(uint32_t state, uint32_t cursorRequest, uint32_t action, bool control);
    void RequestCursor(uint32_t request);

    const HitPointPtr& CurrentHit() const { return m_hit; }
    const EntityPtr& HitEntity() const { return m_hitEntity; }

private:
    std::shared_ptr<MouseCallbacks> m_callbacks;
    QPoint m_pressPosition;
    QPoint m_position;
    QPoint m_delta;
    HitPointPtr m_hit;
    EntityPtr m_hitEntity;
    uint64_t m_tag = 0;
    uint32_t m_state = MouseState::Idle;
    CursorOverride m_cursor;
    uint32_t m_cursorRequest = CursorRequest::Default;
};

// True when the modifier flags are Control alone.
inline bool IsControl(uint32_t modifiers)
{
    return modifiers == kControlModifier;
}

} // namespace zorvpro::view
