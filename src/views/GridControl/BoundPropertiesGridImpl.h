#pragma once

#include <QFrame>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <vector>

class QGridLayout;

namespace zorvpro
{
class BindableProperty;
class IBindablePropertyEventListener;

// The frame of a properties grid and what the grid owns.
class BoundPropertiesGridImpl : public QFrame
{
    Q_OBJECT

public:
    explicit BoundPropertiesGridImpl(const QString& objectName);
    // Properties go first (each deletes its widget), then labels and
    // separators in creation order, then the frame itself.
    ~BoundPropertiesGridImpl() override;

    QGridLayout* gridLayout() const { return layout_; }

    // Watched: a label put into another container may go with it.
    std::vector<QPointer<QWidget>> ownedWidgets;
    IBindablePropertyEventListener* listener = nullptr;
    // Ordered by name, which is the order of every walk over the properties.
    std::map<QString, std::unique_ptr<BindableProperty>> properties;
    // Properties refused as duplicates: kept alive so that they neither leak
    // nor leave a dangling listener, but reachable by no name.
    std::vector<std::unique_ptr<BindableProperty>> refused;
    int theme = 1;

private:
    QGridLayout* layout_ = nullptr;
};
} // namespace zorvpro
