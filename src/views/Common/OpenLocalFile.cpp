#include "views/Common/OpenLocalFile.h"

#include "core/Logger/OmbraxLogger.h"
#include "core/Logging/LogLevel.h"
#include "views/Common/WarningMessage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QString>
#include <QUrl>

namespace zorvpro
{
bool OpenLocalFile(const QString& path, QWidget* parent)
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    const QString text =
        QCoreApplication::translate("OpenLocalFile", "No program could open the file. It is here:\n%1")
            .arg(QDir::toNativeSeparators(path));
    OmbraxLogger::Log(LogLevel::Warning, text);
    showWarningMessage(text, QCoreApplication::translate("OpenLocalFile", "WARNING"), parent);
    return false;
}
} // namespace zorvpro
