#include "views/GridControl/ComboBoxPropertyImpl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/AppThemeSource.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/OwnKeys.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <QAbstractItemView>
#include <QTimer>
#include <stdexcept>

namespace zorvpro
{
namespace
{
std::unique_ptr<IBindablePropertyImpl> CreateComboBox(const QString& name)
{
    return std::make_unique<ComboBoxPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::ComboBox, &CreateComboBox);
} // namespace

ComboBoxPropertyImpl::ComboBoxPropertyImpl(const QString& name)
    : QComboBox(nullptr), IBindablePropertyImpl(PropertyKind::ComboBox),
      lightTheme_(CurrentAppTheme() == 1)
{
    (void)kRegistered;
    CheckTextEmpty(name);
    setName(name);
    setObjectName(name);
    focusPolicy_ = focusPolicy();
    setCursor(Qt::PointingHandCursor);
    connect(this, &QComboBox::textHighlighted, this,
            [this](const QString& text) { raiseEvent(BoundPropertyEvent::ValuePassedThrough, text); });
    connect(this, &QComboBox::currentTextChanged, this,
            [this](const QString&) { raiseEvent(BoundPropertyEvent::ValueChanged); });
}

void ComboBoxPropertyImpl::selectFirstSilently()
{
    // Lowered again afterwards: a flag left raised would swallow the user's
    // next choice.
    UpdatingScope scope(*this);
    setCurrentIndex(0);
}

void ComboBoxPropertyImpl::setOptions(const QStringList& options)
{
    {
        UpdatingScope scope(*this);
        clear();
        addItems(options);
    }
    selectFirstSilently();
}

void ComboBoxPropertyImpl::squish_set_display_value(const QVariant& value)
{
    setValue(value, true);
}

QVariant ComboBoxPropertyImpl::squish_display_value() const
{
    return squish_bound_value();
}

void ComboBoxPropertyImpl::setWidgetFocus(bool on)
{
    if (on)
        setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
}

bool ComboBoxPropertyImpl::widgetHasFocus() const
{
    return hasFocus();
}

QVariant ComboBoxPropertyImpl::currentValue() const
{
    return currentText();
}

void ComboBoxPropertyImpl::updateStyle(int theme)
{
    lightTheme_ = theme == 1;
    const bool light = lightTheme_;
    QString color = light ? QStringLiteral("#000000") : QStringLiteral("#FFFFFF");
    if (!isEnabled())
        color = light ? QStringLiteral("#cccccc") : QStringLiteral("#575757");
    const QString box = makeStyleSheetRule(
        QStringLiteral("QComboBox"),
        {{QStringLiteral("background-color"), light ? QStringLiteral("#e0e0e0") : QStringLiteral("#3b3b3b")},
         {QStringLiteral("color"), color}});
    const QString focus =
        makeStyleSheetRule(QStringLiteral("QComboBox:focus"),
                           {{QStringLiteral("border"), light ? QStringLiteral("1px solid #000000")
                                                             : QStringLiteral("1px solid #FFFFFF")}});
    setStyleSheet(box + focus);
}

void ComboBoxPropertyImpl::setEditable(bool enabled, bool clearWhenDisabled)
{
    setEnabled(enabled);
    setFocusPolicy(enabled ? focusPolicy_ : Qt::NoFocus);
    if (!enabled && clearWhenDisabled)
        selectFirstSilently();
    updateStyle(lightTheme_ ? 1 : 0);
}

bool ComboBoxPropertyImpl::onSetBoundValue(const QVariant& value)
{
    const int index = findText(value.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
    {
        OmbraxLogger::LogException(std::logic_error("Bound value specified is not a combo box option"),
                                   __FILE__, "onSetBoundValue", __LINE__);
        return false;
    }
    setCurrentIndex(index);
    return true;
}

void ComboBoxPropertyImpl::hidePopup()
{
    // Qt also calls this when the box is disabled or cleared, with no list
    // open: only the user closing the list is worth a report.
    const bool wasOpen = view() != nullptr && view()->isVisible();
    QComboBox::hidePopup();
    if (!wasOpen)
        return;
    // Closing the list reports the current option once more, chosen or not,
    // unless the panel was cleared or disabled meanwhile: what it shows then
    // is no choice of the user's.
    QTimer::singleShot(0, this,
                       [this]
                       {
                           if (isVisible() && isEnabled())
                               raiseEvent(BoundPropertyEvent::ValueChanged);
                       });
}

bool ComboBoxPropertyImpl::event(QEvent* event)
{
    // The keys that step through the options.
    if (TakeOwnKeys(event,
                    {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End}))
        return true;
    return QComboBox::event(event);
}

void ComboBoxPropertyImpl::focusInEvent(QFocusEvent* event)
{
    raiseEvent(BoundPropertyEvent::FocusGained);
    QComboBox::focusInEvent(event);
}

void ComboBoxPropertyImpl::focusOutEvent(QFocusEvent* event)
{
    raiseEvent(BoundPropertyEvent::FocusLost);
    QComboBox::focusOutEvent(event);
}

BindableProperty* BindableProperty::createComboBox(const QString& name)
{
    try
    {
        auto* property = new BindableProperty(PropertyKind::ComboBox, name);
        CheckAlloc(property);
        return property;
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "createComboBox", __LINE__);
    }
}
} // namespace zorvpro
