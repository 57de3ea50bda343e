#pragma once

#include <QDialog>
#include <memory>

namespace zorvpro
{
struct DiagnosticDialogUi;

// The "Diagnostics" window: the log as it is written, newest line on top,
// at most maxItems lines. It collects lines only while shown and running;
// Copy and Clear work while paused. Closing it hides it and keeps the lines.
class DiagnosticDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DiagnosticDialog(QWidget* parent = nullptr);
    ~DiagnosticDialog() override;

    // Showing connects the window to the logger's lines; hiding disconnects it.
    void setVisible(bool visible) override;

private slots:
    void handleRxLogEvent(const QString& msg);
    void btnPauseClicked();
    void btnCopyClicked();
    void btnClearClicked();
    void btnCloseClicked();
    void enablePausedControls(bool isEnabled);

private:
    bool isPaused() const;

    std::unique_ptr<DiagnosticDialogUi> ui;
    int maxItems = 5000;
};
} // namespace zorvpro
