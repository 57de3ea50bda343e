#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>

namespace zorvpro
{
// The kind of a changed value, passed along with it.
namespace ValueKind
{
constexpr std::uint32_t Bool = 0;
constexpr std::uint32_t Color = 1;
constexpr std::uint32_t Double = 2;
constexpr std::uint32_t Other = 4;
} // namespace ValueKind

// Receives changed property values and focus changes, by property name.
class IPropertyChangeListener
{
public:
    virtual ~IPropertyChangeListener() = default;
    virtual void propertyValueChanged(const QString& name, std::uint32_t valueKind,
                                      const QVariant& value) = 0;
    virtual void propertyFocusChanged(const QString& name, bool gained) = 0;
};
} // namespace zorvpro
