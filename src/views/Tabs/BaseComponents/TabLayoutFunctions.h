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
} // namespace zorvpro
