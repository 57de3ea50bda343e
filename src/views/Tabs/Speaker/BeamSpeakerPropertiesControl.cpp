#include "views/Tabs/Speaker/BeamSpeakerPropertiesControl.h"

#include "core/Logger/OmbraxLogger.h"
#include "views/Common/PropertyName.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/PropertyKind.h"
#include "views/GridControl/UnitType.h"
#include "views/Tabs/Speaker/BeamRowRegistry.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <stdexcept>

namespace zorvpro
{
namespace
{
using Item = BeamSpeakerItem;

constexpr const char* kContext = "BeamSpeakerPropertiesControl";
constexpr double kPi = 3.14159265358979323846;
constexpr std::uint32_t kFree = BoundPropertiesGrid::kFreeWidth;
// Items of beam 2 follow those of beam 1 at this distance.
constexpr std::uint32_t kBeamItemStride = 11;

QString Tr(const char* text)
{
    return QCoreApplication::translate(kContext, text);
}

QString Name(Item item)
{
    return toPropertyName(item);
}

std::uint32_t Unit(UnitType type)
{
    return static_cast<std::uint32_t>(type);
}

// The shape choices, by position.
constexpr int kSteerSpread = 0;
constexpr int kFlatFloor = 1;
constexpr int kRakedFloor = 2;
// The beam-count choices, by position.
constexpr int kDual = 1;

// One of the eleven items of the beam (1 or 2).
bool IsBeamItem(const QString& name, int beam)
{
    const std::uint32_t first =
        static_cast<std::uint32_t>(Item::Beam_AutoManual1) + (beam - 1) * kBeamItemStride;
    for (std::uint32_t k = 0; k < kBeamItemStride; ++k)
        if (name == Name(static_cast<Item>(first + k)))
            return true;
    return false;
}

void CheckBeam(int beam, const char* operation)
{
    if (beam == 1 || beam == 2)
        return;
    const std::logic_error error("Wrong number of beams specified");
    OmbraxLogger::LogException(error, __FILE__, operation, __LINE__);
    throw error;
}
} // namespace

BeamSpeakerPropertiesControl::BeamSpeakerPropertiesControl()
    : BoundPropertiesGrid(QStringLiteral("BeamSpeakerPropertiesGridControl")),
      beamsOptions_(kContext, {"Single", "Dual (Dante)"}),
      shapeOptions_(kContext, {"Steer / Spread", "Flat Floor", "Raked Floor"})
{
    try
    {
        createProperties();
        layoutProperties();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "BeamSpeakerPropertiesControl", __LINE__);
    }
}

void BeamSpeakerPropertiesControl::createProperties()
{
    createArrayProperties();
    bindBeamProperties(1);
    bindBeamProperties(2);
}

QString BeamSpeakerPropertiesControl::beamItemName(Item beamOneItem, int beam) const
{
    return Name(static_cast<Item>(static_cast<std::uint32_t>(beamOneItem) + (beam - 1) * kBeamItemStride));
}

bool BeamSpeakerPropertiesControl::beamsOptionIsDual(const QString& text) const
{
    return beamsOptions_.indexOf(text) == kDual;
}

void BeamSpeakerPropertiesControl::createArrayProperties()
{
    BindableProperty* comments = BindableProperty::createMultiLineEdit(Name(Item::Beam_Comments), 50);
    bindProperty(comments);
    comments->widget()->setFixedHeight(50);

    BindableProperty* modules = BindableProperty::createComboBox(Name(Item::Beam_Modules));
    bindProperty(modules);
    modules->setComboBoxOptions({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    modules->widget()->setMaximumWidth(60);
    modules->widget()->setFixedHeight(20);
    modules->widget()->setToolTip(Tr("Number of modules"));

    BindableProperty* beams = BindableProperty::createComboBox(Name(Item::Beam_Beams));
    bindProperty(beams);
    beams->setComboBoxOptions(beamsOptions_.texts());
    beams->widget()->setMaximumWidth(120);
    beams->widget()->setFixedSize(110, 20);
    beams->widget()->setToolTip(Tr("Number of beams"));

    auto lineEdit = [this](Item item, UnitType unit, double low, double high, int width)
    {
        BindableProperty* edit = BindableProperty::createLineEdit(Name(item), Unit(unit), 50, low, high,
                                                                  unit == UnitType::Milliseconds ? 3 : 1);
        bindProperty(edit);
        edit->widget()->setFixedWidth(width);
    };
    lineEdit(Item::Cluster_Gain, UnitType::Decibels, -60.0, 60.0, 95);
    lineEdit(Item::Cluster_Delay, UnitType::Milliseconds, 0.0, 10000.0, 95);
    for (const Item item : {Item::Beam_PosX, Item::Beam_PosY, Item::Beam_TopPosition,
                            Item::Beam_CenterPosition, Item::Beam_BottomPosition})
        lineEdit(item, UnitType::Length, -1000.0, 1000.0, 95);
    lineEdit(Item::Beam_PitchPosition, UnitType::Angle, -kPi / 2, kPi / 2, 75);
    lineEdit(Item::Beam_YawPosition, UnitType::Angle, -kPi, kPi, 75);

    bindProperty(BindableProperty::createToggleSwitch(Name(Item::Beam_BeamSelection), Tr("Main"), Tr("2nd")));
}

void BeamSpeakerPropertiesControl::bindBeamProperties(int beam)
{
    CheckBeam(beam, "bindBeamProperties");
    auto name = [this, beam](Item item) { return beamItemName(item, beam); };

    for (const auto& [item, off, on] :
         {std::tuple<Item, const char*, const char*>{Item::Beam_AutoManual1, "Auto", "Manual"},
          {Item::Beam_EvenessMaxSpl1, "Eveness", "Max SPL"}})
    {
        BindableProperty* toggle = BindableProperty::createToggleSwitch(name(item), Tr(off), Tr(on));
        bindProperty(toggle);
        toggle->widget()->setFixedHeight(30);
    }

    BindableProperty* shape = BindableProperty::createComboBox(name(Item::Beam_Manual1));
    bindProperty(shape);
    shape->setComboBoxOptions(shapeOptions_.texts());
    shape->widget()->setToolTip(Tr("Beam shape"));
    shape->widget()->setFixedHeight(20);
    shape->widget()->setMaximumWidth(160);

    auto lineEdit = [&](Item item, UnitType unit, double low, double high)
    { bindProperty(BindableProperty::createLineEdit(name(item), Unit(unit), 50, low, high, 1)); };
    lineEdit(Item::Beam_MainGain1, UnitType::Decibels, -10.0, 10.0);
    lineEdit(Item::Beam_TopRearAngle1, UnitType::Angle, -kPi / 2, kPi / 2);
    lineEdit(Item::Beam_TopRearDistance1, UnitType::Length, 1.4, 1000.0);
    lineEdit(Item::Beam_BottomFrontAngle1, UnitType::Angle, -kPi / 2, kPi / 2);
    lineEdit(Item::Beam_BottomFrontDistance1, UnitType::Length, 1.4, 1000.0);
    lineEdit(Item::Beam_SteeringAngle1, UnitType::Angle, -kPi / 2, kPi / 2);
    lineEdit(Item::Beam_SpreadingAngle1, UnitType::Angle, -kPi / 2, kPi / 2);

    BindableProperty* smoothing = BindableProperty::createToggleSwitch(
        name(Item::Beam_Smoothing1), QStringLiteral("OFF"), QStringLiteral("ON"));
    bindProperty(smoothing);
    smoothing->setValue(true, false);
    smoothing->widget()->setToolTip(Tr("Turn on/off vocal smoothing"));
}

QWidget* BeamSpeakerPropertiesControl::beamRowWidget(Item item)
{
    BindableProperty* property = getProperty(Name(item));
    QWidget* widget = property->widget();
    if (property->kind() != PropertyKind::LineEdit)
        return widget;
    widget->setFixedWidth(95);
    const std::uint32_t value = static_cast<std::uint32_t>(item);
    const std::uint32_t first = static_cast<std::uint32_t>(Item::Beam_AutoManual1);
    const Item beamOne =
        static_cast<Item>(value >= first + kBeamItemStride ? value - kBeamItemStride : value);
    switch (beamOne)
    {
    case Item::Beam_TopRearDistance1:
    case Item::Beam_BottomFrontDistance1:
        widget->setFixedWidth(90);
        break;
    case Item::Beam_TopRearAngle1:
    case Item::Beam_BottomFrontAngle1:
    case Item::Beam_SteeringAngle1:
    case Item::Beam_SpreadingAngle1:
        widget->setFixedWidth(85);
        break;
    default:
        break;
    }
    return widget;
}

QWidget* BeamSpeakerPropertiesControl::createPositionGrid()
{
    auto* container = new QWidget();
    container->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout(container);
    grid->setContentsMargins(0, 0, 0, 0);
    auto widgetOf = [this](Item item) { return getProperty(Name(item))->widget(); };
    auto rightLabel = [&](const QString& text, int row, int column)
    { grid->addWidget(createLabel(text, kFree), row, column, Qt::AlignRight); };

    grid->addWidget(createLabel(Tr("X:"), 15), 0, 0);
    grid->addWidget(widgetOf(Item::Beam_PosX), 0, 1);
    rightLabel(Tr("Z: TOP:"), 0, 2);
    grid->addWidget(widgetOf(Item::Beam_TopPosition), 0, 3);
    rightLabel(Tr("Pitch:"), 0, 4);
    grid->addWidget(widgetOf(Item::Beam_PitchPosition), 0, 5);

    grid->addWidget(createLabel(QString(), kFree), 1, 0, 1, 5);
    rightLabel(Tr("CTR:"), 1, 2);
    grid->addWidget(widgetOf(Item::Beam_CenterPosition), 1, 3);
    rightLabel(Tr("Yaw:"), 1, 4);
    grid->addWidget(widgetOf(Item::Beam_YawPosition), 1, 5);

    grid->addWidget(createLabel(Tr("Y:"), 15), 2, 0);
    grid->addWidget(widgetOf(Item::Beam_PosY), 2, 1);
    rightLabel(Tr("BTM:"), 2, 2);
    grid->addWidget(widgetOf(Item::Beam_BottomPosition), 2, 3);
    return container;
}

QWidget* BeamSpeakerPropertiesControl::createConfigurationGrid()
{
    auto* container = new QWidget();
    container->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout(container);
    grid->setContentsMargins(1, 1, 1, 1);
    auto widgetOf = [this](Item item) { return getProperty(Name(item))->widget(); };

    grid->addWidget(createLabel(Tr("Module(s):"), kFree), 0, 0);
    grid->addWidget(widgetOf(Item::Beam_Modules), 0, 1);
    grid->addWidget(createLabel(Tr("Delay:"), kFree), 0, 5);
    grid->addWidget(widgetOf(Item::Cluster_Delay), 0, 6);
    grid->addWidget(createLabel(Tr("Beam(s):"), kFree), 1, 0);
    grid->addWidget(widgetOf(Item::Beam_Beams), 1, 1);
    grid->addWidget(createLabel(Tr("Gain:"), kFree), 1, 5);
    grid->addWidget(widgetOf(Item::Cluster_Gain), 1, 6);
    grid->addWidget(createLabel(QString(), kFree), 2, 0);
    grid->addWidget(createLabel(Tr("Comments:"), kFree), 3, 0);
    grid->addWidget(widgetOf(Item::Beam_Comments), 3, 1, 1, 6);
    return container;
}

QFrame* BeamSpeakerPropertiesControl::setupBeamProperties(int beam)
{
    CheckBeam(beam, "setupBeamProperties");
    const bool second = beam == 2;
    auto* section = new QFrame();
    section->setObjectName(QStringLiteral("beamShapeWidget"));
    section->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout(section);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnMinimumWidth(0, 103);
    grid->setColumnMinimumWidth(1, 103);

    QLabel* title = createLabel(second ? QStringLiteral("2ND") : QStringLiteral("MAIN"), kFree);
    grid->addWidget(title, 0, 0, 1, 2);
    BeamRowRegistry::Set(QStringLiteral("Title") + QString::number(beam), title, nullptr, second);

    int row = 1;
    for (const Item item : {Item::Beam_AutoManual1, Item::Beam_EvenessMaxSpl1, Item::Beam_Manual1})
    {
        const Item own = Item(static_cast<std::uint32_t>(item) + (beam - 1) * kBeamItemStride);
        QWidget* widget = beamRowWidget(own);
        grid->addWidget(widget, row++, 0, 1, 2);
        BeamRowRegistry::Set(Name(own), nullptr, widget, second);
    }
    auto blank = [&] { grid->addWidget(createLabel(QStringLiteral(" "), kFree), row++, 0); };
    auto labelled = [&](const QString& text, Item item)
    {
        const Item own = Item(static_cast<std::uint32_t>(item) + (beam - 1) * kBeamItemStride);
        QLabel* label = createLabel(text, kFree);
        QWidget* widget = beamRowWidget(own);
        grid->addWidget(label, row, 0);
        grid->addWidget(widget, row, 1);
        ++row;
        BeamRowRegistry::Set(Name(own), label, widget, second);
    };
    blank();
    labelled(Tr("Gain:"), Item::Beam_MainGain1);
    blank();
    labelled(Tr("Top Throw:"), Item::Beam_TopRearAngle1);
    labelled(QString(), Item::Beam_TopRearDistance1);
    blank();
    labelled(Tr("Bottom Throw:"), Item::Beam_BottomFrontAngle1);
    labelled(QString(), Item::Beam_BottomFrontDistance1);
    blank();
    labelled(Tr("Steering:"), Item::Beam_SteeringAngle1);
    labelled(Tr("Spreading:"), Item::Beam_SpreadingAngle1);
    blank();
    labelled(Tr("Smoothing:"), Item::Beam_Smoothing1);
    grid->addItem(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding), row, 0);

    (second ? beam2Section_ : beam1Section_) = section;
    return section;
}

void BeamSpeakerPropertiesControl::layoutProperties()
{
    auto title = [this](const char* text) { return createLabel(Tr(text), kFree); };
    addWidgetToGrid(createLabel(QString(), kFree), 0, 0, 1, 4);
    addWidgetToGrid(title("ARRAY POSITION"), 1, 0, 1, 4);
    addWidgetToGrid(createSeparator(QFrame::HLine), 2, 0, 1, 4);
    addWidgetToGrid(createPositionGrid(), 3, 0, 1, 4);
    addWidgetToGrid(createLabel(QString(), kFree), 4, 0, 1, 4);
    addWidgetToGrid(title("ARRAY CONFIGURATION"), 5, 0, 1, 4);
    addWidgetToGrid(createSeparator(QFrame::HLine), 6, 0, 1, 4);
    addWidgetToGrid(createConfigurationGrid(), 7, 0, 1, 4);
    addWidgetToGrid(createLabel(QString(), kFree), 8, 0);
    addWidgetToGrid(title("BEAM SHAPE"), 9, 0);
    addWidgetToGrid(getProperty(Name(Item::Beam_BeamSelection))->widget(), 9, 1, 1, 3);
    addWidgetToGrid(createSeparator(QFrame::HLine), 10, 0, 1, 4);

    auto* beams = new QWidget();
    auto* beamsGrid = new QGridLayout(beams);
    beamsGrid->setContentsMargins(0, 0, 0, 0);
    beamsGrid->addWidget(setupBeamProperties(1), 0, 0);
    beamsGrid->setColumnMinimumWidth(1, 20);
    beamsGrid->addWidget(createLabel(QString(), 5), 0, 1, Qt::AlignHCenter);
    beamSeparator_ = createSeparator(QFrame::VLine);
    beamsGrid->addWidget(beamSeparator_, 0, 1, Qt::AlignHCenter);
    beamsGrid->addWidget(setupBeamProperties(2), 0, 2);
    addWidgetToGrid(beams, 11, 0, 1, 4);
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding), 12, 0);

    getProperty(Name(Item::Beam_BeamSelection))->widget()->hide();
    setSecondBeamRowsVisible(false);
    beamSeparator_->hide();
    updateBeamHighlight();
    for (const Item item : {Item::Beam_AutoManual1, Item::Beam_AutoManual2, Item::Beam_EvenessMaxSpl1,
                            Item::Beam_EvenessMaxSpl2})
        getProperty(Name(item))->widget()->hide();
}

void BeamSpeakerPropertiesControl::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                                   const QVariant& value)
{
    BoundPropertiesGrid::onPropertyEvent(event, propName, value);
    const bool shape1 = propName == Name(Item::Beam_Manual1);
    const bool shape2 = propName == Name(Item::Beam_Manual2);
    switch (event)
    {
    case BoundPropertyEvent::FocusGained:
        selectBeamOfProperty(propName);
        break;
    case BoundPropertyEvent::ValuePassedThrough:
        if (shape1 || shape2)
            selectBeamOfProperty(propName);
        break;
    case BoundPropertyEvent::ValueChanged:
        if (propName == Name(Item::Beam_Beams))
            setBeamCount(value.toString());
        else if (shape1 || shape2)
            updateBeamShapeRows(shape1 ? 1 : 2);
        else if (propName == Name(Item::Beam_Smoothing1) || propName == Name(Item::Beam_Smoothing2))
            selectBeamOfProperty(propName);
        break;
    default:
        break;
    }
}

void BeamSpeakerPropertiesControl::updateProperty(const QString& name, const QVariant& value)
{
    BoundPropertiesGrid::updateProperty(name, value);
    if (name == Name(Item::Beam_Beams))
    {
        setBeamCount(value.toString());
    }
    else if (name == Name(Item::Beam_Manual1) || name == Name(Item::Beam_Manual2))
    {
        updateBeamShapeRows(name == Name(Item::Beam_Manual1) ? 1 : 2);
    }
    else if (name == Name(Item::Beam_BeamSelection))
    {
        currentBeam_ = value.toBool() ? 2 : 1;
        updateBeamHighlight();
    }
}

void BeamSpeakerPropertiesControl::themeChanged(const int& theme)
{
    BoundPropertiesGrid::themeChanged(theme);
    updateBeamHighlight();
}

void BeamSpeakerPropertiesControl::selectBeamOfProperty(const QString& name)
{
    int beam = 0;
    if (IsBeamItem(name, 1))
        beam = 1;
    else if (IsBeamItem(name, 2))
        beam = 2;
    if (beam == 0)
        return;
    currentBeam_ = beam;
    getProperty(Name(Item::Beam_BeamSelection))->setValue(beam == 2, true);
    updateBeamHighlight();
}

void BeamSpeakerPropertiesControl::setBeamCount(const QString& text)
{
    if (text == beamCountText_)
        return;
    beamCountText_ = text;
    dual_ = beamsOptionIsDual(text);
    setSecondBeamRowsVisible(dual_);
    // Rows shown again follow the second beam's shape, not just the count.
    if (dual_)
        updateBeamShapeRows(2);
    if (beamSeparator_ != nullptr)
        beamSeparator_->setVisible(dual_);
    for (const Item item : {Item::Beam_AutoManual1, Item::Beam_AutoManual2, Item::Beam_EvenessMaxSpl1,
                            Item::Beam_EvenessMaxSpl2})
        getProperty(Name(item))->widget()->hide();
}

void BeamSpeakerPropertiesControl::setSecondBeamRowsVisible(bool visible)
{
    for (const auto& [key, entry] : BeamRowRegistry::Entries())
    {
        if (!entry.secondBeam)
            continue;
        if (entry.label)
            entry.label->setVisible(visible);
        if (entry.widget)
            entry.widget->setVisible(visible);
    }
}

void BeamSpeakerPropertiesControl::updateBeamShapeRows(int beam)
{
    if (beam == 2 && !beamsOptionIsDual(getProperty(Name(Item::Beam_Beams))->value().toString()))
        return;
    const int shape =
        shapeOptions_.indexOf(getProperty(beamItemName(Item::Beam_Manual1, beam))->value().toString());
    bool steering = true;
    bool spreading = true;
    bool smoothing = true;
    switch (shape)
    {
    case kSteerSpread:
        break;
    case kFlatFloor:
        spreading = false;
        break;
    case kRakedFloor:
        steering = spreading = smoothing = false;
        break;
    default:
        return;
    }
    BeamRowRegistry::SetRowVisible(beamItemName(Item::Beam_SteeringAngle1, beam), steering);
    BeamRowRegistry::SetRowVisible(beamItemName(Item::Beam_SpreadingAngle1, beam), spreading);
    BeamRowRegistry::SetRowVisible(beamItemName(Item::Beam_Smoothing1, beam), smoothing);
}

void BeamSpeakerPropertiesControl::updateBeamHighlight()
{
    const bool light = currentTheme() == 1;
    const QString plain = light ? QStringLiteral("#F8F8F8") : QStringLiteral("#141414");
    const QString highlight = light ? QStringLiteral("#f3f3f3") : QStringLiteral("#242424");
    auto rule = [](const QString& color) {
        return makeStyleSheetRule(QStringLiteral("QWidget"), {{QStringLiteral("background-color"), color}});
    };
    for (const int beam : {1, 2})
    {
        QFrame* section = beamSection(beam);
        if (section == nullptr)
            continue;
        // Rows shown before the panel was first shown are already polished; a
        // sheet set on an unpolished section would never reach them.
        section->ensurePolished();
        section->setStyleSheet(rule(dual_ && beam == currentBeam_ ? highlight : plain));
    }
}
} // namespace zorvpro
