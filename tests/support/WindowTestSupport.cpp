#include "WindowTestSupport.h"

#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace zorvpro::windowtest
{
bool MakeFolders(const QString& root)
{
    const QString speakers = root + QStringLiteral("/data/Zorv/Zorv Tessary/Loudspeakers");
    return QDir().mkpath(speakers) && QDir().mkpath(root + QStringLiteral("/config")) &&
           QDir().mkpath(root + QStringLiteral("/Documents")) &&
           datagen::WriteDataSet(juce::File(speakers.toStdString()), datagen::MakeArrayDataSet());
}

namespace
{
// The variables by which the program finds its folders, for folders below root.
std::vector<std::pair<const char*, QString>> FolderVariables(const QString& root)
{
    return {{"HOME", root},
            {"XDG_DATA_HOME", root + QStringLiteral("/data")},
            {"XDG_CONFIG_HOME", root + QStringLiteral("/config")},
            {"XDG_CACHE_HOME", root + QStringLiteral("/cache")}};
}
} // namespace

bool UseFolders(const QString& root)
{
    if (!MakeFolders(root))
        return false;
    for (const auto& [name, value] : FolderVariables(root))
        setenv(name, value.toLocal8Bit().constData(), 1);
    return true;
}

QProcessEnvironment FolderEnvironment(const QString& root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : FolderVariables(root))
        env.insert(QLatin1String(name), value);
    return env;
}

QString AnswerModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer)
{
    QString title;
    bool answered = false;
    QTimer poll;
    const QDeadlineTimer deadline(20000);
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal == nullptr || answered)
                         {
                             if (deadline.hasExpired() && !answered)
                             {
                                 poll.stop();
                                 ADD_FAILURE() << "no modal window opened";
                             }
                             return;
                         }
                         answered = true;
                         poll.stop();
                         title = modal->windowTitle();
                         answer(modal);
                     });
    poll.start(20);
    action();
    poll.stop();
    EXPECT_TRUE(answered) << "no modal window opened";
    return title;
}
} // namespace zorvpro::windowtest
