#include "views/GridControl/BoundPropertiesGridImpl.h"

#include "Utility/ApiChecker.h"
#include "views/GridControl/BindableProperty.h"

#include <QGridLayout>

namespace zorvpro
{
BoundPropertiesGridImpl::BoundPropertiesGridImpl(const QString& objectName) : QFrame(nullptr)
{
    layout_ = new QGridLayout(this);
    CheckAlloc(layout_);
    layout_->setAlignment(Qt::AlignLeft);
    layout_->setContentsMargins(0, 0, 0, 0);
    setContentsMargins(0, 0, 0, 0);
    setObjectName(objectName);
}

BoundPropertiesGridImpl::~BoundPropertiesGridImpl()
{
    properties.clear();
    refused.clear();
    for (const QPointer<QWidget>& widget : ownedWidgets)
        delete widget.data();
    ownedWidgets.clear();
}
} // namespace zorvpro
