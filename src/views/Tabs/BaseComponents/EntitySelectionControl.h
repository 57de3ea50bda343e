#pragma once

#include "views/Common/IAppThemeListener.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/Tabs/BaseComponents/EntityId.h"
#include "views/Tabs/BaseComponents/IPropertyChangeListener.h"

#include <QColor>
#include <QTableWidget>
#include <memory>
#include <vector>

namespace zorvpro
{
class BindableProperty;
class BoundPropertiesGrid;
class EntitySelectionData;
class IEntityChangeListener;
class IEntitySelectionListener;

// The user's list of the venue objects of one tab: one row per surface
// (kind 0) or loudspeaker (kind 1) with its editable name and toggle buttons.
// User selections go to the selection listener, user edits in the list and in
// the tab's properties grid to the entity change listener, tagged with the
// entity's id. What the adapter sets (rows, names, values, selections) is
// shown without being reported back.
class EntitySelectionControl : public QTableWidget,
                               public IPropertyChangeListener,
                               public IAppThemeListener,
                               public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    static constexpr std::uint32_t kSurfaceList = 0;
    static constexpr std::uint32_t kLoudspeakerList = 1;

    // Throws std::logic_error (after logging) for an empty name.
    EntitySelectionControl(std::uint32_t kind, const QString& name, QWidget* parent = nullptr);
    ~EntitySelectionControl() override;

    // Appends a row. A row that cannot be built is logged and leaves the
    // list as it was.
    void addEntity(Id id, const QString& name, bool transparent, bool visible, bool locked,
                   const QColor& color, bool muted);
    void removeEntity(Id id);
    // Removes the rows of the ids (ids without a row are skipped); all rows at
    // once when every row goes, as when a project is cleared.
    void removeEntities(const IdList& ids);
    void clearSelectedEntities();
    int indexOfEntity(Id id) const;
    // Selects the rows of the ids without telling the selection listener.
    void setSelectedEntities(const IdList& ids);
    // A model value of one entity: shown in its row, or, for the active
    // entity, in the properties grid. False when it could not be shown.
    bool updatePropertyValue(Id id, const QString& itemName, const QVariant& value);
    bool updatePropertyValue(const QString& itemName, const QVariant& value);
    BindableProperty* findGridProperty(const QString& name) const;
    void setPropertiesGrid(BoundPropertiesGrid* grid);
    void setEntityChangeListener(IEntityChangeListener* listener) { entityChangeListener_ = listener; }
    void setSelectionListener(IEntitySelectionListener* listener) { selectionListener_ = listener; }

    Id activeId() const { return activeId_; }
    Id previousActiveId() const { return previousActiveId_; }
    std::uint32_t kind() const { return kind_; }

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void propertyValueChanged(const QString& name, std::uint32_t valueKind, const QVariant& value) override;
    void propertyFocusChanged(const QString& name, bool gained) override;
    void themeChanged(const int& theme) override;

signals:
    void entitiesSelected(int numSelected);

public slots:
    void executeUglyPatch();
    void handleItemSelectionChanged();
    void handleEntityNameChanged(QTableWidgetItem* item);
    void setSelectedEntity(const zorvpro::IdList& ids);
    QString formatSelectionColor(const QString& color);

protected:
    bool viewportEvent(QEvent* event) override;

private:
    // In a viewport narrower than all the columns the name gives way, so that the row's
    // buttons stay in sight rather than behind a horizontal scroll bar.
    void fitNameColumn();
    // Takes the row's button cells out through the table before the row goes: a cell widget the
    // table loses with its row stays on the view's list of lasting editors, and a name editor
    // later made at its address would be taken for one and never closed.
    void releaseCellWidgets(int row);
    EntitySelectionData* rowOf(Id id) const;
    void styleAllRowsUnselected();
    // Enables the grid for an unlocked active entity, disables it (keeping
    // its values) for a locked one.
    void followLockInGrid(bool locked);
    // Runs a change of the adapter's on a row without reporting the name
    // cell's change back as a rename.
    template <typename Change> void applyToRow(EntitySelectionData& row, Change change);

    std::vector<std::shared_ptr<EntitySelectionData>> rows_;
    const std::uint32_t kind_;
    Id activeId_ = kNoEntity;
    Id previousActiveId_ = kNoEntity;
    BoundPropertiesGrid* grid_ = nullptr;
    IEntityChangeListener* entityChangeListener_ = nullptr;
    IEntitySelectionListener* selectionListener_ = nullptr;
    QString unselectedColor_ = "#242424";
    QString selectedColor_ = "#b5b5b5";
    bool updating_ = false;
    bool lightTheme_ = false;
    bool applyingModelChange_ = false;
};
} // namespace zorvpro
