#include "views/ZorvApp.h"

#include "acoustics/engine/AcousticsRegistry.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Field/AudioEngineHandler.h"

#include <QFileOpenEvent>

#include <new>

namespace zorvpro
{

namespace
{
constexpr uint32_t EngineKey = 0;
ZorvApp* s_app = nullptr;
} // namespace

void ZorvApp::Create(int& argc, char** argv)
{
    if (s_app)
        return;
    try
    {
        s_app = new ZorvApp(argc, argv);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, "src/views/ZorvApp", "Create", __LINE__);
    }
}

ZorvApp* ZorvApp::Instance()
{
    return s_app;
}

ZorvApp::ZorvApp(int& argc, char** argv) : QApplication(argc, argv, QT_VERSION)
{
    CreateEngine();
}

ZorvApp::~ZorvApp()
{
    m_engineHandler.reset();
    m_fileToOpen.clear();
    SetEngine(nullptr);
    if (s_app == this)
        s_app = nullptr;
}

void ZorvApp::CreateEngine()
{
    SetEngine(acoustics::getAcousticsEngine(EngineKey));
    const EnginePtr engine = GetEngine();
    if (!engine)
        throw std::bad_alloc();
    m_engineHandler = std::make_shared<field::AudioEngineHandler>(engine);
}

bool ZorvApp::event(QEvent* event)
{
    if (event->type() == QEvent::FileOpen)
        m_fileToOpen = static_cast<QFileOpenEvent*>(event)->file();
    return QApplication::event(event);
}

QString ZorvApp::GetFileToOpen() const
{
    return m_fileToOpen;
}

std::shared_ptr<field::AudioEngineHandler> ZorvApp::GetAudioEngineHandler() const
{
    return m_engineHandler;
}

bool ZorvApp::ResetEngine()
{
    SetEngine(nullptr);
    acoustics::releaseAcousticsEngine(EngineKey);
    SetEngine(acoustics::getAcousticsEngine(EngineKey));
    if (m_engineHandler)
        m_engineHandler->AttachToEngine();
    return GetEngine() != nullptr;
}

void ZorvApp::Shutdown()
{
    if (m_engineHandler)
    {
        m_engineHandler->Stop();
        m_engineHandler.reset();
    }
    SetEngine(nullptr);
    acoustics::releaseAcousticsEngine(EngineKey);
    delete this;
}

} // namespace zorvpro
