#pragma once

#include "views/Common/IAppThemeListener.h"

#include <QWidget>
#include <memory>

namespace zorvpro
{
class BillOfMaterialsAdapter;
class BillOfMaterialsTabForm;

// The report page: the bill-of-materials table under a copy and a preview
// button. The adapter does the work; the page lays out and themes.
class BillOfMaterialsTab : public QWidget, public IAppThemeListener
{
public:
    explicit BillOfMaterialsTab(QWidget* parent = nullptr);
    ~BillOfMaterialsTab() override;

    void themeChanged(const int& theme) override;

    BillOfMaterialsAdapter* adapter() const { return m_adapter; }

private:
    std::unique_ptr<BillOfMaterialsTabForm> m_form;
    BillOfMaterialsAdapter* m_adapter = nullptr;
};
} // namespace zorvpro
