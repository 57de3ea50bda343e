#include "views/GridControl/IconPropertyImpl.h"

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
std::unique_ptr<IBindablePropertyImpl> CreateIconButton(const QString& name)
{
    return std::make_unique<IconPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::Icon, &CreateIconButton);
} // namespace

IconPropertyImpl::IconPropertyImpl(const QString& name) : IconPropertyImpl(name, PropertyKind::Icon) {}

IconPropertyImpl::IconPropertyImpl(const QString& name, std::uint32_t kind)
    : MyPropertyButton(nullptr), IBindablePropertyImpl(kind)
{
    (void)kRegistered;
    CheckTextEmpty(name);
    setName(name);
    setObjectName(name);
    setMinimumSize(16, 16);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    focusPolicy_ = focusPolicy();
    connect(this, &QPushButton::clicked, this,
            [this](bool checked)
            {
                refreshIcon(checked);
                raiseEvent(BoundPropertyEvent::ValueChanged);
            });
    connect(this, &MyPropertyButton::focusGained, this,
            [this] { raiseEvent(BoundPropertyEvent::FocusGained); });
    connect(this, &MyPropertyButton::focusLost, this, [this] { raiseEvent(BoundPropertyEvent::FocusLost); });
}

void IconPropertyImpl::setRenderer(const IconRenderer& renderer, bool twoState)
{
    if (&renderer != &renderer_)
        renderer_ = renderer;
    setCheckable(twoState);
    // Shown at once: a button given its icons should not stay blank until
    // the first hover or value.
    refreshIcon(isChecked());
}

void IconPropertyImpl::setSelected(bool selected)
{
    if (selected == selected_)
        return; // the icon already shows this state
    selected_ = selected;
    refreshIcon(isChecked());
}

void IconPropertyImpl::refreshIcon(bool on)
{
    QIcon::Mode mode = QIcon::Normal;
    if (selected_)
        mode = QIcon::Selected;
    else if (!isEnabled())
        mode = QIcon::Disabled;
    else if (hovered_)
        mode = QIcon::Active;
    renderer_.applyToButton(this, mode, on ? QIcon::On : QIcon::Off);
    if (icon().isNull())
        return;
    // Setting a style sheet repolishes the button even when the text is the same.
    const QString sheet =
        makeStyleSheetRule("QPushButton", {{"border", "none"}, {"background-color", "none"}});
    if (styleSheet() != sheet)
        setStyleSheet(sheet);
}

void IconPropertyImpl::enterEvent(QEvent* event)
{
    hovered_ = true;
    refreshIcon(isChecked());
    MyPropertyButton::enterEvent(event);
}

void IconPropertyImpl::leaveEvent(QEvent* event)
{
    hovered_ = false;
    refreshIcon(isChecked());
    MyPropertyButton::leaveEvent(event);
}

void IconPropertyImpl::squish_set_display_value(const QVariant& value)
{
    const QString text = value.toString().toUpper();
    if (text != "OFF" && text != "ON")
    {
        OmbraxLogger::LogException(std::logic_error("Label specified does not match label of OFF/ON"),
                                   __FILE__, "squish_set_display_value", __LINE__);
        return;
    }
    const bool wantOn = (text == "ON");
    if (!isCheckable() || wantOn != isChecked())
        click();
}

QVariant IconPropertyImpl::squish_display_value() const
{
    return QVariant(QString(currentValue().toBool() ? "ON" : "OFF"));
}

void IconPropertyImpl::setWidgetFocus(bool on)
{
    if (on)
        setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
}

bool IconPropertyImpl::widgetHasFocus() const
{
    return hasFocus();
}

QVariant IconPropertyImpl::currentValue() const
{
    return QVariant(isChecked());
}

void IconPropertyImpl::updateStyle(int theme)
{
    renderer_.themeChanged(theme);
    refreshIcon(isChecked());
}

void IconPropertyImpl::setEditable(bool enabled, bool clearWhenDisabled)
{
    setEnabled(enabled);
    setFocusPolicy(enabled ? focusPolicy_ : Qt::NoFocus);
    if (!enabled && clearWhenDisabled)
        setValue(false, false);
    refreshIcon(isChecked());
}

bool IconPropertyImpl::onSetBoundValue(const QVariant& value)
{
    if (value.userType() != QMetaType::Bool)
    {
        OmbraxLogger::LogException(std::logic_error("Boolean is the expected type for this property"),
                                   __FILE__, "onSetBoundValue", __LINE__);
        return false;
    }
    setChecked(value.toBool());
    refreshIcon(value.toBool());
    return true;
}
} // namespace zorvpro
