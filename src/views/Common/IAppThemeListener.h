#pragma once

namespace zorvpro
{
// Told of the theme: 1 light ("Day"), 0 dark ("Night").
class IAppThemeListener
{
public:
    virtual ~IAppThemeListener() = default;
    virtual void themeChanged(const int& theme) = 0;
};
} // namespace zorvpro
