#pragma once

#include <QTemporaryDir>
#include <string>

namespace zorvpro::test
{
// A temporary folder removed with the object; std and Qt views of its path.
class TempDir
{
public:
    QString Path() const { return dir_.path(); }
    std::string StdPath() const { return dir_.path().toStdString(); }
    QString File(const QString& name) const { return dir_.filePath(name); }
    bool IsValid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};
} // namespace zorvpro::test
