#include "views/Common/WarningMessage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSplashScreen>
#include <QString>

namespace zorvpro
{
void showWarningMessage(const QString& text, const QString& title, QWidget* parent, const QString& detail)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* splash = qobject_cast<QSplashScreen*>(top); splash != nullptr && splash->isVisible())
            splash->close();
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    box.setObjectName(QStringLiteral("warningMessageBox"));
    for (QAbstractButton* button : box.buttons())
    {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumSize(80, 24);
    }
    box.exec();
}
} // namespace zorvpro
