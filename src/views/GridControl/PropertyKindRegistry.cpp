#include "views/GridControl/PropertyKindRegistry.h"

#include "views/GridControl/PropertyKind.h"

#include <map>

namespace zorvpro
{
namespace
{
std::map<std::uint32_t, PropertyKindRegistry::Creator>& Creators()
{
    static std::map<std::uint32_t, PropertyKindRegistry::Creator> creators;
    return creators;
}

bool IsNamedKind(std::uint32_t kind)
{
    switch (kind)
    {
    case PropertyKind::ColorPicker:
    case PropertyKind::Icon:
    case PropertyKind::Tab:
    case PropertyKind::ComboBox:
    case PropertyKind::LineEdit:
    case PropertyKind::MultiLineEdit:
    case PropertyKind::ToggleSwitch:
    case PropertyKind::Slider:
        return true;
    default:
        return false;
    }
}
} // namespace

bool PropertyKindRegistry::Register(std::uint32_t kind, Creator creator)
{
    if (creator == nullptr)
        return false;
    return Creators().emplace(kind, creator).second;
}

std::unique_ptr<IBindablePropertyImpl> PropertyKindRegistry::Create(std::uint32_t kind, const QString& name)
{
    const std::uint32_t built = IsNamedKind(kind) ? kind : PropertyKind::ToggleSwitch;
    const auto it = Creators().find(built);
    if (it == Creators().end())
        return nullptr;
    return it->second(name);
}
} // namespace zorvpro
