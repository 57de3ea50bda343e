#include "views/Tabs/BaseComponents/TabLayoutFunctions.h"

#include "Utility/ApiChecker.h"
#include "views/GridControl/BoundPropertiesGrid.h"

#include <QEvent>
#include <QFrame>
#include <QSplitter>
#include <QTimer>

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

namespace
{
// Applies the sizes once the splitter is shown, after the layouts gave it its width.
class SplitOnShow : public QObject
{
public:
    explicit SplitOnShow(QSplitter* splitter) : QObject(splitter), splitter_(splitter)
    {
        splitter->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == splitter_ && event->type() == QEvent::Show)
            QTimer::singleShot(0, this,
                               [this]
                               {
                                   if (!splitter_->isVisible())
                                       return;
                                   splitter_->setSizes({505, 400});
                                   deleteLater();
                               });
        return false;
    }

private:
    QSplitter* splitter_;
};
} // namespace

void sizePropertiesSplitterWhenShown(QSplitter* splitter)
{
    CheckAlloc(splitter);
    splitter->setSizes({505, 400});
    new SplitOnShow(splitter);
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
