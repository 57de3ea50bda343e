#pragma once

#include "core/Nodes/Node.h"
#include "core/Xml/HierarchicalFileElement.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"

#include <QObject>
#include <QString>

namespace zorvpro
{

// State and work of the project document; the file format routines live in
// ProjectFileFormat.cpp.
class ProjectDefinition::Impl : public QObject
{
    Q_OBJECT

public:
    explicit Impl(ProjectDefinition* owner);
    ~Impl() override;

    bool Load(const QString& path);
    bool Save(const QString& path);
    void Clear(bool markModified);

    void SaveVenue(const HierarchicalFileElementPtr& project);
    void SaveSettings(const HierarchicalFileElementPtr& project);
    bool LoadSettings(const HierarchicalFileElementPtr& project);
    bool LoadVenue(const HierarchicalFileElementPtr& project);

    void WriteNode(const NodePtr& node, const HierarchicalFileElementPtr& parent);
    // depth counts the "Children" levels above the element.
    bool ReadNode(const NodePtr& parent, const HierarchicalFileElementPtr& element, int depth = 1);

    // Deeper nesting fails the load instead of exhausting the stack.
    static constexpr int MaxNodeDepth = 256;

    // Clears the flag and emits when it was set.
    void ResetModified();
    // The project matches its file (or is new): nothing pending off the
    // undo stack, the stack clean and the flag cleared.
    void ForgetHistory();
    void MarkClean();

    ProjectSettings m_settings;
    Venue m_venue;
    QString m_fileName;
    bool m_modified = false;
    bool m_loading = false;
    bool m_clearing = false;
    // A change that the undo stack does not know of (a settings change,
    // MarkModified) is pending since the last load, save or clear.
    bool m_changedOffStack = false;

public slots:
    void onSettingsChanged();
    void onCleanChanged(bool clean);

private:
    ProjectDefinition* m_owner;
};

} // namespace zorvpro
