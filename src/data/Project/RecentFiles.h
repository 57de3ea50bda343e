#pragma once

#include <QStringList>

namespace zorvpro
{

// The recently used project files in the platform settings store
// (organisation "Zorv", application "Zorv Tessary", key "RecentFileList"),
// most recent first.
namespace RecentFiles
{
QStringList Read();
void Write(const QStringList& files);
} // namespace RecentFiles

} // namespace zorvpro
