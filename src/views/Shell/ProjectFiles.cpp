#include "views/Shell/ProjectFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace zorvpro
{
bool IsReadableProjectFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement)
            return reader.name() == QLatin1String("Project");
    return false;
}

QString showFileDialog(const QString& title, const QString& nameFilter, const QString& directory,
                       const QString& proposedFileName, bool openMode)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setWindowTitle(title);
    dialog.setNameFilter(nameFilter);
    dialog.setDirectory(QFileInfo(directory).isDir() ? directory : QFileInfo(directory).absolutePath());
    dialog.setDefaultSuffix(QStringLiteral("tq"));
    dialog.setWindowFlags(dialog.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    dialog.setAcceptMode(openMode ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->setCursor(Qt::PointingHandCursor);
    dialog.selectFile(proposedFileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString HelpPagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QDir::separator() +
           QCoreApplication::translate("MainWindow", "Help") + QDir::separator() +
           QCoreApplication::translate("MainWindow", "default.htm");
}

bool EnsureHelpPage(const QString& path)
{
    if (QFile::exists(path))
        return true;
    QFile source(QStringLiteral(":/Resources/Help/default.htm"));
    if (!source.open(QIODevice::ReadOnly) || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile target(path);
    return target.open(QIODevice::WriteOnly) && target.write(source.readAll()) >= 0 && target.flush();
}
} // namespace zorvpro
