#include "data/Project/ProjectSettings.h"

#include "Utility/ApiChecker.h"
#include "acoustics/model/FrequencyBands.h"
#include "core/math/Compare.h"

#include <array>
#include <cmath>

namespace zorvpro
{
struct ProjectSettings::Data
{
    QString version;
    QString venue;
    QString designer;
    QString notes;
    bool airAbsorptionEnabled = false;
    double temperature = 22.0;
    double humidity = 50.0;
    std::array<double, ViewCount> viewZoom{60.0, 60.0, 60.0, 60.0};
    std::array<math::Vec3, ViewCount> viewCameraTranslation{};
    std::array<bool, TabCount> zoomPaired{true, true};
    bool autoCalculate = false;
    bool splVisible = true;
    int splOctaveMode = acoustics::VocalBands;
    double splFreqCtr = 1000.0;
    double splLowValue = 80.0;
    double splHighValue = 112.0;
    bool splAutoAdjustRange = true;
    bool splRelative = true;
    double splResolution = 1.0;
    bool throwLines = true;
    bool resetting = false;
    double defaultEarHeight = 1.0;
};

namespace
{
bool IsView(int view)
{
    return view >= 0 && view < ProjectSettings::ViewCount;
}

// The project file reader refuses non-finite numbers for these required
// values, so storing one would make the saved project unloadable.
bool IsFinite(double value)
{
    return std::isfinite(value);
}
} // namespace

double ProjectSettings::defaultSplResolution()
{
    return 1.0;
}

bool ProjectSettings::isValidSplResolution(double resolution)
{
    return resolution == 0.5 || resolution == 1.0 || resolution == 2.0;
}

ProjectSettings::ProjectSettings() : d_(new Data)
{
    CheckAlloc(d_);
}

ProjectSettings::~ProjectSettings() = default;

bool ProjectSettings::getAirAbsorptionEnabled() const
{
    return d_->airAbsorptionEnabled;
}

double ProjectSettings::getTemperature() const
{
    return d_->temperature;
}

double ProjectSettings::getHumidity() const
{
    return d_->humidity;
}

double ProjectSettings::getDefaultEarHeight() const
{
    return d_->defaultEarHeight;
}

QString ProjectSettings::getNotes() const
{
    return d_->notes;
}

QString ProjectSettings::getVenue() const
{
    return d_->venue;
}

QString ProjectSettings::getVersion() const
{
    return d_->version;
}

QString ProjectSettings::getDesigner() const
{
    return d_->designer;
}

bool ProjectSettings::getSplVisibility() const
{
    return d_->splVisible;
}

bool ProjectSettings::getAutoCalculate() const
{
    return d_->autoCalculate;
}

int ProjectSettings::getSplOctaveMode() const
{
    return d_->splOctaveMode;
}

double ProjectSettings::getSplFreqCtr() const
{
    return d_->splFreqCtr;
}

double ProjectSettings::getSplLowValue() const
{
    return d_->splLowValue;
}

double ProjectSettings::getSplHighValue() const
{
    return d_->splHighValue;
}

bool ProjectSettings::getSplAutoAdjustRange() const
{
    return d_->splAutoAdjustRange;
}

bool ProjectSettings::getSplRelative() const
{
    return d_->splRelative;
}

double ProjectSettings::getSplResolution() const
{
    return d_->splResolution;
}

bool ProjectSettings::getThrowLines() const
{
    return d_->throwLines;
}

double ProjectSettings::getViewZoom(int view) const
{
    return IsView(view) ? d_->viewZoom[static_cast<size_t>(view)] : 0.0;
}

math::Vec3 ProjectSettings::getViewCameraTranslation(int view) const
{
    return IsView(view) ? d_->viewCameraTranslation[static_cast<size_t>(view)] : math::Vec3();
}

bool ProjectSettings::getZoomPaired(int tab) const
{
    return tab >= 0 && tab < TabCount ? d_->zoomPaired[static_cast<size_t>(tab)] : false;
}

void ProjectSettings::setAirAbsorptionEnabled(bool enabled)
{
    if (d_->airAbsorptionEnabled == enabled)
        return;
    d_->airAbsorptionEnabled = enabled;
    emit airAbsorptionEnabledChanged();
    emit settingsChanged();
}

void ProjectSettings::setTemperature(double temperature)
{
    if (!IsFinite(temperature) || math::AlmostEqual(d_->temperature, temperature))
        return;
    d_->temperature = temperature;
    emit temperatureChanged();
    emit settingsChanged();
}

void ProjectSettings::setHumidity(double humidity)
{
    if (!IsFinite(humidity) || math::AlmostEqual(d_->humidity, humidity))
        return;
    d_->humidity = humidity;
    emit humidityChanged();
    emit settingsChanged();
}

void ProjectSettings::setDesigner(const QString& designer)
{
    if (d_->designer == designer)
        return;
    d_->designer = designer;
    emit settingsChanged();
}

void ProjectSettings::setVenue(const QString& venue)
{
    if (d_->venue == venue)
        return;
    d_->venue = venue;
    emit settingsChanged();
}

void ProjectSettings::setVersion(const QString& version)
{
    if (d_->version == version)
        return;
    d_->version = version;
    emit settingsChanged();
}

void ProjectSettings::setNotes(const QString& notes)
{
    // Compared as given, so text with Windows line breaks always counts as a change.
    if (d_->notes == notes)
        return;
    d_->notes = QString(notes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    emit settingsChanged();
}

void ProjectSettings::setDefaultEarHeight(double height)
{
    if (d_->defaultEarHeight == height)
        return;
    d_->defaultEarHeight = height;
    emit settingsChanged();
}

void ProjectSettings::setSplVisibility(bool visible)
{
    if (d_->splVisible == visible)
        return;
    d_->splVisible = visible;
    emit settingsChanged();
}

void ProjectSettings::setAutoCalculate(bool enabled)
{
    if (d_->autoCalculate == enabled)
        return;
    d_->autoCalculate = enabled;
    emit settingsChanged();
}

void ProjectSettings::setThrowLines(bool shown)
{
    if (d_->throwLines == shown)
        return;
    d_->throwLines = shown;
    emit throwLinesChanged();
    emit settingsChanged();
}

void ProjectSettings::setViewZoom(int view, double zoom)
{
    if (d_->resetting || !IsView(view) || !IsFinite(zoom))
        return;
    double& stored = d_->viewZoom[static_cast<size_t>(view)];
    if (math::AlmostEqual(stored, zoom))
        return;
    stored = zoom;
    emit settingsChanged();
}

void ProjectSettings::setViewCameraTranslation(int view, double x, double y, double z)
{
    if (d_->resetting || !IsView(view) || !IsFinite(x) || !IsFinite(y) || !IsFinite(z))
        return;
    math::Vec3& stored = d_->viewCameraTranslation[static_cast<size_t>(view)];
    if (math::AlmostEqual(stored.x, x) && math::AlmostEqual(stored.y, y) && math::AlmostEqual(stored.z, z))
        return;
    stored = math::Vec3(x, y, z);
    emit settingsChanged();
}

void ProjectSettings::setViewCameraTranslation(int view, const math::Vec3& translation)
{
    setViewCameraTranslation(view, translation.x, translation.y, translation.z);
}

void ProjectSettings::setZoomPaired(Tab tab, bool paired)
{
    if (d_->resetting || tab < 0 || tab >= TabCount)
        return;
    bool& stored = d_->zoomPaired[static_cast<size_t>(tab)];
    if (stored == paired)
        return;
    stored = paired;
    emit zoomIsPairedChanged(tab);
    emit settingsChanged();
}

void ProjectSettings::setSplOctaveMode(int mode)
{
    d_->splOctaveMode = mode;
}

void ProjectSettings::setSplFreqCtr(double frequency)
{
    d_->splFreqCtr = frequency;
}

void ProjectSettings::setSplLowValue(double value)
{
    d_->splLowValue = value;
}

void ProjectSettings::setSplHighValue(double value)
{
    d_->splHighValue = value;
}

void ProjectSettings::setSplResolution(double resolution)
{
    d_->splResolution = resolution;
}

void ProjectSettings::setSplAutoAdjustRange(bool enabled)
{
    d_->splAutoAdjustRange = enabled;
}

void ProjectSettings::setSplRelative(bool relative)
{
    d_->splRelative = relative;
}

void ProjectSettings::Reset()
{
    const Data before = *d_;
    *d_ = Data();
    d_->resetting = true;
    emit throwLinesChanged();
    emit zoomIsPairedChanged(VenueTab);
    emit zoomIsPairedChanged(SpeakerTab);
    // The air conditions feed the acoustic environment: whoever follows them
    // must hear of a reset that changed them, or it keeps the old project's air.
    if (before.airAbsorptionEnabled != d_->airAbsorptionEnabled)
        emit airAbsorptionEnabledChanged();
    if (!math::AlmostEqual(before.temperature, d_->temperature))
        emit temperatureChanged();
    if (!math::AlmostEqual(before.humidity, d_->humidity))
        emit humidityChanged();
    emit settingsChanged();
    d_->resetting = false;
}
} // namespace zorvpro
