#pragma once

#include "views/Adapters/Spl/ISplPropertiesPanel.h"

namespace zorvpro
{
class SplPropertiesControl;

// The speaker tab's SPL properties panel as the coverage-map adapter drives it.
class SplPanelLink final : public ISplPropertiesPanel
{
public:
    explicit SplPanelLink(SplPropertiesControl& panel) : m_panel(panel) {}

    void updateProperty(const QString& name, const QVariant& value) override;
    void setSliderValues(double low, double high) override;
    void setColorMap(ColorFunction colorOf) override;
    void setSplRange(double low, double high) override;
    void setFrequencyLabel(const QString& label) override;

private:
    SplPropertiesControl& m_panel;
};
} // namespace zorvpro
