#pragma once

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

private:
    mutable std::mutex m_lock;
    EnginePtr m_engine;
};

// The application object's current engine; empty when there is no
// application object or no engine yet.
ApplicationSeam::EnginePtr CurrentAcousticsEngine();

} // namespace zorvpro
