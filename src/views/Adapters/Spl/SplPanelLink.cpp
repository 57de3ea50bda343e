#include "views/Adapters/Spl/SplPanelLink.h"

#include "views/Tabs/Speaker/SplPropertiesControl.h"

namespace zorvpro
{
void SplPanelLink::updateProperty(const QString& name, const QVariant& value)
{
    m_panel.updateProperty(name, value);
}

void SplPanelLink::setSliderValues(double low, double high)
{
    m_panel.setSliderValues(low, high);
}

void SplPanelLink::setColorMap(ColorFunction colorOf)
{
    m_panel.setColorMap(std::move(colorOf));
}

void SplPanelLink::setSplRange(double low, double high)
{
    m_panel.setSplRange(low, high);
}

void SplPanelLink::setFrequencyLabel(const QString& label)
{
    m_panel.setFrequencyLabel(label);
}
} // namespace zorvpro
