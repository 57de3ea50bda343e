#pragma once

#include <atomic>
#include <memory>
#include <mutex>

namespace zorvpro
{

namespace acoustics
{
class IZorvAcoustics;
}

// What the core layer needs of the application object: the current
// acoustics engine. The application object derives from this; constructing
// it makes it the instance, destroying it clears the instance.
class ApplicationSeam
{
public:
    using EnginePtr = std::shared_ptr<acoustics::IZorvAcoustics>;

    ApplicationSeam();
    virtual ~ApplicationSeam();

    ApplicationSeam(const ApplicationSeam&) = delete;
    ApplicationSeam& operator=(const ApplicationSeam&) = delete;

    // Null before the application object exists and after it is gone.
    static ApplicationSeam* Instance();

    // A copy of the current engine; empty until one is created.
    EnginePtr GetEngine() const;
    // Replaces the engine (when it is renewed).
    void SetEngine(EnginePtr engine);

    // The command line's "dx": debug-only output such as the beam-data copy.
    bool IsDebug() const { return m_debug.load(); }
    void SetDebug(bool debug) { m_debug.store(debug); }

private:
    mutable std::mutex m_lock;
    EnginePtr m_engine;
    std::atomic<bool> m_debug{false};
};

// The application object's current engine; empty when there is no
// application object or no engine yet.
ApplicationSeam::EnginePtr CurrentAcousticsEngine();
// The application object's debug flag; false without an application object.
bool IsDebugRun();

} // namespace zorvpro
