#pragma once

// Answers the modal warning boxes an action opens and records what they showed.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <vector>

namespace zorvpro::test
{

struct WarningBoxes
{
    struct Seen
    {
        QString title, text;
        bool shellBox; // warning icon, one Ok button: pointing hand, at least 80 x 24
    };

    WarningBoxes()
    {
        QObject::connect(&poll, &QTimer::timeout,
                         [this]
                         {
                             auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                             if (!box || !box->isVisible())
                                 return;
                             const auto buttons = box->buttons();
                             const bool shell = box->icon() == QMessageBox::Warning && buttons.size() == 1 &&
                                                box->standardButton(buttons[0]) == QMessageBox::Ok &&
                                                buttons[0]->cursor().shape() == Qt::PointingHandCursor &&
                                                buttons[0]->minimumWidth() >= 80 &&
                                                buttons[0]->minimumHeight() >= 24;
                             seen.push_back({box->windowTitle(), box->text(), shell});
                             box->reject();
                         });
        poll.start(5);
    }

    QTimer poll;
    std::vector<Seen> seen;
};

} // namespace zorvpro::test
