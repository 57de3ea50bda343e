// A high-level mouse action of one view, as the editing framework receives it.
#pragma once

#include "views/Render/Entity.h"

#include <QMetaType>
#include <QPoint>
#include <cstdint>

namespace zorvpro::view
{

namespace MouseActionCode
{
constexpr uint32_t None = 0;
constexpr uint32_t EntityPress = 1; // also a control click on an entity
constexpr uint32_t HandlePress = 2;
constexpr uint32_t HandleMove = 3;
constexpr uint32_t HandleRelease = 4;
constexpr uint32_t PanPress = 5;
constexpr uint32_t PanMove = 6;
constexpr uint32_t PanRelease = 7;
constexpr uint32_t EntityMove = 8;
constexpr uint32_t EntityRelease = 9;
constexpr uint32_t AreaPress = 10;
constexpr uint32_t AreaMove = 11;
constexpr uint32_t AreaRelease = 12;
} // namespace MouseActionCode

struct MouseAction
{
    QPoint delta;
    EntityPtr entity;
    HitPointPtr hit;
    QPoint position;
    uint32_t action = 0;
    uint64_t tag = 0;
    bool control = false;
};

} // namespace zorvpro::view

Q_DECLARE_METATYPE(zorvpro::view::MouseAction)
