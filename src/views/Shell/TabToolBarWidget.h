#pragma once

#include "views/GridControl/BoundPropertiesGrid.h"

#include <QList>

class QFrame;

namespace zorvpro
{
// The bar across the top of the tab pages: the main-menu button, then the
// Venue, Speakers / Analysis and Report tab buttons, exactly one selected.
// Presses reach the listener as value changes; selecting from code and
// focus events reach nobody.
class TabToolBarWidget : public BoundPropertiesGrid
{
public:
    explicit TabToolBarWidget(QWidget* parent = nullptr);

    void createProperties() override;
    void layoutProperties() override;
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void updateProperty(const QString& name, const QVariant& value) override;
    void themeChanged(const int& theme) override;

private:
    void selectExclusively(const QString& name);

    QList<QFrame*> separators;
};
} // namespace zorvpro
