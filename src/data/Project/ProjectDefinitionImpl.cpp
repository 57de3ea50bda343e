#include "data/Project/ProjectDefinitionImpl.h"

#include "core/Commands/UndoStack.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/Xml/HierarchicalFile.h"

#include <QUndoStack>

namespace zorvpro
{

namespace
{
const char* const ProjectTag = "Project";

void LogError(const QString& text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}
} // namespace

ProjectDefinition::Impl::Impl(ProjectDefinition* owner) : m_owner(owner)
{
    connect(&m_settings, &ProjectSettings::settingsChanged, this, &Impl::onSettingsChanged);
    connect(&UndoStack::Instance(), &QUndoStack::cleanChanged, this, &Impl::onCleanChanged);
}

ProjectDefinition::Impl::~Impl() = default;

void ProjectDefinition::Impl::onCleanChanged(bool clean)
{
    // Undoing back to the clean state must not hide changes that never went
    // through the undo stack (settings, MarkModified): they are still unsaved.
    const bool modified = !clean || m_changedOffStack;
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit m_owner->fileModifiedChanged();
}

void ProjectDefinition::Impl::onSettingsChanged()
{
    if (m_loading || m_clearing)
        return;
    m_changedOffStack = true;
    if (m_modified)
        return;
    m_modified = true;
    emit m_owner->fileModifiedChanged();
}

void ProjectDefinition::Impl::MarkClean()
{
    m_changedOffStack = false;
    UndoStack::Instance().setClean();
    ResetModified();
}

void ProjectDefinition::Impl::ForgetHistory()
{
    // The edits of the previous document refer to its nodes: undoing one after a load or a
    // clear would put them into the new venue, so the history goes with the document.
    UndoStack::Instance().clear();
}

void ProjectDefinition::Impl::ResetModified()
{
    if (!m_modified)
        return;
    m_modified = false;
    emit m_owner->fileModifiedChanged();
}

bool ProjectDefinition::Impl::Load(const QString& path)
{
    const bool wasLoading = m_loading;
    m_loading = true;

    bool loaded = false;
    if (HierarchicalFilePtr file = HierarchicalFile::Open(path))
    {
        m_owner->SetFileName(path);
        HierarchicalFileElementPtr project = file->GetRoot();
        if (project->GetName() != QLatin1String(ProjectTag))
            LogError(QString("Unable to find %1 element in settings").arg(ProjectTag));
        else if (!LoadSettings(project))
            LogError("Load of settings failed");
        else if (!LoadVenue(project))
            LogError("Load of venue failed");
        else
            loaded = true;
    }
    else
    {
        LogError("Unable to read project file");
    }

    if (loaded)
    {
        m_owner->AddRecentFile(path);
        ForgetHistory();
        MarkClean();
    }
    else
    {
        Clear(false);
        m_venue.RemoveAllNodes();
        m_owner->RemoveRecentFile(path);
    }

    m_loading = wasLoading;
    return loaded;
}

bool ProjectDefinition::Impl::Save(const QString& path)
{
    // Everything about the project changes only once the file is written, so
    // a failed save leaves it named as before and still modified.
    HierarchicalFile file;
    HierarchicalFileElementPtr project = file.CreateRoot(ProjectTag);
    if (!project)
        return false;
    project->SetAttribute("Version", "1");
    SaveVenue(project);
    SaveSettings(project);

    if (!file.Save(path))
        return false;

    m_owner->SetFileName(path);
    MarkClean();
    m_owner->AddRecentFile(path);
    return true;
}

void ProjectDefinition::Impl::Clear(bool markModified)
{
    const bool wasClearing = m_clearing;
    m_clearing = true;

    // Callers starting a new project rely on Clear alone to drop the old
    // surfaces; the root itself stays.
    m_venue.RemoveAllNodes();
    m_owner->SetFileName(QString());
    m_settings.Reset();
    ForgetHistory();
    MarkClean();
    if (markModified)
    {
        m_changedOffStack = true;
        m_modified = true;
        emit m_owner->fileModifiedChanged();
    }

    m_clearing = wasClearing;
}

} // namespace zorvpro
