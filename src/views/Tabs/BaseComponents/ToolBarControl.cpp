#include "views/Tabs/BaseComponents/ToolBarControl.h"

#include "views/Common/PropertyName.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/PropertyErrors.h"

#include <QCoreApplication>
#include <QFrame>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QSpacerItem>

namespace zorvpro
{
namespace
{
using Item = BeamSpeakerItem;

QString Tr(const char* text)
{
    return QCoreApplication::translate("ToolBarControl", text);
}

QString Name(Item item)
{
    return toPropertyName(item);
}

QString Blanks(int count)
{
    return QString(count, QLatin1Char(' '));
}

// Icon numbers of the compiled-in icon files.
namespace Icon
{
constexpr int AddSurface = 0;
constexpr int AddSpeaker = 2;
constexpr int Undo = 4;
constexpr int Redo = 5;
constexpr int RemoveEntity = 6;
constexpr int LinkViews = 7;
constexpr int ZoomToFit = 8;
} // namespace Icon

constexpr std::uint32_t kVenueTab = 0;
constexpr std::uint32_t kSpeakerTab = 1;
constexpr std::uint32_t kFree = BoundPropertiesGrid::kFreeWidth;
} // namespace

ToolBarControl::ToolBarControl(std::uint32_t tab, std::uint32_t placement)
    : BoundPropertiesGrid(QStringLiteral("ToolBar")), tab_(tab), placement_(placement)
{
    try
    {
        createProperties();
        layoutProperties();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "ToolBarControl", __LINE__);
    }
}

IconRenderer ToolBarControl::createToolIcon(int icon)
{
    IconRenderer renderer;
    for (const int theme : {1, 0})
    {
        for (const int mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled})
            renderer.addFile(icon, theme, mode, QIcon::Off);
        if (icon == Icon::LinkViews)
            for (const int mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled})
                renderer.addFile(icon, theme, mode, QIcon::On);
    }
    return renderer;
}

void ToolBarControl::createProperties()
{
    const QString tabWord = tab_ == kVenueTab ? QStringLiteral("Venue") : QStringLiteral("Speaker");
    const QString placementWord = placement_ == ToolBarPlacement::PlanView   ? QStringLiteral("PlanView")
                                  : placement_ == ToolBarPlacement::SideView ? QStringLiteral("SideView")
                                                                             : QStringLiteral("Right");
    widget()->setObjectName(tabWord + placementWord + widget()->objectName());

    const bool venue = tab_ == kVenueTab;
    auto iconButton =
        [this](Item item, int icon, bool checkable, const QKeySequence& shortcut, const QString& tip)
    {
        BindableProperty* button =
            BindableProperty::createIconButton(Name(item), createToolIcon(icon), checkable, shortcut);
        bindProperty(button);
        button->widget()->setToolTip(tip);
    };
    iconButton(Item::Toolbar_AddEntity, venue ? Icon::AddSurface : Icon::AddSpeaker, false, QKeySequence(),
               venue ? Tr("Add a new surface") : Tr("Add a new loudspeaker"));
    iconButton(Item::Toolbar_Undo, Icon::Undo, false, QKeySequence(QKeySequence::Undo),
               Tr("Undo the last command"));
    iconButton(Item::Toolbar_Redo, Icon::Redo, false, QKeySequence(QKeySequence::Redo),
               Tr("Redo the most recent undone command"));
    iconButton(Item::Toolbar_DeleteEntity, Icon::RemoveEntity, false, QKeySequence(QKeySequence::Delete),
               venue ? Tr("Delete selected surface") : Tr("Delete selected loudpeaker"));

    BindableProperty* throwLines =
        BindableProperty::createToggleSwitch(Name(Item::Toolbar_ThrowLines), Tr("OFF"), Tr("ON"));
    bindProperty(throwLines);
    throwLines->setValue(true, false);
    throwLines->widget()->setToolTip(Tr("Toggle throw lines on/off"));

    for (const Item item : {Item::Toolbar_SliderPlan, Item::Toolbar_SliderSide})
    {
        BindableProperty* slider = BindableProperty::createSlider(Name(item), 1, 100);
        bindProperty(slider);
        slider->widget()->setToolTip(Tr("Zoom in/out on the selected venue"));
    }
    iconButton(Item::Toolbar_LinkViews, Icon::LinkViews, true, QKeySequence(), Tr("Unlink zoom"));
    iconButton(Item::Toolbar_ZoomToFit, Icon::ZoomToFit, false, QKeySequence(), Tr("Zoom to fit"));
}

QWidget* ToolBarControl::widgetOf(int item) const
{
    return getProperty(Name(static_cast<Item>(item)))->widget();
}

void ToolBarControl::layoutProperties()
{
    if (placement_ == ToolBarPlacement::PlanView)
        layoutPlanBar();
    else if (placement_ == ToolBarPlacement::SideView)
        layoutSideBar();
    else
        layoutRightBar();
    widget()->layout()->setContentsMargins(0, 0, 0, 0);
    widget()->setContentsMargins(0, 0, 0, 0);
    widget()->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    getProperty(Name(Item::Toolbar_ThrowLines))->setValue(true, true);
}

void ToolBarControl::layoutPlanBar()
{
    auto item = [](Item i) { return static_cast<int>(i); };
    addWidgetToGrid(widgetOf(item(Item::Toolbar_AddEntity)), 0, 1, 1, 1, Qt::AlignCenter);
    addWidgetToGrid(createLabel(Blanks(3), kFree), 0, 2);
    addWidgetToGrid(widgetOf(item(Item::Toolbar_Undo)), 0, 3);
    addWidgetToGrid(widgetOf(item(Item::Toolbar_Redo)), 0, 4);
    addWidgetToGrid(createLabel(Blanks(3), kFree), 0, 5);
    addWidgetToGrid(widgetOf(item(Item::Toolbar_DeleteEntity)), 0, 6);
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 7);
    int c = 8;
    if (tab_ == kSpeakerTab)
    {
        addWidgetToGrid(createLabel(QStringLiteral("Throw Lines:"), kFree), 0, 8);
        addWidgetToGrid(widgetOf(item(Item::Toolbar_ThrowLines)), 0, 9);
        addWidgetToGrid(createLabel(Blanks(17), kFree), 0, 10);
        c = 11;
    }
    addWidgetToGrid(widgetOf(item(Item::Toolbar_SliderPlan)), 0, c);
    addWidgetToGrid(createLabel(Blanks(3), kFree), 0, c + 1);
    addWidgetToGrid(widgetOf(item(Item::Toolbar_LinkViews)), 0, c + 2);
    addWidgetToGrid(createLabel(Blanks(3), kFree), 0, c + 3);
    addWidgetToGrid(widgetOf(item(Item::Toolbar_ZoomToFit)), 0, c + 4);
    addWidgetToGrid(createLabel(Blanks(3), kFree), 0, c + 5);
}

void ToolBarControl::layoutSideBar()
{
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 0);
    addWidgetToGrid(widgetOf(static_cast<int>(Item::Toolbar_SliderSide)), 0, 1);
    addWidgetToGrid(createLabel(Blanks(3), kFree), 0, 2);
    addWidgetToGrid(widgetOf(static_cast<int>(Item::Toolbar_LinkViews)), 0, 3);
    addWidgetToGrid(createLabel(Blanks(14), kFree), 0, 4);
}

void ToolBarControl::layoutRightBar()
{
    for (int row = 0; row < 3; ++row)
        addWidgetToGrid(createLabel(Blanks(2), kFree), row, 0, 1, 2);
    addWidgetToGrid(widgetOf(static_cast<int>(Item::Toolbar_AddEntity)), 3, 0, 1, 2, Qt::AlignCenter);
    addWidgetToGrid(widgetOf(static_cast<int>(Item::Toolbar_Undo)), 4, 0, 1, 1, Qt::AlignCenter);
    addWidgetToGrid(widgetOf(static_cast<int>(Item::Toolbar_Redo)), 4, 1, 1, 1, Qt::AlignCenter);
    addWidgetToGrid(widgetOf(static_cast<int>(Item::Toolbar_DeleteEntity)), 5, 0, 1, 2, Qt::AlignCenter);
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding), 6, 0);
}

void ToolBarControl::applyLinkState(bool linked)
{
    QWidget* link = widgetOf(static_cast<int>(Item::Toolbar_LinkViews));
    link->setToolTip(linked ? Tr("Unlink zoom") : Tr("Link zoom"));
    if (placement_ == ToolBarPlacement::SideView)
    {
        widgetOf(static_cast<int>(Item::Toolbar_SliderSide))->setVisible(!linked);
        link->setVisible(!linked);
    }
}

void ToolBarControl::onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value)
{
    if (event == BoundPropertyEvent::ValueChanged && propName == Name(Item::Toolbar_LinkViews))
        applyLinkState(value.toBool());
    BoundPropertiesGrid::onPropertyEvent(event, propName, value);
}

void ToolBarControl::updateProperty(const QString& name, const QVariant& value)
{
    if (name == Name(Item::Toolbar_LinkViews))
        applyLinkState(value.toBool());
    BoundPropertiesGrid::updateProperty(name, value);
}

void ToolBarControl::toolbarPositionChanged(const int& position)
{
    constexpr int kTop = 0;
    constexpr int kRight = 1;
    if (placement_ == ToolBarPlacement::PlanView)
    {
        for (const Item item :
             {Item::Toolbar_AddEntity, Item::Toolbar_Undo, Item::Toolbar_Redo, Item::Toolbar_DeleteEntity})
            widgetOf(static_cast<int>(item))->setVisible(position == kTop);
    }
    else if (placement_ != ToolBarPlacement::SideView)
    {
        widget()->setVisible(position == kRight);
    }
}
} // namespace zorvpro
