#pragma once

#include "views/GridControl/BoundPropertiesGrid.h"

#include <QPointer>
#include <vector>

class QLabel;

namespace zorvpro
{
class MyPropertyButton;

// The "PROJECT SETTINGS" page: the project's venue, designer, version and
// notes, the air conditions and the default ear height of new surfaces, and
// a button that restores the acoustic defaults.
class ProjectPreferencesControl : public BoundPropertiesGrid
{
public:
    ProjectPreferencesControl();
    ~ProjectPreferencesControl() override;

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void createProperties() override;
    void layoutProperties() override;
    void themeChanged(const int& theme) override;

    // Air absorption off, 22 C, 50 % and 1 m, each told to the listener.
    void restoreDefaults();
    // Ends an edit in progress in any field unless the air-absorption switch
    // itself has the focus.
    void releaseFieldFocus();

    MyPropertyButton* resetButton() const { return resetButton_.data(); }
    QLabel* titleLabel() const { return title_; }

private:
    QPointer<MyPropertyButton> resetButton_;
    QLabel* title_ = nullptr;
    std::vector<BindableProperty*> fields_;
};
} // namespace zorvpro
