#include "views/Tabs/Speaker/SplPropertiesControl.h"

#include "acoustics/model/FrequencyBands.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/PropertyName.h"
#include "views/Common/SplTypes.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/GridControl/UnitType.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <stdexcept>

namespace zorvpro
{
namespace
{
constexpr const char* kContext = "SplPropertiesControl";

QString Tr(const char* text)
{
    return QCoreApplication::translate(kContext, text);
}

QString Name(BeamSpeakerItem item)
{
    return toPropertyName(item);
}

QStringList ToQStringList(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

bool IsBandRange(std::int32_t code)
{
    return code == acoustics::AllBands || code == acoustics::VocalBands;
}

constexpr std::uint32_t kFree = BoundPropertiesGrid::kFreeWidth;
} // namespace

SplPropertiesControl::SplPropertiesControl()
    : BoundPropertiesGrid(QStringLiteral("SplPropertiesControl")),
      bandwidthName_(QString::fromStdString(acoustics::splBandwidthName(acoustics::VocalBands))),
      bandwidthOptions_(kContext, acoustics::splBandwidthNames()),
      resolutionOptions_(kContext, acoustics::splResolutionNames())
{
    try
    {
        createProperties();
        layoutProperties();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "SplPropertiesControl", __LINE__);
    }
}

SplPropertiesControl::~SplPropertiesControl() = default;

void SplPropertiesControl::createProperties()
{
    BindableProperty* mode = BindableProperty::createComboBox(Name(BeamSpeakerItem::Spl_Mode));
    bindProperty(mode);
    mode->setComboBoxOptions(bandwidthOptions_.texts());
    mode->widget()->setFixedHeight(20);
    mode->widget()->setToolTip(Tr("Bandwidth"));

    BindableProperty* frequency = BindableProperty::createComboBox(Name(BeamSpeakerItem::Spl_Freq));
    bindProperty(frequency);
    frequency->setComboBoxOptions(ToQStringList(acoustics::bandLabels(bandwidth_)));
    frequency->widget()->setMaximumWidth(135);
    frequency->widget()->setToolTip(Tr("Frequency of SPL data"));

    for (const BeamSpeakerItem item : {BeamSpeakerItem::Spl_Max_dB, BeamSpeakerItem::Spl_Min_dB})
    {
        BindableProperty* level = BindableProperty::createLineEdit(
            Name(item), static_cast<std::uint32_t>(UnitType::Decibels), 50, 36.0, 132.0, 0);
        bindProperty(level);
        level->widget()->setFixedSize(95, 20);
    }

    BindableProperty* autoAdjust =
        BindableProperty::createToggleSwitch(Name(BeamSpeakerItem::Spl_Auto_Adjust), Tr("OFF"), Tr("ON"));
    bindProperty(autoAdjust);
    autoAdjust->widget()->setToolTip(Tr("Automatically adjust SPL range to fit the current SPL data"));

    BindableProperty* resolution = BindableProperty::createComboBox(Name(BeamSpeakerItem::Spl_Res));
    bindProperty(resolution);
    resolution->setComboBoxOptions(resolutionOptions_.texts());
    resolution->widget()->setMaximumWidth(80);
    resolution->widget()->setFixedHeight(20);
    resolution->widget()->setToolTip(Tr("Resolution"));
}

void SplPropertiesControl::layoutProperties()
{
    auto sectionTitle = [this](const char* text)
    {
        QLabel* title = createLabel(Tr(text), kFree);
        QFont font = title->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
        title->setFont(font);
        return title;
    };
    auto emptyRow = [this](int row) { addWidgetToGrid(createLabel(QString(), kFree), row, 0, 1, 2); };
    auto widgetOf = [this](BeamSpeakerItem item) { return getProperty(Name(item))->widget(); };

    addWidgetToGrid(sectionTitle("SPL MODE"), 0, 0, 1, 2);
    modeSeparator_ = createSeparator(QFrame::HLine);
    modeSeparator_->setFixedHeight(1);
    addWidgetToGrid(modeSeparator_, 1, 0, 1, 2);
    emptyRow(2);
    addWidgetToGrid(createLabel(Tr("Bandwidth:"), kFree), 3, 0);
    addWidgetToGrid(widgetOf(BeamSpeakerItem::Spl_Mode), 3, 1);
    emptyRow(4);
    addWidgetToGrid(createLabel(Tr("Frequency:"), kFree), 5, 0);
    QWidget* frequency = widgetOf(BeamSpeakerItem::Spl_Freq);
    frequency->setFixedSize(135, 20);
    addWidgetToGrid(frequency, 5, 1);
    emptyRow(6);
    addWidgetToGrid(createLabel(Tr("Resolution:"), kFree), 7, 0);
    addWidgetToGrid(widgetOf(BeamSpeakerItem::Spl_Res), 7, 1);
    emptyRow(8);
    emptyRow(9);
    addWidgetToGrid(sectionTitle("SPL RANGE"), 10, 0, 1, 2);
    rangeSeparator_ = createSeparator(QFrame::HLine);
    rangeSeparator_->setFixedHeight(1);
    addWidgetToGrid(rangeSeparator_, 11, 0, 1, 2);
    emptyRow(12);
    addWidgetToGrid(createLabel(Tr("Upper SPL:"), kFree), 13, 0);
    addWidgetToGrid(widgetOf(BeamSpeakerItem::Spl_Max_dB), 13, 1, 1, 1, Qt::AlignRight);
    addWidgetToGrid(createLabel(Tr("Lower SPL:"), kFree), 14, 0);
    addWidgetToGrid(widgetOf(BeamSpeakerItem::Spl_Min_dB), 14, 1, 1, 1, Qt::AlignRight);
    emptyRow(15);

    adjustButton_ = BindableProperty::createButton(Name(BeamSpeakerItem::Spl_Adjust_Spl_Range),
                                                   Tr("Adjust range to data"), false);
    adjustButton_->setFixedSize(160, 24);
    adjustButton_->setToolTip(Tr("Adjust SPL range to fit the current SPL data"));
    QObject::connect(adjustButton_, &MyPropertyButton::clicked, widget(), [this] { onAdjustRangeClicked(); });
    addWidgetToGrid(adjustButton_, 16, 0, 1, 2, Qt::AlignHCenter);

    auto* autoRow = new QWidget();
    auto* autoLayout = new QHBoxLayout(autoRow);
    autoLayout->setContentsMargins(0, 0, 0, 0);
    autoLayout->addWidget(createLabel(Tr("Auto-adjust:"), kFree));
    autoLayout->addWidget(widgetOf(BeamSpeakerItem::Spl_Auto_Adjust));
    addWidgetToGrid(autoRow, 17, 0, 1, 2, Qt::AlignHCenter);
    emptyRow(18);
    emptyRow(19);
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding), 20, 0);

    getProperty(Name(BeamSpeakerItem::Spl_Mode))
        ->setValue(bandwidthOptions_.text(bandwidthOptions_.indexOf(bandwidthName_)), true);
    getProperty(Name(BeamSpeakerItem::Spl_Res))
        ->setValue(QString::fromStdString(acoustics::splResolutionName(1)), true);
    getProperty(Name(BeamSpeakerItem::Spl_Max_dB))->setValue(112.0, true);
    getProperty(Name(BeamSpeakerItem::Spl_Min_dB))->setValue(80.0, true);
}

void SplPropertiesControl::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                           const QVariant& value)
{
    QVariant forwarded = value;
    BoundPropertyEvent kind = event;
    const bool changed = event == BoundPropertyEvent::ValueChanged;

    if (propName == Name(BeamSpeakerItem::Spl_Freq) &&
        (changed || event == BoundPropertyEvent::ValuePassedThrough))
    {
        // The band under the mouse in the open list is shown at once, as if chosen.
        const QString label = value.toString();
        forwarded = acoustics::frequencyForLabel(bandwidth_, label.toStdString());
        frequencyLabel_ = label;
        if (forwarded.toDouble() > 0.0)
            frequency_ = forwarded.toDouble();
        kind = BoundPropertyEvent::ValueChanged;
    }
    else if (changed && propName == Name(BeamSpeakerItem::Spl_Mode) &&
             bandwidthOptions_.indexOf(value.toString()) >= 0)
    {
        const std::string key = bandwidthOptions_.key(bandwidthOptions_.indexOf(value.toString()));
        const std::int32_t code = acoustics::splBandwidthFromName(key);
        forwarded = QVariant::fromValue(static_cast<SplTypes::Mode>(code));
        // The same bandwidth reported again keeps its list and its band.
        if (code != bandwidth_)
        {
            bandwidth_ = code;
            setFrequencyOptions(code);
            // The band nearest to the one used so far is shown and announced before the
            // bandwidth, so that the map never uses a band the box does not show.
            if (!IsBandRange(code))
                showNearestBand();
        }
        bandwidthName_ = bandwidthText(code);
    }
    else if (changed && propName == Name(BeamSpeakerItem::Spl_Res))
    {
        const std::string key = resolutionOptions_.key(resolutionOptions_.indexOf(value.toString()));
        forwarded = acoustics::splResolutionValue(acoustics::splResolutionFromName(key));
    }
    else if (changed && propName == Name(BeamSpeakerItem::Spl_Auto_Adjust))
    {
        updateProperty(propName, value);
    }
    else if (changed && propName == Name(BeamSpeakerItem::Spl_Min_dB))
    {
        const double low = value.toDouble();
        if (!(low < maximum_))
        {
            forwarded = minimum_;
            updateProperty(propName, minimum_);
        }
        else
        {
            minimum_ = low;
        }
        if (slider_)
            slider_->setFirstValue(forwarded.toDouble());
    }
    else if (changed && propName == Name(BeamSpeakerItem::Spl_Max_dB))
    {
        const double high = value.toDouble();
        if (!(minimum_ < high))
        {
            forwarded = maximum_;
            updateProperty(propName, maximum_);
        }
        else
        {
            maximum_ = high;
        }
        if (slider_)
            slider_->setSecondValue(forwarded.toDouble());
    }
    BoundPropertiesGrid::onPropertyEvent(kind, propName, forwarded);
}

void SplPropertiesControl::updateProperty(const QString& name, const QVariant& value)
{
    QVariant shown = value;
    if (name == Name(BeamSpeakerItem::Spl_Mode))
    {
        const std::int32_t code = SplTypes::ModeFromVariant(value);
        QString text;
        try
        {
            text = bandwidthText(code);
        }
        catch (const std::out_of_range& e)
        {
            // Not a bandwidth the list offers: reported and left as it is.
            OmbraxLogger::LogException(e, __FILE__, "updateProperty", __LINE__);
            return;
        }
        bandwidth_ = code;
        setFrequencyOptions(code);
        shown = bandwidthOptions_.text(bandwidthOptions_.indexOf(text));
        if (frequency_ > 0.0 && !IsBandRange(bandwidth_))
            showNearestBand();
        bandwidthName_ = text;
    }
    else if (name == Name(BeamSpeakerItem::Spl_Freq))
    {
        // A band range shows no single band, yet the frequency is kept for the
        // next bandwidth that does.
        if (value.toDouble() > 0.0)
            frequency_ = value.toDouble();
        if (IsBandRange(bandwidth_))
            return;
        const QString label =
            QString::fromStdString(acoustics::labelForFrequency(bandwidth_, value.toDouble()));
        frequencyLabel_ = label;
        shown = label;
        getProperty(name)->setValue(label, true);
    }
    else if (name == Name(BeamSpeakerItem::Spl_Res))
    {
        const std::string key = acoustics::splResolutionName(acoustics::splResolutionIndex(value.toDouble()));
        shown = resolutionOptions_.text(resolutionOptions_.indexOf(QString::fromStdString(key)));
    }
    else if (name == Name(BeamSpeakerItem::Spl_Min_dB))
    {
        if (!(value.toDouble() < maximum_))
            shown = minimum_;
        else
            minimum_ = value.toDouble();
        setSliderValues(shown.toDouble(), propertyNumber(Name(BeamSpeakerItem::Spl_Max_dB)));
    }
    else if (name == Name(BeamSpeakerItem::Spl_Max_dB))
    {
        if (!(minimum_ < value.toDouble()))
            shown = maximum_;
        else
            maximum_ = value.toDouble();
        setSliderValues(propertyNumber(Name(BeamSpeakerItem::Spl_Min_dB)), shown.toDouble());
    }
    else if (name == Name(BeamSpeakerItem::Spl_Adjust_Spl_Range))
    {
        return;
    }
    BoundPropertiesGrid::updateProperty(name, shown);
}

void SplPropertiesControl::themeChanged(const int& theme)
{
    const QString color = theme == 1 ? QStringLiteral("#cccccc") : QStringLiteral("#000000");
    const QString rule =
        makeStyleSheetRule(QStringLiteral("QFrame"), {{QStringLiteral("background-color"), color}});
    for (QFrame* separator : {modeSeparator_, rangeSeparator_})
        if (separator != nullptr)
            separator->setStyleSheet(rule);
    BoundPropertiesGrid::themeChanged(theme);
}

void SplPropertiesControl::setRangeSlider(SPLVerticalRangeSliderWidget* slider)
{
    slider_ = slider;
}

void SplPropertiesControl::setColorMap(std::function<QColor(double)> colorMap)
{
    if (slider_)
        slider_->setColorFunction(std::move(colorMap));
}

void SplPropertiesControl::setSliderValues(double low, double high)
{
    if (!slider_)
        return;
    slider_->setFirstValue(low);
    slider_->setSecondValue(high);
}

void SplPropertiesControl::setMaxSpl(double value)
{
    if (slider_)
        slider_->setSecondValue(value);
    const QString name = Name(BeamSpeakerItem::Spl_Max_dB);
    BoundPropertiesGrid::updateProperty(name, value);
    BoundPropertiesGrid::onPropertyEvent(BoundPropertyEvent::ValueChanged, name, value);
    maximum_ = value;
}

void SplPropertiesControl::setMinSpl(double value)
{
    if (slider_)
        slider_->setFirstValue(value);
    const QString name = Name(BeamSpeakerItem::Spl_Min_dB);
    BoundPropertiesGrid::updateProperty(name, value);
    BoundPropertiesGrid::onPropertyEvent(BoundPropertyEvent::ValueChanged, name, value);
    minimum_ = value;
}

void SplPropertiesControl::setSplRange(double low, double high)
{
    if (!(low < high))
        low = high - 1.0;
    setSliderValues(low, high);
    BoundPropertiesGrid::updateProperty(Name(BeamSpeakerItem::Spl_Min_dB), low);
    BoundPropertiesGrid::updateProperty(Name(BeamSpeakerItem::Spl_Max_dB), high);
    minimum_ = low;
    maximum_ = high;
}

void SplPropertiesControl::onAdjustRangeClicked()
{
    BoundPropertiesGrid::onPropertyEvent(BoundPropertyEvent::ValueChanged,
                                         Name(BeamSpeakerItem::Spl_Adjust_Spl_Range),
                                         adjustButton_->isChecked());
}

QString SplPropertiesControl::bandwidthText(std::int32_t code) const
{
    return QString::fromStdString(acoustics::splBandwidthName(code));
}

void SplPropertiesControl::setFrequencyLabel(const QString& label)
{
    frequencyLabel_ = label;
    frequency_ = label.isEmpty() ? 0.0 : acoustics::frequencyForLabel(bandwidth_, label.toStdString());
}

void SplPropertiesControl::showNearestBand()
{
    const std::vector<std::string> labels = acoustics::bandLabels(bandwidth_);
    if (labels.empty())
        return;
    // Nothing chosen yet: the first band, as the list shows it.
    const double f = frequency_ > 0.0 ? frequency_ : acoustics::frequencyForLabel(bandwidth_, labels.front());
    updateProperty(Name(BeamSpeakerItem::Spl_Freq), f);
}

void SplPropertiesControl::setFrequencyOptions(std::int32_t code)
{
    getProperty(Name(BeamSpeakerItem::Spl_Freq))
        ->setComboBoxOptions(ToQStringList(acoustics::bandLabels(code)));
}

double SplPropertiesControl::propertyNumber(const QString& name) const
{
    return getProperty(name)->value().toDouble();
}
} // namespace zorvpro
