#pragma once

#include "core/Base/ApplicationSeam.h"

#include <QApplication>
#include <QString>

#include <memory>

namespace zorvpro
{

namespace field
{
class AudioEngineHandler;
}

// The process's one application object. It holds acoustics engine 0 (through
// the seam, so threads asking for the current engine never see a half-replaced
// pointer), the engine handler that feeds it, the last desktop file-open path
// and (through the seam) the debug flag of the command line.
class ZorvApp : public QApplication, public ApplicationSeam
{
    Q_OBJECT

public:
    // Makes the one instance when there is none. When the application object
    // cannot be made (no engine), logs why and leaves Instance null.
    static void Create(int& argc, char** argv);
    // The one instance; null before Create and after Shutdown.
    static ZorvApp* Instance();

    ~ZorvApp() override;

    QString GetFileToOpen() const;
    std::shared_ptr<field::AudioEngineHandler> GetAudioEngineHandler() const;

    // Replaces engine 0 with a new one and attaches the handler to it; the
    // project tree must be empty. True when an engine is held afterwards.
    bool ResetEngine();
    // Stops the handler, lets the engine go and deletes the application object.
    void Shutdown();

protected:
    bool event(QEvent* event) override;

private:
    ZorvApp(int& argc, char** argv);
    void CreateEngine();

    QString m_fileToOpen;
    std::shared_ptr<field::AudioEngineHandler> m_engineHandler;
};

} // namespace zorvpro
