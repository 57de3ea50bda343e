#pragma once

#include "views/GridControl/IBindablePropertyUpdater.h"

#include <QColor>
#include <QString>
#include <functional>

namespace zorvpro
{
// What the SPL adapter drives in the speaker tab's SPL properties panel: the bound values
// (through the updater), the range slider's handles and colour scale, the shown range and the
// remembered band label.
class ISplPropertiesPanel : public IBindablePropertyUpdater
{
public:
    using ColorFunction = std::function<QColor(double)>;

    virtual void setSliderValues(double low, double high) = 0;
    virtual void setColorMap(ColorFunction colorOf) = 0;
    virtual void setSplRange(double low, double high) = 0;
    virtual void setFrequencyLabel(const QString& label) = 0;
};
} // namespace zorvpro
