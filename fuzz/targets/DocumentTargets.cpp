#include "fuzz/targets/DocumentTargets.h"

#include "acoustics/data/LoudspeakerLibrary.h"
#include "core/Commands/UndoStack.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "tools/datagen/Models.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cstdlib>

namespace zorvpro::fuzz
{
namespace
{

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// One folder per process for the files of every run; the recent-file list
// and other per-user stores go there too, never to the real home folder.
class Workspace
{
public:
    Workspace()
    {
        QStandardPaths::setTestModeEnabled(true);
        Require(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Path("store"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Path("store"));
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    static QString Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Require(file.write(bytes) == bytes.size());
        return path;
    }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    // Memory-backed storage when there is some: every run writes several files.
    static QString Base()
    {
        const QString shm = QStringLiteral("/dev/shm");
        return QDir(shm).exists() ? shm : QDir::tempPath();
    }

    QTemporaryDir dir{Base() +
                      QStringLiteral("/zorv-fuzz-%1-XXXXXX").arg(QCoreApplication::applicationPid())};
};

Workspace& Files()
{
    static Workspace workspace;
    return workspace;
}

QByteArray Input(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

// Leaves the project as a fresh start finds it, so runs do not depend on each other.
void ResetProject(ProjectDefinition& project)
{
    UndoStack::Instance().clear();
    project.Clear(false);
    project.GetVenue()->RemoveAllNodes();
}

// The loudspeaker node types and the generated array module, as the program has them at start-up.
void PrepareLoudspeakers(const Workspace& files)
{
    static const bool ready = [&files]
    {
        RegisterBridgeNodeTypes();
        const juce::File folder(files.Path("Loudspeakers").toStdString());
        Require(folder.createDirectory() && datagen::WriteDataSet(folder, datagen::MakeArrayDataSet()));
        acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
            folder.getFullPathName().toStdString());
        return true;
    }();
    (void)ready;
}

} // namespace

int FuzzProjectFile(const uint8_t* data, size_t size)
{
    Workspace& files = Files();
    PrepareLoudspeakers(files);
    ProjectDefinition& project = *ProjectDefinition::Instance();
    const QString input = Workspace::Write(files.Path("input.tq"), Input(data, size));
    if (project.Load(input))
    {
        // What a load keeps must survive a save: a second round gives the same file.
        const QString first = files.Path("first.tq"), second = files.Path("second.tq");
        Require(project.SaveAs(first));
        Require(project.Load(first));
        Require(project.SaveAs(second));
        Require(Workspace::Read(first) == Workspace::Read(second));
    }
    ResetProject(project);
    return 0;
}

// Loads the settings file and saves it again, unchanged.
QByteArray LoadAndSave(const QString& path)
{
    AppSettings settings(path);
    // A change of theme saves at once; changing it back saves the loaded values.
    UiSettings& ui = *settings.GetUiSettings();
    const UiTypes::UiTheme theme = ui.getTheme();
    ui.setTheme(theme == UiTypes::UiTheme::Day ? UiTypes::UiTheme::Night : UiTypes::UiTheme::Day);
    ui.setTheme(theme);
    return Workspace::Read(path);
}

int FuzzSettingsFile(const uint8_t* data, size_t size)
{
    Workspace& files = Files();
    const QString path = files.Path("Settings.xml");
    Workspace::Write(path, Input(data, size));
    // A file that did not load is saved with defaults, which then load; from
    // the second save on, what a load keeps must survive a save unchanged.
    LoadAndSave(path);
    const QByteArray second = LoadAndSave(path);
    const QByteArray third = LoadAndSave(path);
    Require(!second.isEmpty() && second == third);
    return 0;
}

const std::vector<FuzzTarget>& DocumentTargets()
{
    static const std::vector<FuzzTarget> targets{
        {"ProjectFileFuzzer", &FuzzProjectFile},
        {"SettingsFileFuzzer", &FuzzSettingsFile},
        {"DomNestingFuzzer", &FuzzDomNesting},
    };
    return targets;
}

} // namespace zorvpro::fuzz
