#pragma once

// Answers the modal warning boxes an action opens and records what they showed.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <vector>

namespace zorvpro::test
{

struct SeenWarning
{
    QString title, text;
    bool warningIcon = false;
    bool oneOkButton = false; // with the pointing-hand cursor, at least 80 x 24
};

class WarningBoxes
{
public:
    WarningBoxes()
    {
        QObject::connect(
            &m_poll, &QTimer::timeout,
            [this]
            {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box || !box->isVisible())
                    return;
                const auto buttons = box->buttons();
                const bool ok = buttons.size() == 1 && box->standardButton(buttons[0]) == QMessageBox::Ok &&
                                buttons[0]->cursor().shape() == Qt::PointingHandCursor &&
                                buttons[0]->minimumWidth() >= 80 && buttons[0]->minimumHeight() >= 24;
                seen.push_back({box->windowTitle(), box->text(), box->icon() == QMessageBox::Warning, ok});
                buttons.isEmpty() ? box->reject() : buttons[0]->click();
            });
        m_poll.start(5);
    }

    std::vector<SeenWarning> seen;

private:
    QTimer m_poll;
};

} // namespace zorvpro::test
