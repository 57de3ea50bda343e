#pragma once

namespace zorvpro
{
// Makes the default locale omit group separators, so that property widgets
// show "12345.68" and read back what they show. Call once at start-up,
// before any widget exists (widgets copy the default locale when created).
void UseLocaleWithoutGroupSeparators();
} // namespace zorvpro
