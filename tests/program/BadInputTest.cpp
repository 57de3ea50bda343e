// Bad input at start-up is said, not passed over: a project file on the command line that is not
// there gets the load error box (after the splash), an unreadable data set an error line in the
// log naming the file and the reason.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "data/Project/ProjectDefinition.h"
#include "views/Shell/MainWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
TEST(BadInput, MissingProjectIsSaidAndAnUnreadableDataSetIsLoggedAsAnError)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(MakeFolders(root.path()));
    const QString broken = root.filePath(QStringLiteral("data/Zorv/Zorv Tessary/Loudspeakers/Broken.vxq"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not an archive");
    }
    QProcessEnvironment env = windowtest::FolderEnvironment(root.path());
    env.insert(QStringLiteral("ZORV_E2E_ROOT"), root.path());

    // A file that is not there, and one that is there but no project: each is said in the load
    // error's box, shown once the splash has gone.
    const QString garbage = root.filePath(QStringLiteral("Documents/Garbage.tq"));
    {
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?><Settings/>");
    }
    for (const QString& named : {root.filePath(QStringLiteral("Documents/Gone.tq")), garbage})
    {
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--phase"), QStringLiteral("3"), named});
        ASSERT_TRUE(program.waitForFinished(120000));
        const QByteArray errors = program.readAllStandardError();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors.toStdString();
        EXPECT_EQ(program.exitCode(), 0) << named.toStdString() << "\n" << errors.toStdString();
    }

    // The log files, written at the default level, name the data set and why it was not read.
    const QByteArray expected =
        "(E): Loudspeaker data set " + broken.toUtf8() + " not loaded: Not a zip archive";
    int logs = 0;
    for (QDirIterator it(root.path(), {QStringLiteral("*.log")}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
    {
        QFile log(it.next());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        ++logs;
        const QByteArray text = log.readAll();
        EXPECT_TRUE(text.contains(expected)) << text.toStdString();
    }
    EXPECT_GE(logs, 1);
}
TEST(BadInput, RecentTileOfAVanishedProjectNamesIt)
{
    StartOnSpeakerTab();
    const QString path = Documents() + QStringLiteral("/Vanishing.tq");
    SaveAs(path);
    ASSERT_EQ(ProjectDefinition::Instance()->GetFileName(), path);
    Window()->findChild<QAction*>(QStringLiteral("actionNew"))->trigger();
    ASSERT_EQ(Window()->currentPage(), 0);
    QWidget* tile = Shown("recDoc1Button");
    ASSERT_NE(tile, nullptr);
    ASSERT_TRUE(tile->isEnabled());
    ASSERT_TRUE(QFile::remove(path));

    QString text, detail;
    bool told = false;
    // The tile opens its file a moment after the click.
    const QString title = AnswerModal(
        [&]
        {
            QTest::mouseClick(tile, Qt::LeftButton);
            EXPECT_TRUE(QTest::qWaitFor([&] { return told; }, kDeadline));
        },
        [&](QWidget* modal)
        {
            told = true;
            if (auto* box = qobject_cast<QMessageBox*>(modal))
            {
                text = box->text();
                detail = box->informativeText();
            }
            PressButton(QStringLiteral("OK"))(modal);
        });
    EXPECT_EQ(title, QStringLiteral("File Load Error"));
    EXPECT_EQ(text, QStringLiteral("The file could not be loaded."));
    EXPECT_EQ(detail, QDir::toNativeSeparators(path));
    EXPECT_EQ(Window()->currentPage(), 0);
}
} // namespace zorvpro::programtest
