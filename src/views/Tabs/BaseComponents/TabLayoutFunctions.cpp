#include "views/Tabs/BaseComponents/TabLayoutFunctions.h"

#include "Utility/ApiChecker.h"
#include "views/GridControl/BoundPropertiesGrid.h"

#include <QFrame>
#include <QSplitter>

namespace zorvpro
{
void clearFrameStyle(QFrame* frame)
{
    CheckAlloc(frame);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setFrameShadow(QFrame::Plain);
}

void updatePropertyIfBound(BoundPropertiesGrid* grid, const QString& name, const QVariant& value)
{
    if (grid != nullptr && grid->getProperty(name) != nullptr)
        grid->updateProperty(name, value);
}

void setTabSplitterSizes(std::uint32_t tab, QSplitter* splitter)
{
    CheckAlloc(splitter);
    if (tab == 0)
        splitter->setSizes({160, 640});
    else if (tab == 1)
        splitter->setSizes({533, 267});
}
} // namespace zorvpro
