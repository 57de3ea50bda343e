#pragma once

#include "views/GridControl/IBindablePropertyImpl.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace zorvpro
{
// Widget kinds register how they are built, so that the property facade
// never depends on the widgets built on top of it. Each kind registers from
// its own source file at static initialisation.
class PropertyKindRegistry
{
public:
    using Creator = std::unique_ptr<IBindablePropertyImpl> (*)(const QString& name);

    // False (and nothing changes) when the kind already has a creator.
    static bool Register(std::uint32_t kind, Creator creator);
    // The widget for the kind; a number that names no kind builds a toggle
    // switch. Empty when the kind has no creator linked in.
    static std::unique_ptr<IBindablePropertyImpl> Create(std::uint32_t kind, const QString& name);
};
} // namespace zorvpro
