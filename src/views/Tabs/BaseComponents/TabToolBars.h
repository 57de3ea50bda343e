#pragma once

#include <QMargins>
#include <QRect>
#include <QString>
#include <initializer_list>

class QFrame;

namespace zorvpro
{
class IBindablePropertyEventListener;
class ToolBarControl;

// What the venue and speaker pages do alike with their three tool bars: one
// above the plan view, one above the side view, one docked at the right.

// The insets that line a bar above a view up with its plotting area: the
// widths of the grid's label columns left and right of it (none below zero).
QMargins plotAreaInsets(int labelsLeft, int labelsRight);

// Lays the bar into its container frame, inset left and right by the insets,
// and sends the bar's events to the page.
void installTabToolBar(QFrame* container, ToolBarControl* bar, const QMargins& insets,
                       IBindablePropertyEventListener* page);

// The style sheet of the bars' container frames for the theme (1 light).
QString tabToolBarSheet(int theme);
// The style sheet of the handles of the page's main splitter for the theme.
QString tabSplitterHandleSheet(int theme);

// Tells the bars where they are docked; the right bar's container shows only
// when they are docked at the right (1).
void placeTabToolBars(std::initializer_list<ToolBarControl*> bars, QFrame* rightContainer, int position);

// The bars' delete buttons can be used while something is selected.
void enableTabToolBarDelete(std::initializer_list<ToolBarControl*> bars, int selected);
} // namespace zorvpro
