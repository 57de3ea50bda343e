#pragma once

namespace zorvpro
{
// Told where the tool bars are docked: 0 top, 1 right.
class IToolbarPositionListener
{
public:
    virtual ~IToolbarPositionListener() = default;
    virtual void toolbarPositionChanged(const int& position) = 0;
};
} // namespace zorvpro
