#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/Tabs/BaseComponents/EntityNameTableWidgetItem.h"
#include "views/Tabs/BaseComponents/EntitySelectionData.h"
#include "views/Tabs/BaseComponents/IEntityChangeListener.h"
#include "views/Tabs/BaseComponents/IEntitySelectionListener.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <stdexcept>
#include <unordered_set>

namespace zorvpro
{
namespace
{
constexpr int kColumnCount = 6;
constexpr int kRowHeight = 35;
constexpr int kNameColumn = 1;
constexpr int kNarrowestName = 100;

const QStringList& SurfaceTitles()
{
    static const QStringList titles = {"Color", "Name", "Transparency", "Visibility", "Lock", "F"};
    return titles;
}

const QStringList& LoudspeakerTitles()
{
    static const QStringList titles = {"F1", "Name", "Mute", "Visibility", "Lock", "F"};
    return titles;
}

constexpr int kSurfaceWidths[kColumnCount] = {50, 295, 50, 50, 50, 10};
constexpr int kLoudspeakerWidths[kColumnCount] = {13, 330, 50, 50, 50, 10};

void LogProblem(const char* text, const char* function, int line)
{
    OmbraxLogger::LogException(std::logic_error(text), __FILE__, function, line);
}

std::uint32_t ValueKindOf(const QVariant& value)
{
    switch (value.userType())
    {
    case QMetaType::Bool:
        return ValueKind::Bool;
    case QMetaType::QColor:
        return ValueKind::Color;
    case QMetaType::Double:
        return ValueKind::Double;
    default:
        return ValueKind::Other;
    }
}

QString BoundName(Id id, const char* itemName)
{
    return QString::number(id) + ";" + itemName;
}
} // namespace

EntitySelectionControl::EntitySelectionControl(std::uint32_t kind, const QString& name, QWidget* parent)
    : QTableWidget(parent), kind_(kind)
{
    CheckTextEmpty(name);
    setObjectName(name + "EntitySelectionControl");
    // Named after the list, so automation finds them.
    horizontalScrollBar()->setObjectName(objectName() + "HorizontalScrollBar");
    verticalScrollBar()->setObjectName(objectName() + "VerticalScrollBar");
    // The name editor of a row renames an entity of the project.
    MarkProjectField(this);
    setColumnCount(kColumnCount);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    if (kind_ == kSurfaceList || kind_ == kLoudspeakerList)
    {
        const bool surfaces = (kind_ == kSurfaceList);
        setHorizontalHeaderLabels(surfaces ? SurfaceTitles() : LoudspeakerTitles());
        // The narrow columns are narrower than a header section may be by default.
        horizontalHeader()->setMinimumSectionSize(1);
        for (int column = 0; column < kColumnCount; ++column)
        {
            horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
            setColumnWidth(column, surfaces ? kSurfaceWidths[column] : kLoudspeakerWidths[column]);
        }
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setShowGrid(false);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QTableWidget::itemSelectionChanged, this,
            &EntitySelectionControl::handleItemSelectionChanged);
    connect(this, &QTableWidget::itemChanged, this, &EntitySelectionControl::handleEntityNameChanged);
}

bool EntitySelectionControl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize)
        fitNameColumn();
    return QTableWidget::viewportEvent(event);
}

void EntitySelectionControl::fitNameColumn()
{
    if (kind_ != kSurfaceList && kind_ != kLoudspeakerList)
        return;
    const int* widths = kind_ == kSurfaceList ? kSurfaceWidths : kLoudspeakerWidths;
    int others = 0;
    for (int column = 0; column < kColumnCount; ++column)
        if (column != kNameColumn)
            others += widths[column];
    setColumnWidth(kNameColumn,
                   std::clamp(viewport()->width() - others, kNarrowestName, widths[kNameColumn]));
}

EntitySelectionControl::~EntitySelectionControl()
{
    // Rows before the table: their buttons live in the table's cells.
    updating_ = true;
    rows_.clear();
}

void EntitySelectionControl::addEntity(Id id, const QString& name, bool transparent, bool visible,
                                       bool locked, const QColor& color, bool muted)
{
    const int index = rowCount();
    try
    {
        auto row =
            std::make_shared<EntitySelectionData>(id, name, this, transparent, visible, locked, color, muted);
        insertRow(index);

        const bool surfaces = (kind_ == kSurfaceList);
        QWidget* first = surfaces ? row->colorContainer() : nullptr;
        QWidget* second = surfaces ? row->transparencyContainer() : row->muteContainer();
        if (surfaces)
        {
            row->colorContainer()->setToolTip(tr("Set surface color"));
            row->transparencyContainer()->setToolTip(tr("Toggle surface transparency"));
            row->visibilityContainer()->setToolTip(tr("Show/hide surface"));
            row->lockContainer()->setToolTip(tr("Lock/unlock surface"));
        }
        else
        {
            row->transparencyContainer()->setToolTip(tr("Toggle loudspeaker transparency"));
            row->visibilityContainer()->setToolTip(tr("Show/hide loudspeaker"));
            row->lockContainer()->setToolTip(tr("Lock/unlock loudspeaker"));
            row->muteContainer()->setToolTip(tr("Mute/unmute loudspeaker"));
        }

        {
            // Filling the cells is not the user renaming anything.
            const bool wasApplying = applyingModelChange_;
            applyingModelChange_ = true;
            if (first != nullptr)
                setCellWidget(index, 0, first);
            else
                setItem(index, 0, row->makePlainItem());
            setItem(index, 1, row->nameItem());
            setCellWidget(index, 2, second);
            setCellWidget(index, 3, row->visibilityContainer());
            setCellWidget(index, 4, row->lockContainer());
            setItem(index, 5, row->makePlainItem());
            applyingModelChange_ = wasApplying;
        }

        emit entitiesSelected(1);
        rows_.push_back(row);
        row->themeChanged(lightTheme_ ? 1 : 0);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "addEntity", __LINE__);
    }
    catch (...)
    {
        OmbraxLogger::LogUnknownException(__FILE__, "addEntity", __LINE__);
    }
    // A row that did not make it into the rows must not stay in the table,
    // or every later row would map to the wrong id.
    if (static_cast<int>(rows_.size()) <= index && rowCount() > index)
    {
        const bool wasUpdating = updating_;
        updating_ = true;
        releaseCellWidgets(index);
        removeRow(index);
        updating_ = wasUpdating;
    }
    executeUglyPatch();
}

void EntitySelectionControl::releaseCellWidgets(int row)
{
    for (int column = 0; column < columnCount(); ++column)
        if (cellWidget(row, column) != nullptr)
            removeCellWidget(row, column);
}

void EntitySelectionControl::removeEntity(Id id)
{
    const bool wasUpdating = updating_;
    updating_ = true;
    const int index = indexOfEntity(id);
    if (index >= 0)
    {
        rows_.erase(rows_.begin() + index);
        releaseCellWidgets(index);
        removeRow(index);
        executeUglyPatch();
    }
    updating_ = wasUpdating;
}

void EntitySelectionControl::removeEntities(const IdList& ids)
{
    const std::unordered_set<Id> leaving(ids.begin(), ids.end());
    const bool all = std::all_of(rows_.begin(), rows_.end(),
                                 [&](const auto& row) { return leaving.count(row->id()) != 0; });
    if (!all)
    {
        for (Id id : ids)
            removeEntity(id);
        return;
    }
    if (rows_.empty())
        return;
    // Row by row, the table revisits every remaining cell widget on each removal.
    const bool wasUpdating = updating_;
    updating_ = true;
    rows_.clear();
    for (int row = 0; row < rowCount(); ++row)
        releaseCellWidgets(row);
    setRowCount(0);
    executeUglyPatch();
    updating_ = wasUpdating;
}

int EntitySelectionControl::indexOfEntity(Id id) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i]->id() == id)
            return static_cast<int>(i);
    return -1;
}

EntitySelectionData* EntitySelectionControl::rowOf(Id id) const
{
    const int index = indexOfEntity(id);
    return index < 0 ? nullptr : rows_[static_cast<std::size_t>(index)].get();
}

template <typename Change> void EntitySelectionControl::applyToRow(EntitySelectionData& row, Change change)
{
    const bool wasApplying = applyingModelChange_;
    applyingModelChange_ = true;
    change(row);
    applyingModelChange_ = wasApplying;
}

QString EntitySelectionControl::formatSelectionColor(const QString& color)
{
    return QString("QWidget{ background-color: %1; }").arg(color);
}

void EntitySelectionControl::styleAllRowsUnselected()
{
    const QString style = formatSelectionColor(unselectedColor_);
    for (const auto& row : rows_)
        row->setRowStyle(style, false);
}

void EntitySelectionControl::clearSelectedEntities()
{
    // The panel's fields let go of the entity they show first: what is typed goes to it, and no
    // later focus loss reports it to another.
    if (grid_ != nullptr && activeId_ != kNoEntity)
        grid_->clearFocus();
    clearSelection();
    styleAllRowsUnselected();
    clearFocus();
    activeId_ = kNoEntity;
}

void EntitySelectionControl::followLockInGrid(bool locked)
{
    if (grid_ != nullptr)
        grid_->setEditable(!locked, false);
}

void EntitySelectionControl::handleItemSelectionChanged()
{
    if (selectionListener_ == nullptr || updating_)
        return;
    if (grid_ != nullptr)
        grid_->clearFocus();
    styleAllRowsUnselected();

    const int counted = (kind_ == kSurfaceList) ? 1 : 0;
    std::vector<int> selectedRows;
    for (const QModelIndex& index : selectedIndexes())
        if (index.column() == counted && index.row() < static_cast<int>(rows_.size()))
            selectedRows.push_back(index.row());
    // The order of clicks must not matter: ids go out in table order.
    std::sort(selectedRows.begin(), selectedRows.end());

    const QString style = formatSelectionColor(selectedColor_);
    IdList ids;
    for (int index : selectedRows)
    {
        rows_[static_cast<std::size_t>(index)]->setRowStyle(style, true);
        ids.push_back(rows_[static_cast<std::size_t>(index)]->id());
    }
    setSelectedEntity(ids);
    selectionListener_->entitiesSelectionChanged(ids);
}

void EntitySelectionControl::setSelectedEntity(const IdList& ids)
{
    const Id next = ids.size() == 1 ? ids.front() : kNoEntity;
    // As for a click on another row: what the panel's fields hold goes to the entity they show
    // now, never to the next one.
    if (grid_ != nullptr && next != activeId_)
        grid_->clearFocus();
    previousActiveId_ = activeId_;
    activeId_ = next;
    if (grid_ != nullptr)
    {
        if (ids.size() != 1)
            grid_->setEditable(false, true);
        else if (const EntitySelectionData* row = rowOf(activeId_))
            followLockInGrid(row->isLocked());
        else
            LogProblem("Active index not found in model", "setSelectedEntity", __LINE__);
    }
    emit entitiesSelected(static_cast<int>(ids.size()));
}

void EntitySelectionControl::setSelectedEntities(const IdList& ids)
{
    updating_ = true;
    clearSelectedEntities();
    const QAbstractItemView::SelectionMode mode = selectionMode();
    setSelectionMode(QAbstractItemView::MultiSelection);
    const QString style = formatSelectionColor(selectedColor_);
    for (Id id : ids)
    {
        const int index = indexOfEntity(id);
        if (index < 0)
        {
            LogProblem("Index not found in entity model", "setSelectedEntities", __LINE__);
            continue;
        }
        selectRow(index);
        rows_[static_cast<std::size_t>(index)]->setRowStyle(style, true);
    }
    setSelectedEntity(ids);
    setSelectionMode(mode);
    // Selection notices the table still has queued arrive before this.
    QTimer::singleShot(0, this, [this] { updating_ = false; });
}

void EntitySelectionControl::executeUglyPatch()
{
    // Nudging the geometry makes the table lay its cell widgets out anew.
    const QRect current = geometry();
    setGeometry(current.adjusted(0, 0, -1, 0));
    setGeometry(current);
}

void EntitySelectionControl::handleEntityNameChanged(QTableWidgetItem* item)
{
    if (item == nullptr || applyingModelChange_)
        return;
    const int index = item->tableWidget() != nullptr ? item->row() : -1;
    if (index < 0 || index >= static_cast<int>(rows_.size()) || !rows_[static_cast<std::size_t>(index)])
        return;
    const EntitySelectionData& row = *rows_[static_cast<std::size_t>(index)];
    if (item != row.nameItem())
        return;
    onPropertyEvent(BoundPropertyEvent::ValueChanged, BoundName(row.id(), "Entity_Name"),
                    QVariant(item->text()));
}

void EntitySelectionControl::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                             const QVariant& value)
{
    switch (event)
    {
    case BoundPropertyEvent::ValueChanged:
        propertyValueChanged(propName, ValueKindOf(value), value);
        break;
    case BoundPropertyEvent::FocusGained:
    case BoundPropertyEvent::FocusLost:
        propertyFocusChanged(propName, event == BoundPropertyEvent::FocusGained);
        break;
    default:
        break;
    }
}

void EntitySelectionControl::propertyValueChanged(const QString& name, std::uint32_t valueKind,
                                                  const QVariant& value)
{
    if (entityChangeListener_ == nullptr)
        return;
    std::uint32_t kind = valueKind;
    const QStringList parts = name.split(';');
    if (parts.size() != 2)
    {
        // A grid property, named by the bare item name: it belongs to the
        // active entity, or to the one active before the last change.
        const Id target = activeId_ != kNoEntity ? activeId_ : previousActiveId_;
        if (target == kNoEntity)
            return;
        entityChangeListener_->entityValueChanged(target, name, &kind, value);
        if (name == "Entity_Name")
        {
            if (EntitySelectionData* row = rowOf(target))
                applyToRow(*row, [&](EntitySelectionData& r) { r.setName(value.toString()); });
            else
                LogProblem("Unable to find id for name change", "propertyValueChanged", __LINE__);
        }
        return;
    }
    const Id id = parts[0].toULongLong();
    const QString itemName = parts[1];
    if (itemName == "Entity_Lock")
    {
        if (EntitySelectionData* row = rowOf(id))
            applyToRow(*row, [&](EntitySelectionData& r) { r.setLocked(value.toBool()); });
        if (grid_ != nullptr && id == activeId_)
            followLockInGrid(value.toBool());
    }
    entityChangeListener_->entityValueChanged(id, itemName, &kind, value);
}

void EntitySelectionControl::propertyFocusChanged(const QString& name, bool gained)
{
    if (entityChangeListener_ == nullptr)
        return;
    const Id target = activeId_ != kNoEntity ? activeId_ : previousActiveId_;
    if (target == kNoEntity)
        return;
    entityChangeListener_->entityFocusChanged(target, name, gained);
}

bool EntitySelectionControl::updatePropertyValue(Id id, const QString& itemName, const QVariant& value)
{
    if (grid_ == nullptr)
        return true;
    try
    {
        const BeamSpeakerItem item = beamSpeakerItemFromName(itemName);
        EntitySelectionData* row = rowOf(id);
        if (row == nullptr)
        {
            LogProblem("Entity not found for update", "updatePropertyValue", __LINE__);
            return false;
        }
        switch (item)
        {
        case BeamSpeakerItem::Entity_Name:
            applyToRow(*row, [&](EntitySelectionData& r) { r.setName(value.toString()); });
            return true;
        case BeamSpeakerItem::Entity_Color:
            row->setColor(value.value<QColor>());
            return true;
        case BeamSpeakerItem::Entity_Transparency:
            row->setTransparent(value.toBool());
            return true;
        case BeamSpeakerItem::Entity_Visibility:
            row->setVisible(value.toBool());
            return true;
        case BeamSpeakerItem::Entity_Mute:
            row->setMuted(value.toBool());
            return true;
        case BeamSpeakerItem::Entity_Lock:
            if (row->isLocked() == value.toBool())
                return true;
            applyToRow(*row, [&](EntitySelectionData& r) { r.setLocked(value.toBool()); });
            if (id == activeId_)
                followLockInGrid(value.toBool());
            return true;
        default:
            if (id != activeId_)
                return true;
            return updatePropertyValue(itemName, value);
        }
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "updatePropertyValue", __LINE__);
        return false;
    }
}

bool EntitySelectionControl::updatePropertyValue(const QString& itemName, const QVariant& value)
{
    if (grid_ == nullptr)
        return true;
    if (grid_->getProperty(itemName) == nullptr)
    {
        const QString text =
            QString("Adapter requesting an update to a property (%1) that does not exist").arg(itemName);
        OmbraxLogger::LogException(std::logic_error(text.toStdString()), __FILE__, "updatePropertyValue",
                                   __LINE__);
        return false;
    }
    grid_->updateProperty(itemName, value);
    return true;
}

BindableProperty* EntitySelectionControl::findGridProperty(const QString& name) const
{
    return grid_ == nullptr ? nullptr : grid_->getProperty(name);
}

void EntitySelectionControl::setPropertiesGrid(BoundPropertiesGrid* grid)
{
    grid_ = grid;
    if (grid_ != nullptr)
        grid_->setEventListener(this);
}

void EntitySelectionControl::themeChanged(const int& theme)
{
    lightTheme_ = (theme == 1);
    unselectedColor_ = lightTheme_ ? "#F8F8F8" : "#141414";
    selectedColor_ = lightTheme_ ? "#575757" : "#cccccc";
    // The name cells and the empty area follow the rows' colours.
    const QString table = makeStyleSheetRule("QTableWidget", {{"background-color", unselectedColor_},
                                                              {"color", lightTheme_ ? "#000000" : "#FFFFFF"},
                                                              {"border", "none"}});
    const QString selectedItem =
        makeStyleSheetRule("QTableWidget::item:selected", {{"background-color", selectedColor_},
                                                           {"color", lightTheme_ ? "#F8F8F8" : "#000000"}});
    setStyleSheet(table + " " + selectedItem);
    for (const auto& row : rows_)
        row->themeChanged(theme);
    clearSelectedEntities();
}
} // namespace zorvpro
