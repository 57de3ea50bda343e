#include "views/Tabs/Speaker/SplLiveMapControls.h"

#include "acoustics/engine/IZorvAcoustics.h"
#include "core/Base/ApplicationSeam.h"
#include "views/Common/PropertyName.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/PropertyErrors.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSpacerItem>
#include <QTimer>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("SplLiveMapControls", text);
}

const QString& EmptyStatusText()
{
    static const QString empty;
    return empty;
}

constexpr std::uint32_t kFree = BoundPropertiesGrid::kFreeWidth;
} // namespace

SplLiveMapControls::SplLiveMapControls() : BoundPropertiesGrid(QStringLiteral("SplLiveMapControls"))
{
    try
    {
        recalculateButton_ = BindableProperty::createButton(
            toPropertyName(BeamSpeakerItem::Spl_RecalculateButton), Tr("Recalculate"), false);
        autoCalculateLabel_ = createLabel(Tr("Auto-calculate:"), kFree);
        statusLabel_ = createLabel(QString(), kFree);
        statusLabel_->setObjectName(QStringLiteral("CalcEngineStatusLabel"));
        statusTimer_ = std::make_unique<QTimer>();
        createProperties();
        layoutProperties();
        statusTimer_->setInterval(1000);
        QObject::connect(statusTimer_.get(), &QTimer::timeout, statusTimer_.get(),
                         [this] { onStatusTimer(); });
        statusTimer_->start();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "SplLiveMapControls", __LINE__);
    }
}

SplLiveMapControls::~SplLiveMapControls()
{
    if (statusTimer_)
        statusTimer_->stop();
    delete recalculateButton_.data();
}

void SplLiveMapControls::createProperties()
{
    BindableProperty* showMap = BindableProperty::createToggleSwitch(
        toPropertyName(BeamSpeakerItem::Spl_ShowSplMap), Tr("OFF"), Tr("ON"));
    bindProperty(showMap);
    showMap->setValue(true, false);
    showMap->widget()->setToolTip(Tr("Show/hide the SPL map"));

    BindableProperty* autoCalculate = BindableProperty::createToggleSwitch(
        toPropertyName(BeamSpeakerItem::Spl_AutoCalculate), Tr("OFF"), Tr("ON"));
    bindProperty(autoCalculate);
    autoCalculate->setValue(false, false);
    autoCalculate->widget()->setToolTip(Tr("Automatically calculate SPL as objects in the venue change"));
}

void SplLiveMapControls::layoutProperties()
{
    addWidgetToGrid(createLabel(QStringLiteral("Show SPL Map:"), kFree), 0, 0);
    addWidgetToGrid(getProperty(toPropertyName(BeamSpeakerItem::Spl_ShowSplMap))->widget(), 0, 1);
    addWidgetToGrid(createLabel(QString(14, QLatin1Char(' ')), kFree), 0, 2);
    addWidgetToGrid(autoCalculateLabel_, 0, 3);
    addWidgetToGrid(getProperty(toPropertyName(BeamSpeakerItem::Spl_AutoCalculate))->widget(), 0, 4);
    // The gap before the status gives way to its text: a calculation's dots must not widen the
    // row, which would take the width from the properties panel beside the views and make it
    // scroll sideways for as long as the calculation runs.
    QLabel* statusGap = createLabel(QString(16, QLatin1Char(' ')), kFree);
    statusGap->setMinimumWidth(1);
    addWidgetToGrid(statusGap, 0, 5);
    addWidgetToGrid(statusLabel_, 0, 6, 1, 2);
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 7);
    recalculateButton_->setFixedSize(160, 24);
    recalculateButton_->setToolTip(Tr("Recalculate the SPL map"));
    QObject::connect(recalculateButton_, &MyPropertyButton::clicked, widget(),
                     [this]
                     {
                         onPropertyEvent(BoundPropertyEvent::ValuePassedThrough,
                                         toPropertyName(BeamSpeakerItem::Spl_RecalculateButton), QVariant());
                     });
    addWidgetToGrid(recalculateButton_, 0, 8);
}

void SplLiveMapControls::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                         const QVariant& value)
{
    if (event == BoundPropertyEvent::ValueChanged)
        applyVisibility(propName, value);
    BoundPropertiesGrid::onPropertyEvent(event, propName, value);
}

void SplLiveMapControls::updateProperty(const QString& name, const QVariant& value)
{
    applyVisibility(name, value);
    BoundPropertiesGrid::updateProperty(name, value);
}

void SplLiveMapControls::applyVisibility(const QString& name, const QVariant& value)
{
    if (name == toPropertyName(BeamSpeakerItem::Spl_ShowSplMap))
    {
        const bool shown = value.toBool();
        getProperty(toPropertyName(BeamSpeakerItem::Spl_AutoCalculate))->widget()->setVisible(shown);
        autoCalculateLabel_->setVisible(shown);
        statusLabel_->setVisible(shown);
        const bool autoCalculate =
            getProperty(toPropertyName(BeamSpeakerItem::Spl_AutoCalculate))->value().toBool();
        recalculateButton_->setVisible(shown && !autoCalculate);
    }
    else if (name == toPropertyName(BeamSpeakerItem::Spl_AutoCalculate))
    {
        recalculateButton_->setVisible(!value.toBool());
    }
}

void SplLiveMapControls::onStatusTimer()
{
    const auto engine = CurrentAcousticsEngine();
    updateCalculationStatus(engine != nullptr && engine->isBusy());
}

void SplLiveMapControls::updateCalculationStatus(bool busy)
{
    if (busy)
    {
        ++statusCounter_;
        if (statusCounter_ >= 5)
            statusCounter_ = 1;
    }
    else
    {
        statusCounter_ = 0;
    }
    if (statusCounter_ == 0)
        statusLabel_->setText(EmptyStatusText());
    else
        statusLabel_->setText(Tr("SPL calculating") +
                              QString(static_cast<int>(statusCounter_ - 1), QLatin1Char('.')));
}
} // namespace zorvpro
