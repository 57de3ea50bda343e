#include "views/Adapters/Project/ProjectDefinitionAdapter.h"

#include "core/Logger/OmbraxLogger.h"
#include "data/Project/ProjectDefinition.h"
#include "views/Shell/MainWindow.h"

#include <stdexcept>

namespace zorvpro
{
ProjectDefinitionAdapter::ProjectDefinitionAdapter(MainWindow* window, QObject* parent)
    : AdapterBase(parent), window_(window)
{
    if (window_ == nullptr)
    {
        const std::logic_error error("ProjectDefinitionAdapter expected MainWindow reference");
        OmbraxLogger::LogException(error, __FILE__, "ProjectDefinitionAdapter", __LINE__);
        throw error;
    }
    ProjectDefinition* project = ProjectDefinition::Instance();
    connect(project, &ProjectDefinition::fileNameChanged, window_, &MainWindow::updateWindowTitle);
    connect(project, &ProjectDefinition::fileModifiedChanged, window_, &MainWindow::updateWindowTitle);
    connect(project, &ProjectDefinition::recentFilesChanged, window_, &MainWindow::updateRecentFileActions);
    window_->updateWindowTitle();
}
} // namespace zorvpro
