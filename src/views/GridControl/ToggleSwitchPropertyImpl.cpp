#include "views/GridControl/ToggleSwitchPropertyImpl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPropertyAnimation>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

namespace zorvpro
{
namespace
{
std::unique_ptr<IBindablePropertyImpl> CreateToggleSwitch(const QString& name)
{
    return std::make_unique<ToggleSwitchPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::ToggleSwitch, &CreateToggleSwitch);

constexpr int kAnimationMs = 120;
constexpr qreal kRadius = 12.0;
// Room either side of a selector label, in pixels.
constexpr int kLabelPadding = 8;

QColor Pick(bool light, const char* lightColor, const char* darkColor)
{
    return QColor(QLatin1String(light ? lightColor : darkColor));
}
} // namespace

ToggleSwitchPropertyImpl::ToggleSwitchPropertyImpl(const QString& name)
    : MyPropertyButton(nullptr), IBindablePropertyImpl(PropertyKind::ToggleSwitch)
{
    (void)kRegistered;
    animation_ = new QPropertyAnimation(this, "offset", this);
    CheckAlloc(animation_);
    CheckTextEmpty(name);
    setObjectName(name);
    setName(name);
    setMinimumHeight(20);
    setFixedHeight(20);
    setMaximumHeight(20);
    setFixedWidth(35);
    setCheckable(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    connect(this, &QAbstractButton::clicked, this,
            [this]
            {
                queueAnimation();
                raiseEvent(BoundPropertyEvent::ValueChanged);
            });
    connect(this, &MyPropertyButton::focusGained, this,
            [this] { raiseEvent(BoundPropertyEvent::FocusGained); });
    connect(this, &MyPropertyButton::focusLost, this, [this] { raiseEvent(BoundPropertyEvent::FocusLost); });
    setFocusPolicy(Qt::TabFocus);
    focusPolicy_ = focusPolicy();
    setValue(false, false);
    offset_ = knobSize_ / 2;
    update();
    knobCentreHeight_ = 7;
}

void ToggleSwitchPropertyImpl::setLabels(const QString& offLabel, const QString& onLabel)
{
    if (offLabel.isEmpty())
        throw std::logic_error("OFF label was empty");
    if (onLabel.isEmpty())
        throw std::logic_error("ON label was empty");
    offLabel_ = offLabel;
    onLabel_ = onLabel;
    if (offLabel != QLatin1String("OFF") && onLabel != QLatin1String("ON"))
    {
        // A selector takes the width of the grid cell it is put into.
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        setMinimumHeight(24);
        setFixedHeight(24);
        setMaximumHeight(24);
        const QFontMetrics metrics(font());
        const int widest = std::max(metrics.horizontalAdvance(offLabel), metrics.horizontalAdvance(onLabel));
        setMinimumWidth(2 * (widest + 2 * kLabelPadding));
        setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

bool ToggleSwitchPropertyImpl::isKnobLook() const
{
    return offLabel_ == QLatin1String("OFF") && onLabel_ == QLatin1String("ON");
}

void ToggleSwitchPropertyImpl::setOffset(int offset)
{
    offset_ = offset;
    update();
}

void ToggleSwitchPropertyImpl::queueAnimation()
{
    QTimer::singleShot(0, this, [this] { animate(isChecked()); });
}

void ToggleSwitchPropertyImpl::animate(bool on)
{
    animation_->stop();
    animation_->setDuration(kAnimationMs);
    if (on)
    {
        animation_->setStartValue(knobSize_ / 2);
        animation_->setEndValue(width() - knobSize_);
    }
    else
    {
        animation_->setStartValue(offset_);
        animation_->setEndValue(knobSize_ / 2);
    }
    animation_->start();
}

bool ToggleSwitchPropertyImpl::onSetBoundValue(const QVariant& value)
{
    if (value.userType() != QMetaType::Bool)
    {
        OmbraxLogger::LogException(std::logic_error("Boolean is the expected type for this property"),
                                   __FILE__, "onSetBoundValue", __LINE__);
        return false;
    }
    const bool on = value.toBool();
    if (on != isChecked())
    {
        setChecked(on);
        queueAnimation();
    }
    return true;
}

void ToggleSwitchPropertyImpl::squish_set_display_value(const QVariant& value)
{
    const QString text = value.toString().toUpper();
    const bool off = text == offLabel_.toUpper();
    const bool on = text == onLabel_.toUpper();
    if (!off && !on)
    {
        OmbraxLogger::LogException(
            std::logic_error("Label specified does not match label of OFF/ON switch of the toggle property"),
            __FILE__, "squish_set_display_value", __LINE__);
        return;
    }
    if ((off && isChecked()) || (on && !isChecked()))
        click();
}

QVariant ToggleSwitchPropertyImpl::squish_display_value() const
{
    return isChecked() ? onLabel_ : offLabel_;
}

void ToggleSwitchPropertyImpl::setWidgetFocus(bool on)
{
    if (on)
        setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
}

bool ToggleSwitchPropertyImpl::widgetHasFocus() const
{
    return hasFocus();
}

QVariant ToggleSwitchPropertyImpl::currentValue() const
{
    return QVariant(isChecked());
}

void ToggleSwitchPropertyImpl::updateStyle(int theme)
{
    // Takes effect with the next paint.
    lightTheme_ = theme == 1;
}

void ToggleSwitchPropertyImpl::setEditable(bool enabled, bool clearWhenDisabled)
{
    setEnabled(enabled);
    setFocusPolicy(enabled ? focusPolicy_ : Qt::NoFocus);
    if (!enabled && clearWhenDisabled)
        setValue(false, false);
    updateStyle(lightTheme_ ? 1 : 0);
}

void ToggleSwitchPropertyImpl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    const bool focused = hasFocus();
    if (focused)
    {
        painter.setPen(Pick(lightTheme_, "#000000", "#FFFFFF"));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(0, 0, width(), height()), kRadius, kRadius);
    }
    if (isKnobLook())
        paintKnob(painter, focused);
    else
        paintSegments(painter, focused);
    event->accept();
}

void ToggleSwitchPropertyImpl::paintKnob(QPainter& painter, bool focused)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? Pick(lightTheme_, "#575757", "#cccccc")
                                 : Pick(lightTheme_, "#e0e0e0", "#3b3b3b"));
    const QRectF track = focused ? QRectF(1, 1, width() - 2, height() - 2) : QRectF(0, 0, width(), height());
    painter.drawRoundedRect(track, kRadius, kRadius);
    if (!isChecked() && !focused)
    {
        // The off track is the colour of the bars the switches sit on (the live-map bar, the
        // dark tool bars): without a rim the switch all but vanishes there.
        painter.setPen(QPen(Pick(lightTheme_, "#999999", "#777777"), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(Pick(lightTheme_, "#FFFFFF", "#000000"));
    const int diameter = height() - 4;
    painter.drawEllipse(
        QRectF(offset_ - knobSize_ / 2 + 3, knobCentreHeight_ - knobSize_ / 2 + 2, diameter, diameter));
}

void ToggleSwitchPropertyImpl::paintSegments(QPainter& painter, bool focused)
{
    if (focused)
        painter.setPen(Pick(lightTheme_, "#000000", "#FFFFFF"));
    else
        painter.setPen(Qt::NoPen);
    painter.setBrush(Pick(lightTheme_, "#e0e0e0", "#3d3d3d"));
    painter.drawRoundedRect(QRectF(0, 0, width(), height()), kRadius, kRadius);

    const qreal half = width() / 2.0;
    const QRectF left(0, 0, half, height());
    const QRectF right(half, 0, width() - half, height());
    const QRectF chosen = isChecked() ? right : left;
    const QRectF other = isChecked() ? left : right;
    painter.setPen(Pick(lightTheme_, "#aaaaaa", "#777777"));
    painter.drawText(other, Qt::AlignCenter, isChecked() ? offLabel_ : onLabel_);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Pick(lightTheme_, "#575757", "#cccccc"));
    painter.drawRoundedRect(chosen, kRadius, kRadius);
    painter.setPen(Pick(lightTheme_, "#F8F8F8", "#000000"));
    painter.drawText(chosen, Qt::AlignCenter, isChecked() ? onLabel_ : offLabel_);
}

BindableProperty* BindableProperty::createToggleSwitch(const QString& name, const QString& offLabel,
                                                       const QString& onLabel)
{
    try
    {
        auto property = std::make_unique<BindableProperty>(PropertyKind::ToggleSwitch, name);
        auto* toggle = dynamic_cast<ToggleSwitchPropertyImpl*>(property->impl());
        CheckAlloc(toggle);
        toggle->setLabels(offLabel, onLabel);
        return property.release();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "createToggleSwitch", __LINE__);
    }
}
} // namespace zorvpro
