#pragma once

#include "core/Commands/UndoStack.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/RecentFiles.h"
#include "data/Project/Venue.h"
#include "tests/core/support/TempDir.h"

#include <QFile>
#include <QSettings>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace zorvpro::test
{

// Starts each test with an empty, unnamed, unmodified project and an empty
// recent list kept in a temporary settings store.
class ProjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.IsValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.File("settings"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.File("settings"));
        RecentFiles::Write({});
        UndoStack::Instance().clear();
        Project()->Clear(false);
        Project()->GetVenue()->RemoveAllNodes();
    }

    void TearDown() override
    {
        UndoStack::Instance().clear();
        Project()->Clear(false);
        Project()->GetVenue()->RemoveAllNodes();
    }

    static ProjectDefinition* Project() { return ProjectDefinition::Instance(); }

    QString WriteFile(const QString& name, const QByteArray& content) const
    {
        const QString path = m_dir.File(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

    QString PathIn(const QString& name) const { return m_dir.File(name); }

private:
    TempDir m_dir;
};

} // namespace zorvpro::test
