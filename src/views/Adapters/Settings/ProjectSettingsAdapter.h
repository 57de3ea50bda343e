#pragma once

#include "views/Common/AdapterBase.h"
#include "views/GridControl/IBindablePropertyEventListener.h"

namespace zorvpro
{
class BoundPropertiesGrid;

// Binds a grid of project preferences (title fields, air conditions, ear
// height) to the open project's settings, both ways, and keeps the acoustic
// environment's air conditions in step with them.
class ProjectSettingsAdapter : public AdapterBase, public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    // Throws std::logic_error for a null grid. Not owned; must outlive this.
    explicit ProjectSettingsAdapter(BoundPropertiesGrid* grid, QObject* parent = nullptr);

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;

public slots:
    // Shows the stored settings in the grid and applies the air conditions.
    void initPropertyValues();

private:
    BoundPropertiesGrid* grid_;
};
} // namespace zorvpro
