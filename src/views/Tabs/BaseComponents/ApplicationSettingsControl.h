#pragma once

#include "views/GridControl/BoundPropertiesGrid.h"

class QLabel;

namespace zorvpro
{
// The "APPLICATION SETTINGS" page: two-way switches for the measurement
// units, the temperature units, the tool-bar location and the colour theme.
// It only passes events to its listener and shows what comes back.
class ApplicationSettingsControl : public BoundPropertiesGrid
{
public:
    ApplicationSettingsControl();

    void createProperties() override;
    void layoutProperties() override;
    void themeChanged(const int& theme) override;

    QLabel* titleLabel() const { return title_; }

private:
    QLabel* title_ = nullptr;
};
} // namespace zorvpro
