#pragma once

#include "views/Common/IToolbarPositionListener.h"
#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/GridControl/IconRenderer.h"

#include <cstdint>

namespace zorvpro
{
// Where a tab page puts one of its tool bars.
namespace ToolBarPlacement
{
constexpr std::uint32_t PlanView = 0;
constexpr std::uint32_t SideView = 1;
constexpr std::uint32_t Right = 2;
} // namespace ToolBarPlacement

// The tool bar of the venue and speaker tabs. A page makes one per placement
// (above the plan view, above the side view, docked right); each makes the
// same buttons but lays out and shows only its placement's share, and
// follows the link state of the views' zoom and the tool-bar position.
class ToolBarControl : public BoundPropertiesGrid, public IToolbarPositionListener
{
public:
    // Tab 0 venue, 1 speaker.
    ToolBarControl(std::uint32_t tab, std::uint32_t placement);

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void createProperties() override;
    void layoutProperties() override;
    void updateProperty(const QString& name, const QVariant& value) override;
    // 0 top, 1 right.
    void toolbarPositionChanged(const int& position) override;

    // A tool button's icon in both themes (Normal, Active and Disabled, Off;
    // the link button also On).
    static IconRenderer createToolIcon(int icon);

    std::uint32_t tab() const { return tab_; }
    std::uint32_t placement() const { return placement_; }

private:
    void applyLinkState(bool linked);
    void layoutPlanBar();
    void layoutSideBar();
    void layoutRightBar();
    QWidget* widgetOf(int item) const;

    std::uint32_t tab_;
    std::uint32_t placement_;
};
} // namespace zorvpro
