#pragma once

#include "acoustics/model/DoubleBuffer.h"
#include "acoustics/model/PropChange.h"
#include "acoustics/model/RecursiveMutex.h"

#include <cstdint>
#include <unordered_map>

namespace zorvpro::acoustics
{

// Air conditions of a new environment (and of a new project).
constexpr double DefaultTemperature = 22.0; // degrees Celsius
constexpr double DefaultHumidity = 50.0;    // percent
constexpr bool DefaultAirAbsorptionEnabled = false;

class AcousticEnvironment
{
public:
    virtual bool isAirAbsorptionEnabled() const = 0;
    virtual double getHumidity() const = 0;
    virtual double getTemperature() const = 0;
    virtual void setAirAbsorptionEnabled(bool enabled) = 0;
    virtual void setHumidity(double percent) = 0;
    virtual void setTemperature(double celsius) = 0;
    virtual void setAirConditions(bool enabled, double celsius, double percent) = 0;
    virtual ~AcousticEnvironment() = default;
};

// The venue's air: speed of sound and per-band air absorption. Every
// effective change publishes EnvironmentChanged, with the lock held.
class Environment : public AcousticEnvironment, public PropChange
{
public:
    static Environment& instance();

    Environment();

    bool isAirAbsorptionEnabled() const override;
    double getHumidity() const override;
    double getTemperature() const override;
    void setAirAbsorptionEnabled(bool enabled) override;
    // Humidity is clamped to 0 .. 100.
    void setHumidity(double percent) override;
    void setTemperature(double celsius) override;
    // A value that is not a finite number keeps the stored one.
    void setAirConditions(bool enabled, double celsius, double percent) override;

    double getSpeedOfSound() const;
    double getInverseSpeedOfSound() const;
    // Air absorption in dB per metre (negative) per one-third-octave band; empty
    // when air absorption is off.
    DoubleBuffer airAbsorptionTable(uint32_t key);

    // For readers that need several values from one consistent state.
    RecursiveTimedMutex& getLock() const { return lock; }

private:
    mutable RecursiveTimedMutex lock;
    bool airAbsorptionEnabled = DefaultAirAbsorptionEnabled;
    double humidity = DefaultHumidity;
    double temperature = DefaultTemperature;
    double speedOfSound = 0.0;
    double inverseSpeedOfSound = 0.0;
    std::unordered_map<uint32_t, DoubleBuffer> absorptionCache;
};

} // namespace zorvpro::acoustics
