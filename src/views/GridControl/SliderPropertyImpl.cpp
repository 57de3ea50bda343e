#include "views/GridControl/SliderPropertyImpl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/MySlider.h"
#include "views/GridControl/PropertyKind.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <QHBoxLayout>
#include <stdexcept>

namespace zorvpro
{
namespace
{
std::unique_ptr<IBindablePropertyImpl> CreateSlider(const QString& name)
{
    return std::make_unique<SliderPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::Slider, &CreateSlider);

QString StepButtonStyle(const char* fontSize)
{
    return makeStyleSheetRule("", {{"border", "none"}, {"font-style", "bold"}, {"font-size", fontSize}});
}
} // namespace

SliderPropertyImpl::SliderPropertyImpl(const QString& name)
    : QWidget(nullptr), IBindablePropertyImpl(PropertyKind::Slider)
{
    (void)kRegistered;
    subtract_ = new MyPropertyButton(this);
    slider_ = new MySlider(Qt::Horizontal, this);
    add_ = new MyPropertyButton(this);
    CheckTextEmpty(name);
    CheckAlloc(subtract_);
    CheckAlloc(slider_);
    CheckAlloc(add_);
    setObjectName(name);
    setName(name);
    subtract_->setObjectName(name + "SubtractButton");
    slider_->setObjectName(name + "Slider");
    add_->setObjectName(name + "AddButton");

    auto* layout = new QHBoxLayout(this);
    CheckAlloc(layout);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    subtract_->setText("-");
    subtract_->setFixedSize(16, 11);
    subtract_->setStyleSheet(StepButtonStyle("24px"));
    slider_->setTracking(true);
    slider_->setFixedHeight(16);
    add_->setText("+");
    add_->setFixedSize(16, 10);
    add_->setStyleSheet(StepButtonStyle("22px"));

    layout->addWidget(subtract_);
    layout->addWidget(slider_);
    layout->addWidget(add_);
    setFixedWidth(110);

    focusPolicy_ = add_->focusPolicy();
    connect(slider_, &QSlider::valueChanged, this,
            [this](int) { raiseEvent(BoundPropertyEvent::ValueChanged); });
    for (QWidget* child : {static_cast<QWidget*>(subtract_), static_cast<QWidget*>(add_)})
    {
        auto* button = static_cast<MyPropertyButton*>(child);
        connect(button, &MyPropertyButton::focusGained, this, [this] { focusInEvent(nullptr); });
        connect(button, &MyPropertyButton::focusLost, this, [this] { focusOutEvent(nullptr); });
    }
    connect(slider_, &MySlider::focusGained, this, [this] { focusInEvent(nullptr); });
    connect(slider_, &MySlider::focusLost, this, [this] { focusOutEvent(nullptr); });
    // The slider clamps a step past either end, which then changes nothing.
    connect(subtract_, &QPushButton::clicked, this, [this] { slider_->setValue(slider_->value() - 1); });
    connect(add_, &QPushButton::clicked, this, [this] { slider_->setValue(slider_->value() + 1); });
    slider_->setFocusPolicy(Qt::NoFocus);
}

void SliderPropertyImpl::configure(int minimum, int maximum)
{
    if (minimum >= maximum)
    {
        const std::logic_error error("min is greater than or equal to max");
        OmbraxLogger::LogException(error, __FILE__, "configure", __LINE__);
        throw error;
    }
    UpdatingScope scope(*this);
    slider_->setRange(minimum, maximum);
}

void SliderPropertyImpl::focusInEvent(QFocusEvent* event)
{
    raiseEvent(BoundPropertyEvent::FocusGained);
    if (event != nullptr)
        QWidget::focusInEvent(event);
}

void SliderPropertyImpl::focusOutEvent(QFocusEvent* event)
{
    raiseEvent(BoundPropertyEvent::FocusLost);
    if (event != nullptr)
        QWidget::focusOutEvent(event);
}

void SliderPropertyImpl::squish_set_display_value(const QVariant& value)
{
    if (value.userType() != QMetaType::Int)
    {
        OmbraxLogger::LogException(std::logic_error("QVariant is not of type integer expected by API."),
                                   __FILE__, "squish_set_display_value", __LINE__);
        return;
    }
    const int steps = value.toInt();
    MyPropertyButton* button = steps < 0 ? subtract_ : add_;
    for (int i = 0; i < qAbs(steps); ++i)
        button->click();
}

QVariant SliderPropertyImpl::squish_display_value() const
{
    return squish_bound_value();
}

void SliderPropertyImpl::setWidgetFocus(bool on)
{
    if (on)
        slider_->setFocus(Qt::OtherFocusReason);
    else
        slider_->clearFocus();
}

bool SliderPropertyImpl::widgetHasFocus() const
{
    return slider_->hasFocus();
}

QVariant SliderPropertyImpl::currentValue() const
{
    return QVariant(slider_->value());
}

void SliderPropertyImpl::updateStyle(int) {}

void SliderPropertyImpl::setEditable(bool enabled, bool clearWhenDisabled)
{
    setEnabled(enabled);
    const Qt::FocusPolicy policy = enabled ? focusPolicy_ : Qt::NoFocus;
    add_->setFocusPolicy(policy);
    slider_->setFocusPolicy(policy);
    subtract_->setFocusPolicy(policy);
    if (!enabled && clearWhenDisabled)
    {
        // Clearing is not a user's edit: it reports nothing.
        UpdatingScope scope(*this);
        slider_->setValue(slider_->maximum() / 2);
    }
}

bool SliderPropertyImpl::onSetBoundValue(const QVariant& value)
{
    bool isInteger = false;
    const int number = value.toString().toInt(&isInteger, 10);
    if (!isInteger)
    {
        OmbraxLogger::LogException(std::logic_error("Unexpected bound value type received"), __FILE__,
                                   "onSetBoundValue", __LINE__);
        return false;
    }
    slider_->setValue(number);
    return true;
}
} // namespace zorvpro
