#pragma once

#include "views/Common/IAppThemeListener.h"

#include <QWidget>
#include <memory>
#include <vector>

namespace zorvpro
{
class ApplicationSettingsControl;
class DashboardForm;
class OpenFileButton;
class ProjectPreferencesControl;

// The start page: project and application settings for a new project above,
// the open tile and the four most recent projects below, and "Continue".
class Dashboard : public QWidget, public IAppThemeListener
{
    Q_OBJECT

public:
    explicit Dashboard(QWidget* parent = nullptr);
    ~Dashboard() override;

    void setVisible(bool visible) override;
    void themeChanged(const int& theme) override;

    // Newest first; the first four fill the recent tiles, the rest are empty.
    void updateRecentFiles(const QStringList& paths);

    ApplicationSettingsControl* getApplicationSettingsControl() const { return m_appSettings.get(); }
    ProjectPreferencesControl* getProjectPreferencesControl() const { return m_projectPreferences.get(); }
    // The open tile, then the four recent tiles.
    const std::vector<OpenFileButton*>& tiles() const { return m_tiles; }

signals:
    void onContinueButtonClicked();
    void onOpenFileClicked(const QString& filename);

private:
    std::unique_ptr<DashboardForm> m_form;
    std::vector<OpenFileButton*> m_tiles;
    std::unique_ptr<ApplicationSettingsControl> m_appSettings;
    std::unique_ptr<ProjectPreferencesControl> m_projectPreferences;
};
} // namespace zorvpro
