#pragma once

#include "views/GridControl/BoundPropertiesGrid.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace zorvpro
{
class BindableProperty;

// The venue tab's panel for the selected surface: reference point, shape,
// rotation, the four corners and the ear height. The corners can be typed
// only while the panel is editable (the surface is not locked) and the surface
// stands at a multiple of a right angle.
class SurfacePropertiesControl : public BoundPropertiesGrid
{
public:
    SurfacePropertiesControl();

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void createProperties() override;
    void layoutProperties() override;
    void updateProperty(const QString& name, const QVariant& value) override;
    // The corners follow as well, but stay locked while the rotation forbids them.
    void setEditable(bool enabled, bool clearWhenDisabled) override;

    // A line edit of the panel with the bounds its item allows.
    BindableProperty* createSurfaceLineEdit(const QString& name, std::uint32_t unitType);
    // Corners are editable at multiples of a right angle (within 1e-5 rad).
    void updateCornerEditability(double rotation);

private:
    std::vector<BindableProperty*> cornerEdits_;
    bool editable_ = true;
    bool rightAngle_ = true;
};
} // namespace zorvpro
