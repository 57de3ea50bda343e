#pragma once

#include "core/Nodes/Node.h"
#include "core/math/Matrix4.h"
#include "core/math/Vector3.h"
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessage.h"
#include "data/Field/ThreadedTaskQueue.h"
#include "views/Adapters/Spl/ISplPropertiesPanel.h"
#include "views/Adapters/Spl/SplColorRange.h"
#include "views/Common/AdapterBase.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/Render/Entity.h"

#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace zorvpro
{
class LoudspeakerClusterNode;

namespace view
{
class FieldEntity;
}

// The user-interface end of the coverage maps. For every venue surface, every loudspeaker
// cluster and one shared medial plane it keeps a pairing of a field chunk (the points the engine
// computes) and a coverage-map entity (what the views draw). Node changes cut the surfaces and
// planes into points on the task queue's worker; a 50 ms poll on the GUI thread hands the cuts to
// the engine side, brings computed chunks back and recolours their maps. It also owns the SPL
// display settings of the project. GUI thread only.
class SplAdapter : public AdapterBase, private field::IFieldMessenger, public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    using QuadPoints = std::array<math::Vec3, 4>;
    using MedialPlaneProvider = std::function<QuadPoints(const std::shared_ptr<LoudspeakerClusterNode>&)>;

    enum PairingKind : uint32_t
    {
        Surface = 1,
        Speaker = 2,
        Chunk = 3,
    };

    // Where a chunk's map is drawn.
    enum Destination : uint32_t
    {
        None = 0,
        Side = 1,
        Plan = 2,
        All = 3,
    };

    enum NodeChange : uint32_t
    {
        ProjectReset = 1,
        NodeAdded = 2,
        NodeUpdated = 3,
        NodeRemoved = 4,
    };

    struct Pairing
    {
        uint32_t kind = 0;
        NodePtr node;
        field::FieldChunkPtr chunk;
        std::shared_ptr<view::FieldEntity> entity;
        uint64_t changedStamp = 0;
        uint64_t tessellatedStamp = 0;
        uint64_t resultStamp = 0;
        uint64_t shownStamp = 0;
        uint64_t requestedStamp = 0;
        QuadPoints lastCorners{};
    };
    using PairingPtr = std::shared_ptr<Pairing>;

    // What the adapter has done to its maps, for tests and benchmarks.
    struct Counters
    {
        uint64_t meshesSet = 0;
        uint64_t recolours = 0;
        uint64_t tessellationsQueued = 0;
    };

    static constexpr int kPollIntervalMs = 50;
    static constexpr int kCompletionsPerTick = 100;
    static constexpr int kMessagesPerTick = 10;
    static constexpr double kAutoRangeSpan = 30.0;
    static constexpr double kAutoRangeCeiling = 132.0;
    static constexpr double kAutoRangeFloor = 36.0;

    // How the automation interface names pairing kinds ("Surface", "Speaker", "Chunk") and chunk
    // destinations ("none", "side", "plan", "all"); empty for any other value.
    static QString KindText(uint32_t kind);
    static QString DestinationText(uint32_t destination);

    // Stamps of the maps' life, from one process-wide counter that starts at 1.
    static uint64_t NextMapStamp();

    explicit SplAdapter(ISplPropertiesPanel* splPropertiesControl, QObject* parent = nullptr);
    ~SplAdapter() override;

    // change: 1 project cleared or loaded, 2 node added, 3 node changed, 4 node removed.
    void NodeChanged(uint32_t change, const NodePtr& node);
    void SetActiveSpeaker(const NodePtr& node);
    void HandleEntityVisibility(const NodePtr& node);
    void RefreshSpeaker(const NodePtr& node);
    void UpdateSplMaps(bool keepActiveSpeaker);
    void SetAutoCalculate(bool on);
    void ShowSplMaps(bool on);
    void Recalculate();
    void PushSplSettings();
    void SetMedialPlaneProvider(MedialPlaneProvider provider) { m_medialPlaneProvider = std::move(provider); }

    // Colour scale and range.
    void BuildColorMap();
    void SetSplRange(double low, double high);
    void ComputeVisibleSplRange();
    void AutoScaleSplRange();
    // The colour of a level in the range current when it is called.
    ISplPropertiesPanel::ColorFunction ColorFunction() const;
    const SplColorRange& ColorRange() const { return *m_colorRange; }
    double VisibleSplMaximum() const { return m_visibleSplMax; }

    // Engine results and settings.
    void UpdateChunkToEntity(const field::FieldChunkPtr& chunk);
    virtual void RecolourAllMaps();
    void SetSplFrequency(double frequency);
    void SetSplResolution(double resolution);
    void SetAutoAdjustRange(bool on);
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;

    // The engine handler's side of the embedded field manager.
    field::FieldMessengerPtr GetEngineMessenger() const;
    const field::FieldManager& GetFieldManager() const { return m_fieldManager; }
    ThreadedTaskQueue& GetTaskQueue() { return m_taskQueue; }
    const std::vector<PairingPtr>& GetPairings() const { return m_pairings; }
    PairingPtr FindPairing(const NodePtr& node, const field::FieldChunkPtr& chunk = {},
                           const std::shared_ptr<view::FieldEntity>& entity = {}) const;
    const field::FieldChunkPtr& GetMedialPlaneChunk() const { return m_medialPlaneChunk; }
    bool IsAutoCalculate() const { return m_autoCalculate; }
    bool AreMapsShown() const { return m_mapsShown; }
    Counters GetCounters() const { return m_counters; }

signals:
    void RebuildAll();
    void EntityUpdate(bool sideView, bool add, zorvpro::view::EntityPtr entity);

public slots:
    void ProcessEngineMessages();

private:
    // The messenger facet: every message of the adapter goes through the GUI side.
    field::FieldMessagePtr Receive() override;
    void Send(uint32_t type) override;
    void SendNodes(uint32_t type, const field::NodeList& nodes) override;
    void SendChunks(uint32_t type, const field::ChunkList& chunks) override;
    field::FieldMessagePtr ClaimChunks(const field::ChunkList& chunks) override;

    void ProcessNodeChange(uint32_t change, const NodePtr& node);
    void ProcessSurface(uint32_t kind, const NodePtr& node);
    void ProcessSpeaker(uint32_t kind, const NodePtr& node);
    PairingPtr MakeSpeakerPairing(const NodePtr& node);
    std::shared_ptr<view::FieldEntity> MakeFieldEntity(const NodePtr& node,
                                                       const field::FieldChunkPtr& chunk);
    PairingPtr AddPairing(uint32_t kind, const NodePtr& node, const field::FieldChunkPtr& chunk,
                          const std::shared_ptr<view::FieldEntity>& entity);
    void RemovePairings(const NodePtr& node, const field::FieldChunkPtr& chunk,
                        const std::shared_ptr<view::FieldEntity>& entity);
    void RemoveFieldEntity(const PairingPtr& pairing);
    void UpdateMedianPlane();
    void TesselateSpeaker(const PairingPtr& pairing, uint32_t kind);
    static bool QuadChanged(Pairing& pairing, const QuadPoints& corners);
    void QueueTessellation(const PairingPtr& pairing, double spacing, const math::Mat4& matrix, uint32_t kind,
                           const QuadPoints& corners);
    void InstallTessellation(const field::FieldChunkPtr& chunk, const field::FieldChunkPtr& cut,
                             uint32_t kind);
    int CountLiveSpeakerPairings() const;
    void RetesselateSpeakers();
    void UpdateMapVisibility(bool show, Pairing& pairing);
    void RefreshAllVisibility(const PairingPtr& pairing = {});
    void CleanSplMaps(bool keepSettings);
    bool IsRetired(const field::FieldChunkPtr& chunk) const;
    // The shown result of the chunk when it was computed for the chunk's present points.
    bool ResultFitsChunk(const field::FieldChunkPtr& chunk) const;
    // Whether the pairing's map is visible, drawn and holds a result.
    static bool ShowsResult(const Pairing& p);
    // The maps for which ShowsResult holds.
    std::vector<const view::FieldEntity*> ShownMaps() const;
    // With the automatic range on, fits the range when the maps shown differ from before: a
    // selection, a map shown or hidden. Results arriving during a calculation change the maps
    // shown too, but the range waits for the end of the step, so that it does not step while the
    // maps fill in and the GUI thread does not read every visible point on each result.
    void FollowShownMaps(const std::vector<const view::FieldEntity*>& before);
    // As FollowShownMaps for an edit, but the fit waits for the next poll tick: no calculation
    // need follow an edit, and one tick fits once however many maps the edits hid or took away.
    void FollowShownMapsAtNextTick(const std::vector<const view::FieldEntity*>& before);

    QTimer m_pollTimer;
    field::FieldManager m_fieldManager;
    field::FieldMessengerPtr m_messenger;
    std::vector<PairingPtr> m_pairings;
    std::set<uint64_t> m_retiredChunkIds;
    // Shared with the colour functions handed out, which may outlive the adapter.
    std::shared_ptr<SplColorRange> m_colorRange = std::make_shared<SplColorRange>();
    ISplPropertiesPanel* splPropertiesControl_ = nullptr;
    field::FieldChunkPtr m_medialPlaneChunk;
    NodePtr m_activeSpeaker;
    MedialPlaneProvider m_medialPlaneProvider;
    bool m_autoCalculate = false;
    bool m_mapsShown = true;
    // An edit changed the maps shown: with the automatic range on, the next poll tick fits them.
    bool m_fitAtNextTick = false;
    // Results were shown since the range was last fitted; a step given up before its end fits them.
    bool m_resultsUnfitted = false;
    double m_visibleSplMin = 0.0;
    double m_visibleSplMax = 0.0;
    Counters m_counters;
    ThreadedTaskQueue m_taskQueue;
};
} // namespace zorvpro
