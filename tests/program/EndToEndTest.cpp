// The whole program twice, as separate processes: build an array with its maps and save it,
// then start again with the saved file and get the same levels; both close with exit code 0,
// their threads joined and no exception in the log.
#include "ProgramTestEnv.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
TEST(EndToEnd, ArrayMapsSurviveSaveAndRestart)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(MakeFolders(root.path()));
    QProcessEnvironment env = windowtest::FolderEnvironment(root.path());
    env.insert(QStringLiteral("ZORV_E2E_ROOT"), root.path());

    const QString saved = root.filePath(QStringLiteral("Documents/EndToEnd.tq"));
    const QStringList runs[] = {{QStringLiteral("--phase"), QStringLiteral("1")},
                                {QStringLiteral("--phase"), QStringLiteral("2"), saved}};
    for (const QStringList& arguments : runs)
    {
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(root.path());
        program.start(QCoreApplication::applicationFilePath(), arguments);
        // Both runs within the test command's limit per test, so that a hung run fails here, by
        // its phase, and is ended with this process.
        ASSERT_TRUE(program.waitForFinished(120000)) << arguments.join(' ').toStdString();
        const QByteArray errors = program.readAllStandardError();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors.toStdString();
        EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
        EXPECT_FALSE(errors.contains("end-to-end check failed")) << errors.toStdString();
        if (arguments.size() == 2)
        {
            ASSERT_TRUE(QFile::exists(saved)) << errors.toStdString();
        }
    }

    // The logs of both runs hold no exception.
    int logs = 0;
    for (QDirIterator it(root.path(), {QStringLiteral("*.log"), QStringLiteral("*.txt")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();)
    {
        QFile log(it.next());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        ++logs;
        EXPECT_FALSE(log.readAll().contains("xception")) << log.fileName().toStdString();
    }
    EXPECT_GT(logs, 0);
}
} // namespace zorvpro::programtest
