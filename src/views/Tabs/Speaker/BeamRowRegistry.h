#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>

namespace zorvpro
{
// The rows of the beam sections, by row key (the item name of the row's
// property, or "Title" and the beam number), so that whole rows can be shown
// and hidden. One table serves the process; it holds the rows of the panel
// laid out last. Widgets are watched: a row whose panel is gone is skipped.
class BeamRowRegistry
{
public:
    struct Entry
    {
        QPointer<QWidget> label;
        QPointer<QWidget> widget;
        bool secondBeam = false;
    };

    // Inserts or overwrites the row of the key.
    static void Set(const QString& key, QWidget* label, QWidget* widget, bool secondBeam);
    // Throws std::out_of_range "invalid map<K, T> key" for an unknown key.
    static const Entry& At(const QString& key);
    // Shows or hides the row's label and widget, each when present.
    static void SetRowVisible(const QString& key, bool visible);
    static const std::map<QString, Entry>& Entries();
    static void Clear();

private:
    static std::map<QString, Entry>& Table();
};
} // namespace zorvpro
