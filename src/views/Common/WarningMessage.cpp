#include "views/Common/WarningMessage.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace zorvpro
{
void showWarningMessage(const QString& text, const QString& title, QWidget* parent)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("warningMessageBox"));
    for (QAbstractButton* button : box.buttons())
    {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumSize(80, 24);
    }
    box.exec();
}
} // namespace zorvpro
