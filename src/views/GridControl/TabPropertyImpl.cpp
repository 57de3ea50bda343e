#include "views/GridControl/TabPropertyImpl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/PropertyKind.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <stdexcept>

namespace zorvpro
{
namespace
{
std::unique_ptr<IBindablePropertyImpl> CreateTabButton(const QString& name)
{
    return std::make_unique<TabPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::Tab, &CreateTabButton);
} // namespace

TabPropertyImpl::TabPropertyImpl(const QString& name) : IconPropertyImpl(name, PropertyKind::Tab)
{
    (void)kRegistered;
    CheckTextEmpty(name);
    setObjectName(name);
    setName(name);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setCheckable(true);
    setMinimumWidth(200);
    // The base reports the click too, so one click raises two value changes.
    connect(this, &QPushButton::clicked, this,
            [this](bool checked)
            {
                applyTabStyle(checked);
                raiseEvent(BoundPropertyEvent::ValueChanged);
            });
    setValue(false, false);
}

void TabPropertyImpl::setTextAndIcons(const QString& text, const IconRenderer& renderer)
{
    setText(text);
    if (renderer.hasBothThemes())
        setRenderer(renderer, false);
}

void TabPropertyImpl::squish_set_display_value(const QVariant&)
{
    click();
}

QVariant TabPropertyImpl::squish_display_value() const
{
    return squish_bound_value();
}

void TabPropertyImpl::updateStyle(int theme)
{
    if (hasIconsForBothThemes())
    {
        IconPropertyImpl::updateStyle(theme);
        return;
    }
    lightTheme_ = (theme == 1);
    applyTabStyle(isChecked());
}

bool TabPropertyImpl::onSetBoundValue(const QVariant& value)
{
    if (hasIconsForBothThemes())
        return IconPropertyImpl::onSetBoundValue(value);
    if (value.userType() != QMetaType::Bool)
    {
        OmbraxLogger::LogException(std::logic_error("Boolean is the expected type for this property"),
                                   __FILE__, "onSetBoundValue", __LINE__);
        return false;
    }
    applyTabStyle(value.toBool());
    setChecked(value.toBool());
    return true;
}

void TabPropertyImpl::applyTabStyle(bool checked)
{
    const bool marked = checked && isCheckable();
    const QString button =
        makeStyleSheetRule("QPushButton", {{"border", "none"},
                                           {"border-radius", "0px"},
                                           {"background-color", lightTheme_ ? "#242424" : "#F8F8F8"},
                                           {"color", lightTheme_ ? "#FFFFFF" : "#000000"},
                                           {"font-size", "16px"},
                                           {"font-family", marked ? "\"Gotham Bold\"" : "\"Gotham\""},
                                           {"text-decoration", marked ? "underline" : "none"}});
    const QString focus = makeStyleSheetRule(
        "QPushButton:focus", {{"outline", lightTheme_ ? "1px solid #000000" : "1px solid #FFFFFF"},
                              {"outline-style", "outset"},
                              {"outline-radius", "0px"},
                              {"border", "none"}});
    setStyleSheet(button + focus);
}
} // namespace zorvpro
