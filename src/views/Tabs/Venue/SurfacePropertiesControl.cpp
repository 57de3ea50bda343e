#include "views/Tabs/Venue/SurfacePropertiesControl.h"

#include "Utility/ApiChecker.h"
#include "views/Common/PropertyName.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/UnitType.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QSpacerItem>
#include <cmath>

namespace zorvpro
{
namespace
{
using Item = BeamSpeakerItem;

constexpr double kRotationBound = 6.28319;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kRightAngleTolerance = 1e-5;
constexpr std::uint32_t kFree = BoundPropertiesGrid::kFreeWidth;
constexpr int kColumns = 7;

const Item kCorners[] = {Item::Quad_P1X, Item::Quad_P1Y, Item::Quad_P1Z, Item::Quad_P2X,
                         Item::Quad_P2Y, Item::Quad_P2Z, Item::Quad_P3X, Item::Quad_P3Y,
                         Item::Quad_P3Z, Item::Quad_P4X, Item::Quad_P4Y, Item::Quad_P4Z};

QString Name(Item item)
{
    return toPropertyName(item);
}
} // namespace

SurfacePropertiesControl::SurfacePropertiesControl()
    : BoundPropertiesGrid(QStringLiteral("SurfacePropertiesControl"))
{
    try
    {
        createProperties();
        layoutProperties();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "SurfacePropertiesControl", __LINE__);
    }
}

BindableProperty* SurfacePropertiesControl::createSurfaceLineEdit(const QString& name, std::uint32_t unitType)
{
    double low = -kRotationBound;
    double high = kRotationBound;
    if (unitType == static_cast<std::uint32_t>(UnitType::Length))
    {
        if (name == Name(Item::Quad_FrontWidth) || name == Name(Item::Quad_BackWidth) ||
            name == Name(Item::Quad_BackDepth))
        {
            low = 0.0;
            high = 300.0;
        }
        else if (name == Name(Item::Quad_BackHeight))
        {
            low = -100.0;
            high = 100.0;
        }
        else if (name == Name(Item::Quad_ListenerHeight))
        {
            low = 0.0;
            high = 10.0;
        }
        else
        {
            low = -1000.0;
            high = 1000.0;
        }
    }
    BindableProperty* edit = BindableProperty::createLineEdit(name, unitType, 50, low, high, 2);
    CheckAlloc(edit);
    return edit;
}

void SurfacePropertiesControl::createProperties()
{
    const auto length = static_cast<std::uint32_t>(UnitType::Length);
    for (const Item item :
         {Item::Quad_P0X, Item::Quad_P0Y, Item::Quad_P0Z, Item::Quad_FrontWidth, Item::Quad_BackWidth,
          Item::Quad_BackDepth, Item::Quad_BackHeight, Item::Quad_ListenerHeight})
        bindProperty(createSurfaceLineEdit(Name(item), length));

    bindProperty(BindableProperty::createToggleSwitch(Name(Item::Quad_ListenerHeightEnabled),
                                                      QStringLiteral("OFF"), QStringLiteral("ON")));
    getProperty(Name(Item::Quad_ListenerHeightEnabled))->setValue(true, false);
    bindProperty(
        createSurfaceLineEdit(Name(Item::Quad_Rotation), static_cast<std::uint32_t>(UnitType::Angle)));

    for (const Item item : kCorners)
        bindProperty(createSurfaceLineEdit(Name(item), length));
    for (const Item item : kCorners)
        cornerEdits_.push_back(getProperty(Name(item)));
}

void SurfacePropertiesControl::layoutProperties()
{
    auto spacerRow = [this](int row) { addWidgetToGrid(createLabel(QString(), 80), row, 0, 1, kColumns); };
    auto separatorRow = [this](int row)
    { addWidgetToGrid(createSeparator(QFrame::HLine), row, 0, 1, kColumns); };
    auto headings = [this](int row, const char* a, const char* b, const char* c)
    {
        int column = 1;
        for (const char* text : {a, b, c})
        {
            addWidgetToGrid(createLabel(QString::fromLatin1(text), kFree), row, column, 1, 1,
                            Qt::AlignHCenter);
            column += 2;
        }
    };
    auto edit = [this](Item item)
    {
        QWidget* widget = getProperty(Name(item))->widget();
        widget->setFixedSize(95, 20);
        return widget;
    };
    auto valueRow =
        [&](int row, const QString& label, std::uint32_t labelWidth, std::initializer_list<Item> items)
    {
        addWidgetToGrid(createLabel(label, labelWidth), row, 0);
        int column = 1;
        for (const Item item : items)
        {
            addWidgetToGrid(edit(item), row, column);
            column += 2;
        }
    };
    // Narrow gaps between the value columns.
    addWidgetToGrid(createLabel(QString(), 10), 2, 2);
    addWidgetToGrid(createLabel(QString(), 10), 2, 4);

    spacerRow(0);
    headings(1, "X", "Y", "Z");
    valueRow(2, QStringLiteral("P0:"), 80, {Item::Quad_P0X, Item::Quad_P0Y, Item::Quad_P0Z});
    spacerRow(3);
    separatorRow(4);
    spacerRow(5);
    headings(6, "Width", "Depth", "Height");
    spacerRow(7);
    valueRow(8, QStringLiteral("Front:"), kFree, {Item::Quad_FrontWidth});
    valueRow(9, QStringLiteral("Back:"), 80,
             {Item::Quad_BackWidth, Item::Quad_BackDepth, Item::Quad_BackHeight});
    spacerRow(10);
    separatorRow(11);
    spacerRow(12);
    valueRow(13, QStringLiteral("Rotation:"), 80, {Item::Quad_Rotation});
    spacerRow(14);
    separatorRow(15);
    spacerRow(16);
    headings(17, "X", "Y", "Z");
    const char* cornerLabels[] = {"P1:", "P2:", "P3:", "P4:"};
    for (int corner = 0; corner < 4; ++corner)
        valueRow(18 + corner, QString::fromLatin1(cornerLabels[corner]), 80,
                 {kCorners[3 * corner], kCorners[3 * corner + 1], kCorners[3 * corner + 2]});
    spacerRow(22);
    separatorRow(23);
    spacerRow(24);
    valueRow(25, QStringLiteral("Ear Height:"), 80, {Item::Quad_ListenerHeight});
    BindableProperty* earLine = getProperty(Name(Item::Quad_ListenerHeightEnabled));
    addWidgetToGrid(earLine->widget(), 25, 3);
    earLine->setValue(true, false);
    earLine->widget()->setToolTip(
        QCoreApplication::translate("SurfacePropertiesControl", "Show/hide ear height line"));
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding), 26, 0);
}

void SurfacePropertiesControl::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                               const QVariant& value)
{
    BoundPropertiesGrid::onPropertyEvent(event, propName, value);
    if (event == BoundPropertyEvent::ValueChanged && propName == Name(Item::Quad_Rotation))
        updateCornerEditability(value.toDouble());
}

void SurfacePropertiesControl::updateProperty(const QString& name, const QVariant& value)
{
    BoundPropertiesGrid::updateProperty(name, value);
    if (name == Name(Item::Quad_Rotation))
        updateCornerEditability(value.toDouble());
}

void SurfacePropertiesControl::updateCornerEditability(double rotation)
{
    const double r = std::fabs(std::fmod(rotation, kHalfPi));
    rightAngle_ = r < kRightAngleTolerance || kHalfPi - r < kRightAngleTolerance;
    // A locked surface keeps its corners locked whatever its rotation: a field that takes a
    // value the model refuses would show a number the surface does not hold.
    for (BindableProperty* corner : cornerEdits_)
        corner->setEditable(editable_ && rightAngle_, false);
}

void SurfacePropertiesControl::setEditable(bool enabled, bool clearWhenDisabled)
{
    editable_ = enabled;
    BoundPropertiesGrid::setEditable(enabled, clearWhenDisabled);
    if (!rightAngle_)
        for (BindableProperty* corner : cornerEdits_)
            corner->setEditable(false, false);
}
} // namespace zorvpro
