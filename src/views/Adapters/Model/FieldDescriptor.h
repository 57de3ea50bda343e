#pragma once

#include "core/Nodes/Node.h"
#include "views/Render/Entity.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace zorvpro
{
// One editable property of one value type: its item number, the undo text ("%1" is the node's
// name) and how to read it from the entity and write it to the entity and to the node. A table
// is an array of these ended by a descriptor with an empty text.
template <typename T> struct FieldDescriptor
{
    std::uint32_t id = 0;
    QString undoText;
    std::function<T(const view::EntityPtr&)> getter;
    std::function<void(const view::EntityPtr&, T)> entitySetter;
    std::function<void(const NodePtr&, T)> nodeSetter;
};

// The same for a property that exists once per beam of a steerable array.
template <typename T> struct IndexedFieldDescriptor
{
    std::uint32_t id = 0;
    QString undoText;
    std::uint32_t index = 0;
    std::function<T(const view::EntityPtr&, int)> getter;
    std::function<void(const view::EntityPtr&, int, T)> entitySetter;
    std::function<void(const NodePtr&, int, T)> nodeSetter;
};

template <typename T, typename Getter, typename EntitySetter, typename NodeSetter>
void MakeField(FieldDescriptor<T>& field, std::uint32_t id, const QString& undoText, Getter getter,
               EntitySetter entitySetter, NodeSetter nodeSetter)
{
    field.id = id;
    field.undoText = undoText;
    field.getter = std::move(getter);
    field.entitySetter = std::move(entitySetter);
    field.nodeSetter = std::move(nodeSetter);
}

template <typename T, typename Getter, typename EntitySetter, typename NodeSetter>
void MakeField(IndexedFieldDescriptor<T>& field, std::uint32_t id, std::uint32_t index,
               const QString& undoText, Getter getter, EntitySetter entitySetter, NodeSetter nodeSetter)
{
    field.id = id;
    field.index = index;
    field.undoText = undoText;
    field.getter = std::move(getter);
    field.entitySetter = std::move(entitySetter);
    field.nodeSetter = std::move(nodeSetter);
}

// The descriptor whose id matches, searched up to the terminator (the first empty text).
template <typename Descriptor> const Descriptor* FindField(const Descriptor* table, std::uint32_t id)
{
    for (const Descriptor* field = table; !field->undoText.isEmpty(); ++field)
        if (field->id == id)
            return field;
    return nullptr;
}
} // namespace zorvpro
