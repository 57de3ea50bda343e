#include "views/Tabs/BaseComponents/TabToolBars.h"

#include "Utility/ApiChecker.h"
#include "views/Common/PropertyName.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"

#include <QFrame>
#include <QGridLayout>
#include <algorithm>

namespace zorvpro
{
QMargins plotAreaInsets(int labelsLeft, int labelsRight)
{
    return QMargins(std::max(labelsLeft, 0), 0, std::max(labelsRight, 0), 0);
}

void installTabToolBar(QFrame* container, ToolBarControl* bar, const QMargins& insets,
                       IBindablePropertyEventListener* page)
{
    CheckAlloc(container);
    CheckAlloc(bar);
    auto* layout = new QGridLayout(container);
    CheckAlloc(layout);
    container->setContentsMargins(0, 0, 0, 0);
    layout->setContentsMargins(insets.left(), 0, insets.right(), 0);
    layout->addWidget(bar->widget(), 0, 0);
    bar->setEventListener(page);
}

QString tabToolBarSheet(int theme)
{
    const bool light = theme == 1;
    const QMap<QString, QString> bar = {{"background-color", light ? "#f3f3f3" : "#242424"},
                                        {"border", "none"},
                                        {"color", light ? "#575757" : "#aaaaaa"}};
    return makeStyleSheetRule("QFrame", bar) + " " + makeStyleSheetRule("QPushButton", bar) + " " +
           makeStyleSheetRule("QSlider", bar);
}

QString tabSplitterHandleSheet(int theme)
{
    return makeStyleSheetRule("QSplitter::handle",
                              {{"background-color", theme == 1 ? "#FFFFFF" : "#000000"}, {"border", "none"}});
}

void placeTabToolBars(std::initializer_list<ToolBarControl*> bars, QFrame* rightContainer, int position)
{
    for (ToolBarControl* bar : bars)
        bar->toolbarPositionChanged(position);
    rightContainer->setVisible(position == 1);
}

void enableTabToolBarDelete(std::initializer_list<ToolBarControl*> bars, int selected)
{
    for (ToolBarControl* bar : bars)
        if (BindableProperty* remove =
                bar->getProperty(toPropertyName(BeamSpeakerItem::Toolbar_DeleteEntity)))
            remove->setEditable(selected >= 1, false);
}
} // namespace zorvpro
