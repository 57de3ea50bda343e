#pragma once

class QString;
class QWidget;

namespace zorvpro
{
// Hands a local file to the desktop's default program. When none takes it,
// the shell's warning box says where the file is, so the user can open it
// another way. Returns whether a program took it.
bool OpenLocalFile(const QString& path, QWidget* parent = nullptr);
} // namespace zorvpro
