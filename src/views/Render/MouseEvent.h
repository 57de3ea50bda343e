// One mouse or wheel event of a venue view, as the tab's mouse handler receives it.
#pragma once

#include <QMetaType>
#include <QPointF>
#include <cstdint>

namespace zorvpro::view
{
struct MouseEvent
{
    uint32_t type = 0;      // QEvent type: 2 press, 3 release, 4 double-click, 5 move, 31 wheel
    uint32_t modifiers = 0; // 1 shift, 4 control, 8 alt
    QPointF localPos;
    QPointF screenPos;
    uint32_t buttons = 0;
    uint32_t timestamp = 0;
    int wheelDelta = 0;       // eighths of a degree
    int wheelOrientation = 0; // Qt::Orientation of a wheel event
    QPointF windowPos;        // (0, 0) for wheel events
    uint32_t button = 0;      // the button behind the event; 0 for wheel events
};
} // namespace zorvpro::view

Q_DECLARE_METATYPE(zorvpro::view::MouseEvent)
