#include "data/Project/RecentFiles.h"

#include <QObject>
#include <QSettings>

namespace zorvpro
{

namespace
{
const char* const RecentFileListKey = "RecentFileList";
}

namespace RecentFiles
{

QStringList Read()
{
    QSettings store(QObject::tr("Zorv"), QObject::tr("Zorv Tessary"));
    return store.value(QString::fromLatin1(RecentFileListKey)).toStringList();
}

void Write(const QStringList& files)
{
    QSettings store(QObject::tr("Zorv"), QObject::tr("Zorv Tessary"));
    store.setValue(QString::fromLatin1(RecentFileListKey), files);
}

} // namespace RecentFiles

} // namespace zorvpro
