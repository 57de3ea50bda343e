#pragma once

#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/GridControl/MyPropertyButton.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

class QLabel;
class QTimer;

namespace zorvpro
{
class MyPropertyButton;

// The speaker tab's one-row bar that shows the coverage map, switches
// automatic calculation, offers "Recalculate" while it is off and shows an
// animated status while the acoustics engine is busy.
class SplLiveMapControls : public BoundPropertiesGrid
{
public:
    SplLiveMapControls();
    ~SplLiveMapControls() override;

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void createProperties() override;
    void layoutProperties() override;
    void updateProperty(const QString& name, const QVariant& value) override;

    // Polls the current engine once; the status timer calls it every second.
    void onStatusTimer();
    // One step of the status text: dots cycle while busy, cleared when idle.
    void updateCalculationStatus(bool busy);

    MyPropertyButton* recalculateButton() const { return recalculateButton_.data(); }
    QLabel* statusLabel() const { return statusLabel_; }
    QLabel* autoCalculateLabel() const { return autoCalculateLabel_; }
    QTimer* statusTimer() const { return statusTimer_.get(); }

private:
    void applyVisibility(const QString& name, const QVariant& value);

    // Deleted first on destruction; watched in case its container went first.
    QPointer<MyPropertyButton> recalculateButton_;
    QLabel* autoCalculateLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    std::uint32_t statusCounter_ = 0;
    std::unique_ptr<QTimer> statusTimer_;
};
} // namespace zorvpro
