#pragma once

#include "core/math/Vector3.h"

#include <QObject>
#include <QString>
#include <memory>

namespace zorvpro
{
// Per-project values outside the venue's node tree: descriptive texts, air
// conditions, how the coverage map is shown, view zoom and camera, zoom
// pairing per tab, throw lines and the default ear height.
class ProjectSettings : public QObject
{
    Q_OBJECT

public:
    enum Tab : int
    {
        VenueTab = 0,
        SpeakerTab = 1,
    };

    static constexpr int ViewCount = 4;
    static constexpr int TabCount = 2;

    static double defaultSplResolution();
    // 0.5, 1.0 and 2.0, compared exactly.
    static bool isValidSplResolution(double resolution);

    ProjectSettings();
    ~ProjectSettings() override;

    bool getAirAbsorptionEnabled() const;
    double getTemperature() const;
    double getHumidity() const;
    double getDefaultEarHeight() const;
    QString getNotes() const;
    QString getVenue() const;
    QString getVersion() const;
    QString getDesigner() const;
    bool getSplVisibility() const;
    bool getAutoCalculate() const;
    int getSplOctaveMode() const;
    double getSplFreqCtr() const;
    double getSplLowValue() const;
    double getSplHighValue() const;
    bool getSplAutoAdjustRange() const;
    bool getSplRelative() const;
    double getSplResolution() const;
    bool getThrowLines() const;
    // 0.0 for a view outside 0..3.
    double getViewZoom(int view) const;
    // (0, 0, 0) for a view outside 0..3.
    math::Vec3 getViewCameraTranslation(int view) const;
    // false for a tab outside 0..1.
    bool getZoomPaired(int tab) const;

    void setAirAbsorptionEnabled(bool enabled);
    // Temperature, humidity, view zoom and camera translation ignore
    // non-finite values: a project holding one could not be loaded again.
    void setTemperature(double temperature);
    void setHumidity(double humidity);
    void setDesigner(const QString& designer);
    void setVenue(const QString& venue);
    void setVersion(const QString& version);
    // Stored with Windows line breaks turned into line feeds.
    void setNotes(const QString& notes);
    void setDefaultEarHeight(double height);
    void setSplVisibility(bool visible);
    void setAutoCalculate(bool enabled);
    void setThrowLines(bool shown);
    void setViewZoom(int view, double zoom);
    void setViewCameraTranslation(int view, double x, double y, double z);
    void setViewCameraTranslation(int view, const math::Vec3& translation);
    void setZoomPaired(Tab tab, bool paired);
    // The coverage-map display values are stored as given; a project file
    // reader validates them.
    void setSplOctaveMode(int mode);
    void setSplFreqCtr(double frequency);
    void setSplLowValue(double value);
    void setSplHighValue(double value);
    void setSplResolution(double resolution);
    void setSplAutoAdjustRange(bool enabled);
    void setSplRelative(bool relative);

    // Back to the defaults of a new project.
    void Reset();

signals:
    void airAbsorptionEnabledChanged();
    void temperatureChanged();
    void humidityChanged();
    void zoomIsPairedChanged(zorvpro::ProjectSettings::Tab tab);
    void settingsChanged();
    void throwLinesChanged();

private:
    struct Data;
    std::unique_ptr<Data> d_;
};
} // namespace zorvpro
