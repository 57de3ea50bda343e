#include "core/Base/ApplicationSeam.h"

#include "acoustics/engine/IZorvAcoustics.h"

#include <atomic>
#include <utility>

namespace zorvpro
{

namespace
{
std::atomic<ApplicationSeam*> s_instance{nullptr};
}

ApplicationSeam::ApplicationSeam()
{
    s_instance.store(this);
}

ApplicationSeam::~ApplicationSeam()
{
    ApplicationSeam* expected = this;
    s_instance.compare_exchange_strong(expected, nullptr);
}

ApplicationSeam* ApplicationSeam::Instance()
{
    return s_instance.load();
}

ApplicationSeam::EnginePtr ApplicationSeam::GetEngine() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_engine;
}

ApplicationSeam::EnginePtr CurrentAcousticsEngine()
{
    ApplicationSeam* app = ApplicationSeam::Instance();
    return app ? app->GetEngine() : ApplicationSeam::EnginePtr();
}

bool IsDebugRun()
{
    ApplicationSeam* app = ApplicationSeam::Instance();
    return app != nullptr && app->IsDebug();
}

void ApplicationSeam::SetEngine(EnginePtr engine)
{
    EnginePtr previous;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        previous = std::exchange(m_engine, std::move(engine));
    }
    // The old engine is released outside the lock; its shutdown may take a while.
}

} // namespace zorvpro
