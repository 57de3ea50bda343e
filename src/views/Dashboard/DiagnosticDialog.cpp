#include "views/Dashboard/DiagnosticDialog.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Dashboard/DiagnosticDialogUi.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <stdexcept>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("zorvpro::DiagnosticDialog", text);
}
} // namespace

DiagnosticDialog::DiagnosticDialog(QWidget* parent) : QDialog(parent)
{
    try
    {
        ui = std::make_unique<DiagnosticDialogUi>();
        CheckAlloc(ui);
        ui->setupUi(this);
        // A log window left open must never keep the application alive, nor end it.
        setAttribute(Qt::WA_QuitOnClose, false);
        enablePausedControls(false);
        connect(ui->btnClear, &QPushButton::clicked, this, &DiagnosticDialog::btnClearClicked);
        connect(ui->btnClose, &QPushButton::clicked, this, &DiagnosticDialog::btnCloseClicked);
        connect(ui->btnCopy, &QPushButton::clicked, this, &DiagnosticDialog::btnCopyClicked);
        connect(ui->btnPause, &QPushButton::clicked, this, &DiagnosticDialog::btnPauseClicked);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "DiagnosticDialog", __LINE__);
        throw std::runtime_error(e.what());
    }
}

DiagnosticDialog::~DiagnosticDialog() = default;

void DiagnosticDialog::setVisible(bool visible)
{
    OmbraxLogger* logger = OmbraxLogger::Instance();
    if (visible)
    {
        OmbraxLogger::RegisterListener(logger);
        // Lines come from the logger's writer thread: always queued onto this
        // window's thread, and connected once however often it is shown.
        connect(logger, &OmbraxLogger::logEventRx, this, &DiagnosticDialog::handleRxLogEvent,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::UniqueConnection));
    }
    else
    {
        disconnect(logger, &OmbraxLogger::logEventRx, this, &DiagnosticDialog::handleRxLogEvent);
    }
    QDialog::setVisible(visible);
}

bool DiagnosticDialog::isPaused() const
{
    return ui->btnPause->text() != Tr("Pause");
}

void DiagnosticDialog::handleRxLogEvent(const QString& msg)
{
    // A line already queued when the window was hidden is not shown either.
    if (isPaused() || !isVisible())
        return;
    ui->lstLogMessages->insertItem(0, msg);
    if (ui->lstLogMessages->count() > maxItems)
        delete ui->lstLogMessages->takeItem(maxItems);
}

void DiagnosticDialog::btnPauseClicked()
{
    enablePausedControls(!isPaused());
}

void DiagnosticDialog::enablePausedControls(bool isEnabled)
{
    ui->btnPause->setText(isEnabled ? Tr("Resume") : Tr("Pause"));
    ui->btnClear->setEnabled(isEnabled);
    ui->btnCopy->setEnabled(isEnabled);
}

void DiagnosticDialog::btnCopyClicked()
{
    QStringList lines;
    lines.reserve(ui->lstLogMessages->count());
    for (int row = 0; row < ui->lstLogMessages->count(); ++row)
        lines << ui->lstLogMessages->item(row)->text();
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')), QClipboard::Clipboard);
}

void DiagnosticDialog::btnClearClicked()
{
    ui->lstLogMessages->clear();
}

void DiagnosticDialog::btnCloseClicked()
{
    setVisible(false);
}
} // namespace zorvpro
