#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>

class QFrame;
class QSplitter;

namespace zorvpro
{
class BoundPropertiesGrid;

// Small layout helpers the tab pages share.

// No frame shape and a plain shadow; a missing frame fails as a missing
// resource.
void clearFrameStyle(QFrame* frame);
// Shows the value when the grid exists and binds the name; otherwise nothing.
void updatePropertyIfBound(BoundPropertiesGrid* grid, const QString& name, const QVariant& value);
// The initial split between a tab's list and its views: 160/640 for the
// venue tab (0), 533/267 for the speaker tab (1); other tabs keep theirs.
void setTabSplitterSizes(std::uint32_t tab, QSplitter* splitter);
// Sizes the split between a page's properties pane and its views (505/400, shared out in that
// ratio) now and again when the splitter is first shown: sizes set while the page is hidden
// are scaled from its design size and leave the pane narrow at the window's real width.
void sizePropertiesSplitterWhenShown(QSplitter* splitter);
} // namespace zorvpro
