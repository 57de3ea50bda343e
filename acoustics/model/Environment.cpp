#include "acoustics/model/Environment.h"

#include "acoustics/model/AirAbsorption.h"
#include "acoustics/model/FrequencyBands.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::acoustics
{

namespace
{
// The speed at 22 degrees Celsius and 31 % and its inverse, used when the
// conditions give no usable speed.
constexpr double FallbackSpeedOfSound = 345.0023086009498;
constexpr double FallbackInverseSpeedOfSound = 0.0028985313288342647;
} // namespace

Environment& Environment::instance()
{
    static Environment environment;
    return environment;
}

Environment::Environment()
{
    speedOfSound = computeSpeedOfSound(temperature, humidity);
    inverseSpeedOfSound = 1.0 / speedOfSound;
    setAirConditions(DefaultAirAbsorptionEnabled, DefaultTemperature, DefaultHumidity);
}

bool Environment::isAirAbsorptionEnabled() const
{
    ScopedLock guard(lock);
    return airAbsorptionEnabled;
}

double Environment::getHumidity() const
{
    ScopedLock guard(lock);
    return humidity;
}

double Environment::getTemperature() const
{
    ScopedLock guard(lock);
    return temperature;
}

double Environment::getSpeedOfSound() const
{
    ScopedLock guard(lock);
    return speedOfSound;
}

double Environment::getInverseSpeedOfSound() const
{
    ScopedLock guard(lock);
    return inverseSpeedOfSound;
}

void Environment::setAirAbsorptionEnabled(bool enabled)
{
    ScopedLock guard(lock);
    setAirConditions(enabled, temperature, humidity);
}

void Environment::setHumidity(double percent)
{
    ScopedLock guard(lock);
    setAirConditions(airAbsorptionEnabled, temperature, percent);
}

void Environment::setTemperature(double celsius)
{
    ScopedLock guard(lock);
    setAirConditions(airAbsorptionEnabled, celsius, humidity);
}

void Environment::setAirConditions(bool enabled, double t, double h)
{
    ScopedLock guard(lock);
    // A NaN or infinity would poison every delay and level computed later.
    if (!std::isfinite(t))
        t = temperature;
    if (!std::isfinite(h))
        h = humidity;
    h = std::clamp(h, 0.0, 100.0);
    if (t == temperature && h == humidity && enabled == airAbsorptionEnabled)
        return;

    if (t != temperature || h != humidity)
    {
        temperature = t;
        humidity = h;
        const double c = computeSpeedOfSound(t, h);
        if (c > 0.0 && std::isfinite(c))
        {
            speedOfSound = c;
            inverseSpeedOfSound = 1.0 / c;
        }
        else
        {
            speedOfSound = FallbackSpeedOfSound;
            inverseSpeedOfSound = FallbackInverseSpeedOfSound;
        }
    }
    airAbsorptionEnabled = enabled;
    absorptionCache.clear();
    notify(EnvironmentChanged);
}

DoubleBuffer Environment::airAbsorptionTable(uint32_t key)
{
    ScopedLock guard(lock);
    if (!airAbsorptionEnabled)
        return {};
    auto cached = absorptionCache.find(key);
    if (cached != absorptionCache.end())
        return cached->second;

    const auto& frequencies = coverageMapFrequencies(ThirdOctaveBands, true);
    DoubleBuffer values(frequencies.size());
    if (!airAbsorptionCoefficient(frequencies.data(), values.data(), frequencies.size(), temperature,
                                  humidity))
        return {};
    // Below absolute zero the formulas give NaN, which would wipe out every
    // level of the calculation: no air absorption is the usable answer.
    if (!std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); }))
        return {};
    return absorptionCache.emplace(key, std::move(values)).first->second;
}

} // namespace zorvpro::acoustics
