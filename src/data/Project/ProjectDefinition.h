#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace zorvpro
{

class ProjectSettings;
class Venue;

// The one open project: its file name, modified flag, settings and venue,
// and the list of recently used project files. GUI thread only.
class ProjectDefinition : public QObject
{
    Q_OBJECT

public:
    class Impl;

    static ProjectDefinition* Instance();

    ~ProjectDefinition() override;

    // On failure the project is left empty, unnamed and not modified, and the
    // path leaves the recent list.
    bool Load(const QString& path);
    // The file is replaced only by a complete write; name, clean state and
    // recent list change only after it succeeded.
    bool Save();
    bool SaveAs(const QString& path);
    // Empties the venue (keeping its root), forgets the file name, resets
    // the settings and marks the undo stack clean; the flag ends as given.
    void Clear(bool markModified);

    bool IsModified() const;
    // Sets the flag without emitting anything.
    void MarkModified();

    QString GetFileName() const;
    void SetFileName(const QString& fileName);

    ProjectSettings* GetSettings();
    Venue* GetVenue();

    // The stored list without files that no longer exist; the store is not changed.
    QStringList GetRecentFiles() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    static constexpr int MaxRecentFiles = 5;

signals:
    void fileNameChanged();
    void fileModifiedChanged();
    void recentFilesChanged();

private:
    ProjectDefinition();

    Impl* m_impl;
};

} // namespace zorvpro
