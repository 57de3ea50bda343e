#pragma once

namespace zorvpro
{
// Registers the compiled-in icon files under ":/Resources/Icons/". The
// resource object sits in a static library, where the linker would drop it
// unless something calls into it; users of the icons call this first. Safe
// to call any number of times.
void InitIconResources();
} // namespace zorvpro
