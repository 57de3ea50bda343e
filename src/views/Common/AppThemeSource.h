#pragma once

namespace zorvpro
{
// Where the theme in force can be read: 1 light ("Day"), 0 dark ("Night").
class IAppThemeSource
{
public:
    virtual ~IAppThemeSource() = default;
    virtual int getTheme() const = 0;
};

// The application's source; the theme adapter registers itself when it is
// created. Null unregisters. GUI thread only.
void SetAppThemeSource(const IAppThemeSource* source);

// The registered source's theme, for a widget built between two theme
// notices; light while none is registered, as the adapter starts.
int CurrentAppTheme();
} // namespace zorvpro
