#pragma once

#include "views/Common/IAppThemeListener.h"

#include <QDialog>
#include <memory>

namespace zorvpro
{
class AboutDialogForm;

// The fixed-size "About" box: logo, name, application and engine versions,
// rights notice and the licence link.
class AboutDialog : public QDialog, public IAppThemeListener
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

    void setVisible(bool visible) override;
    QSize sizeHint() const override;
    void themeChanged(const int& theme) override;

    // The link text is ignored: the stored licence path is always opened.
    void openLicense(const QString& link);
    const QString& licensePath() const { return m_filePath; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<AboutDialogForm> m_form;
    QString m_filePath;
};

// The compiled-in licence document.
QString CompiledInLicensePath();
} // namespace zorvpro
