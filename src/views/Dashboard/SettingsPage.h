#pragma once

#include "views/Common/IAppThemeListener.h"

#include <QDialog>
#include <memory>

namespace zorvpro
{
class ApplicationSettingsControl;
class ProjectPreferencesControl;
struct SettingsPageUi;

// The non-modal "Settings" dialog: project preferences on the left,
// application settings on the right. Every change applies at once through
// the adapters the main window binds to the two panels, so there is nothing
// to accept or cancel, only "Close".
class SettingsPage : public QDialog, public IAppThemeListener
{
    Q_OBJECT

public:
    // Failures are logged and thrown on as std::runtime_error.
    explicit SettingsPage(QWidget* parent = nullptr);
    ~SettingsPage() override;

    ApplicationSettingsControl* GetApplicationSettingsControl() const;
    ProjectPreferencesControl* GetProjectPreferencesControl() const;

    // Restores the placement when shown and saves it when hidden; each
    // showing puts the focus in the venue field.
    void setVisible(bool visible) override;
    void themeChanged(const int& theme) override;
    QSize sizeHint() const override;

protected:
    // Return, Enter and Space press no button here; Escape still closes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<SettingsPageUi> ui;
    std::unique_ptr<ApplicationSettingsControl> appSettings;
    std::unique_ptr<ProjectPreferencesControl> projectPreferences;
};
} // namespace zorvpro
