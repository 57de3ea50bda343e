#pragma once

#include "views/Common/AdapterBase.h"

namespace zorvpro
{
class MainWindow;

// Keeps the main window's title and recent-file entries in step with the
// open project's file name, modified flag and recent-file list.
class ProjectDefinitionAdapter : public AdapterBase
{
    Q_OBJECT
public:
    // Throws std::logic_error (after logging) for a null window.
    explicit ProjectDefinitionAdapter(MainWindow* window, QObject* parent = nullptr);

private:
    MainWindow* window_;
};
} // namespace zorvpro
