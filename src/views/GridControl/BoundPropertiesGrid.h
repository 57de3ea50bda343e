#pragma once

#include "views/Common/IAppThemeListener.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/GridControl/IBindablePropertyUpdater.h"

#include <QFrame>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

class QLabel;
class QLayoutItem;

namespace zorvpro
{
class BindableProperty;
class BoundPropertiesGridImpl;

// The base of every panel: holds its properties by name in a labelled grid,
// shows model values without events, restyles them with the theme and
// passes every event they raise to the panel's one listener.
class BoundPropertiesGrid : public IBindablePropertyEventListener,
                            public IBindablePropertyUpdater,
                            public IAppThemeListener
{
public:
    // A label that sizes itself.
    static constexpr std::uint32_t kFreeWidth = 0xFFFFFFFFu;

    explicit BoundPropertiesGrid(const QString& objectName);
    ~BoundPropertiesGrid() override;

    BoundPropertiesGrid(const BoundPropertiesGrid&) = delete;
    BoundPropertiesGrid& operator=(const BoundPropertiesGrid&) = delete;

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    virtual void setEditable(bool enabled, bool clearWhenDisabled);
    virtual void createProperties() = 0;
    virtual void layoutProperties() = 0;

    void updateProperty(const QString& name, const QVariant& value) override;
    void themeChanged(const int& theme) override;

    QFrame* widget() const;
    // Takes ownership. A second property of a bound name is refused (logged)
    // but still reports its events here.
    void bindProperty(BindableProperty* property);
    BindableProperty* getProperty(const QString& name) const;
    // Shows the value without an event; an unbound name is logged and dropped.
    void updateBoundPropertyValue(const QString& name, const QVariant& value);
    void setEventListener(IBindablePropertyEventListener* listener);
    void clearFocus();
    int currentTheme() const;

    QLabel* createLabel(const QString& text, std::uint32_t width);
    QFrame* createSeparator(QFrame::Shape shape);
    void addWidgetToGrid(QWidget* widget, int row, int column, int rowSpan = 1, int columnSpan = 1,
                         Qt::Alignment alignment = Qt::Alignment());
    void addItemToGrid(QLayoutItem* item, int row, int column, int rowSpan = 1, int columnSpan = 1,
                       Qt::Alignment alignment = Qt::Alignment());
    // Leaves an empty row in the container's grid layout and counts it.
    void addSpacerRow(QWidget* container, std::uint32_t& row, int column);

private:
    std::unique_ptr<BoundPropertiesGridImpl> impl_;
    // The frame is the implementation; a container that deleted it first
    // must not make the grid delete it again.
    QPointer<QFrame> frame_;
};
} // namespace zorvpro
