// A venue whose coverage maps the real engine computes: a 30 m x 20 m floor and a two-module
// "TQR40V" array (the project's own generated data set) in the project, the coverage-map adapter
// with automatic calculation on, and a plan and a side view drawing the maps. The gallery writes
// it to PNG files; the end-to-end view test and the map benchmarks run the same road.
#pragma once

#include "acoustics/engine/CalcListener.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Nodes/QuadNode.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "views/Adapters/Spl/SplAdapter.h"

#include <QObject>
#include <atomic>
#include <memory>

namespace zorvpro::view
{
class VenueView3D;
}

namespace zorvpro::gallery
{
// Loads the generated array module into the loudspeaker library and registers the loudspeaker
// node types; once per process. False when the data set could not be written or loaded.
bool PrepareLoudspeakers();

// The adapter's panel: it takes the values pushed into it and shows nothing.
class SilentSplPanel : public ISplPropertiesPanel
{
public:
    void updateProperty(const QString&, const QVariant&) override {}
    void setSliderValues(double, double) override {}
    void setColorMap(ColorFunction) override {}
    void setSplRange(double, double) override {}
    void setFrequencyLabel(const QString&) override {}
};

class CoverageScene : public QObject
{
public:
    struct Options
    {
        int engineThreads = -1;
        double resolution = 1.0;
    };

    // The views receive the maps the adapter makes: surfaces in the plan view, medial planes in
    // the side view. Both views look at the scene (plan from above, side from the front).
    CoverageScene(view::VenueView3D& plan, view::VenueView3D& side, Options options);
    CoverageScene(view::VenueView3D& plan, view::VenueView3D& side) : CoverageScene(plan, side, Options{}) {}
    ~CoverageScene() override;

    // The floor, then the array 2 m behind its front edge at 2.2 m, aimed along +X.
    void AddFloorAndArray();
    void RemoveArray();

    // Both maps shown and both views drawn up to date.
    bool MapsShown() const;
    bool ViewsSettled() const;
    // Every map shows a result computed for its present points, no calculation step is open or
    // about to open, and nothing is on its way between the adapter and the engine: no result comes
    // after this without a new change. An idle engine alone is not enough: a result may still wait
    // for the adapter's poll, and the points of a map cut later than the others reach the engine
    // after a first calculation, which a second one follows.
    bool ResultsSettled() const;
    // The floor's quietest and loudest point in the shown band.
    bool FloorRange(double& low, double& high) const;
    // What a designer does to read the floor: automatic range off, the top at the floor's
    // loudest point, 20 dB below it the bottom.
    bool FitRangeToFloor();

    SplAdapter& Adapter() { return *m_adapter; }
    const std::shared_ptr<acoustics::IZorvAcoustics>& Engine() const { return m_engine; }
    SplAdapter::PairingPtr FloorMap() const;
    SplAdapter::PairingPtr SideMap() const;

    static constexpr double kPixelsPerMeter = 20.0;

    QuadNodePtr floor;
    BeamSpeakerClusterNodePtr array;

private:
    // Whether a calculation step is open, as the engine's threads tell it.
    class StepWatch : public acoustics::CalcListener
    {
    public:
        void calcStarted() override { open.store(true); }
        void calcStateChanged(bool) override { open.store(false); }
        void dataSetReady(uint64_t) override {}
        std::atomic<bool> open{false};
    };

    StepWatch m_steps;
    ApplicationSeam m_app;
    std::shared_ptr<acoustics::IZorvAcoustics> m_engine;
    field::AudioEngineHandler m_handler{nullptr};
    SilentSplPanel m_panel;
    std::unique_ptr<SplAdapter> m_adapter;
    view::VenueView3D& m_plan;
    view::VenueView3D& m_side;
    view::EntityPtr m_arrayEntity;
};
} // namespace zorvpro::gallery
