#include "data/Project/ProjectDefinition.h"

#include "data/Project/ProjectDefinitionImpl.h"
#include "data/Project/RecentFiles.h"

#include <QFile>
#include <new>

namespace zorvpro
{

ProjectDefinition* ProjectDefinition::Instance()
{
    static ProjectDefinition instance;
    return &instance;
}

ProjectDefinition::ProjectDefinition() : QObject(nullptr), m_impl(new Impl(this)) {}

ProjectDefinition::~ProjectDefinition()
{
    delete m_impl;
}

bool ProjectDefinition::Load(const QString& path)
{
    return m_impl->Load(path);
}

bool ProjectDefinition::Save()
{
    return m_impl->Save(m_impl->m_fileName);
}

bool ProjectDefinition::SaveAs(const QString& path)
{
    return m_impl->Save(path);
}

void ProjectDefinition::Clear(bool markModified)
{
    m_impl->Clear(markModified);
}

bool ProjectDefinition::IsModified() const
{
    return m_impl->m_modified;
}

void ProjectDefinition::MarkModified()
{
    m_impl->m_modified = true;
    m_impl->m_changedOffStack = true;
}

QString ProjectDefinition::GetFileName() const
{
    return m_impl->m_fileName;
}

void ProjectDefinition::SetFileName(const QString& fileName)
{
    if (m_impl->m_fileName == fileName)
        return;
    m_impl->m_fileName = fileName;
    emit fileNameChanged();
}

ProjectSettings* ProjectDefinition::GetSettings()
{
    return &m_impl->m_settings;
}

Venue* ProjectDefinition::GetVenue()
{
    return &m_impl->m_venue;
}

QStringList ProjectDefinition::GetRecentFiles() const
{
    QStringList existing;
    for (const QString& path : RecentFiles::Read())
    {
        if (QFile::exists(path))
            existing.append(path);
    }
    return existing;
}

void ProjectDefinition::AddRecentFile(const QString& path)
{
    QStringList files = RecentFiles::Read();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    RecentFiles::Write(files);
    emit recentFilesChanged();
}

void ProjectDefinition::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles::Read();
    files.removeAll(path);
    RecentFiles::Write(files);
    emit recentFilesChanged();
}

} // namespace zorvpro
