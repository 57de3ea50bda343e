// The coverage-map adapter against a hand-driven engine side: the life of the pairings and the
// messages it sends, when maps show, what one poll tick does, the range and the settings.
#include "SplTestSupport.h"

#include "tests/core/support/LogCapture.h"
#include "views/Common/SplTypes.h"

#include <QSignalSpy>
#include <algorithm>

namespace zorvpro::test
{
namespace
{
using MT = std::vector<uint32_t>;
namespace Type = field::MessageType;

bool Logged(LogCapture& log, const std::string& text)
{
    const auto texts = log.Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(SplAdapterTest, PairingsLiveFromTheFirstLoudspeakerToTheLastWithTheirMessages)
{
    auto floor = Floor();
    Project()->GetVenue()->GetRoot()->AddChild(floor);
    adapter->NodeChanged(SplAdapter::NodeAdded, floor);
    Settle();
    auto inbox = EngineInbox();
    ASSERT_EQ(Types(inbox), (MT{Type::NewChunks}));
    const auto surface = adapter->FindPairing(floor);
    ASSERT_TRUE(surface);
    EXPECT_EQ(inbox[0].chunks, field::ChunkList{surface->chunk});
    EXPECT_EQ(SplAdapter::DestinationText(surface->chunk->GetKind()), "plan");
    EXPECT_EQ(SplAdapter::KindText(surface->kind), "Surface");
    EXPECT_EQ(surface->chunk->GetPoints().Count(), 21u * 11u) << "1 m spacing over 20 m x 10 m";
    EXPECT_EQ(surface->entity->getName(), "FieldEntity for floor");
    EXPECT_FALSE(surface->entity->isVisible());
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_TRUE(!updates[0].side && updates[0].add && updates[0].entity == surface->entity.get());
    EXPECT_NEAR(surface->chunk->GetPoints().At(0).z, 1.0, 1e-12) << "listeners' ears above the floor";

    // The first loudspeaker brings the shared medial plane and its own.
    auto array = Array(2.0);
    adapter->NodeChanged(SplAdapter::NodeAdded, array);
    Settle();
    inbox = EngineInbox();
    ASSERT_EQ(Types(inbox), (MT{Type::SpeakerAdded, Type::NewChunks, Type::NewChunks}));
    EXPECT_EQ(inbox[0].nodes, field::NodeList{array});
    ASSERT_EQ(adapter->GetPairings().size(), 3u);
    const auto shared = adapter->FindPairing({}, adapter->GetMedialPlaneChunk());
    const auto own = adapter->FindPairing(array);
    ASSERT_TRUE(shared && own);
    EXPECT_EQ(shared->entity->getName(), "FieldEntity for null");
    EXPECT_EQ(shared->chunk->GetSourceFilter(), acoustics::FieldPoints::AllSources);
    EXPECT_EQ(own->chunk->GetSourceFilter(), array->GetCluster()->getId())
        << "a speaker's plane hears it alone";
    EXPECT_EQ(SplAdapter::DestinationText(own->chunk->GetKind()), "side");
    EXPECT_EQ(SplAdapter::KindText(own->kind), "Speaker");
    EXPECT_EQ(SplAdapter::KindText(7), "");
    EXPECT_EQ(inbox[1].chunks, field::ChunkList{shared->chunk});
    EXPECT_EQ(inbox[2].chunks, field::ChunkList{own->chunk});
    EXPECT_TRUE(shared->entity->isVisible())
        << "without an active speaker the side view shows the shared plane";
    EXPECT_FALSE(own->entity->isVisible());

    // Without automatic calculation a moved loudspeaker is announced but not cut again.
    array->SetTransform(math::Mat4::Translation({4, 0, 0}));
    adapter->NodeChanged(SplAdapter::NodeUpdated, array);
    Settle();
    EXPECT_EQ(Types(EngineInbox()), (MT{Type::SpeakerUpdated}));
    Deliver(own->chunk, [](const acoustics::FieldPoint&) { return 90.0; });
    Settle();
    EXPECT_EQ(own->entity->GridWidth() * own->entity->GridHeight(), 11 * 6) << "its present cut is drawn";
    // With it, the moved plane is cut again and the shared one, when it moved, is new again.
    adapter->SetAutoCalculate(true);
    Settle();
    EXPECT_EQ(Types(EngineInbox()), (MT{Type::ChunksUpdated})) << "only the plane that moved";
    sharedPlaneX = -6.0;
    array->SetTransform(math::Mat4::Translation({5, 0, 0}));
    adapter->NodeChanged(SplAdapter::NodeUpdated, array);
    Settle();
    EXPECT_EQ(Types(EngineInbox()), (MT{Type::SpeakerUpdated, Type::NewChunks, Type::ChunksUpdated}));

    // A result on its way and a cut queued when the last loudspeaker goes: neither comes back.
    Deliver(own->chunk, [](const acoustics::FieldPoint&) { return 90.0; });
    Deliver(surface->chunk, [](const acoustics::FieldPoint&) { return 90.0; });
    Settle();
    EXPECT_TRUE(surface->entity->isVisible());
    array->SetTransform(math::Mat4::Translation({7, 0, 0}));
    adapter->NodeChanged(SplAdapter::NodeUpdated, array);
    Deliver(own->chunk, [](const acoustics::FieldPoint&) { return 95.0; });
    EngineInbox();
    LogCapture log;
    const uint64_t meshes = adapter->GetCounters().meshesSet;
    adapter->NodeChanged(SplAdapter::NodeRemoved, array);
    Settle();
    inbox = EngineInbox();
    EXPECT_EQ(Types(inbox), (MT{Type::RemovedChunks, Type::SpeakerRemoved, Type::RemovedChunks}));
    EXPECT_EQ(inbox[0].chunks, field::ChunkList{own->chunk});
    EXPECT_EQ(inbox[1].nodes, field::NodeList{array});
    EXPECT_EQ(inbox[2].chunks, field::ChunkList{shared->chunk});
    EXPECT_EQ(adapter->GetCounters().meshesSet, meshes);
    EXPECT_FALSE(Logged(log, "Unknown chunk returned from engine"));
    ASSERT_EQ(adapter->GetPairings().size(), 1u);
    EXPECT_FALSE(adapter->GetMedialPlaneChunk());
    EXPECT_FALSE(surface->entity->isVisible()) << "no loudspeaker, no map";
    EXPECT_EQ(surface->entity->GridWidth(), 0) << "the floor's map was emptied";
    const auto removals =
        std::count_if(updates.begin(), updates.end(), [](const Update& u) { return !u.add; });
    EXPECT_EQ(removals, 4) << "both speaker maps leave both views";

    // A node that is neither a surface nor a loudspeaker makes no map.
    adapter->NodeChanged(SplAdapter::NodeAdded, Node::Create());
    adapter->NodeChanged(SplAdapter::ProjectReset, {});
    Settle();
    EXPECT_TRUE(adapter->GetPairings().empty());
    EXPECT_EQ(Types(EngineInbox()), (MT{Type::RemovedChunks}));
    EXPECT_EQ(panel.frequencyLabel, "");
}

TEST_F(SplAdapterTest, AChangedSurfaceStaysHiddenUntilAResultForItsNewPointsIsShown)
{
    auto floor = Floor();
    auto array = Array(0.0);
    adapter->NodeChanged(SplAdapter::NodeAdded, floor);
    adapter->NodeChanged(SplAdapter::NodeAdded, array);
    Settle();
    const auto p = adapter->FindPairing(floor);
    auto slope = [](const acoustics::FieldPoint& pt) { return 100.0 - pt.x; };
    Deliver(p->chunk, slope);
    Settle();
    ASSERT_TRUE(p->entity->isVisible());
    EXPECT_EQ(p->entity->GridWidth() * p->entity->GridHeight(), 21 * 11);
    const auto oldResult = p->chunk->GetDataSet();
    // An edit that moves no point hides the map only until its cut is found unchanged.
    EngineInbox();
    floor->SetColor(QColor(10, 20, 30));
    adapter->NodeChanged(SplAdapter::NodeUpdated, floor);
    EXPECT_FALSE(p->entity->isVisible());
    Settle();
    EXPECT_TRUE(p->entity->isVisible());
    EXPECT_EQ(Types(EngineInbox()), MT{}) << "nothing new to compute";

    floor->SetP2({30, 0, 0});
    floor->SetP3({30, 10, 0});
    adapter->NodeChanged(SplAdapter::NodeUpdated, floor);
    EXPECT_FALSE(p->entity->isVisible()) << "hidden from the change on";
    // A result computed for the old points arrives before the cut is done...
    p->chunk->SetDataSet(nullptr);
    engineSide->SendChunks(Type::ChunksUpdated, {p->chunk});
    adapter->ProcessEngineMessages();
    EXPECT_FALSE(p->entity->isVisible());
    Settle();
    EXPECT_EQ(p->chunk->GetMesh().columnCount * p->chunk->GetMesh().rowCount, 31u * 11u);
    // ...and after: the old values never go onto the new mesh.
    auto stale =
        std::make_shared<acoustics::FieldPointsData>(static_cast<const acoustics::FieldPoints&>(*oldResult));
    stale->SetDataSet(std::make_shared<MadeUpDataSet>(oldResult->GetPoints(), slope));
    p->chunk->SetDataSet(stale);
    engineSide->SendChunks(Type::ChunksUpdated, {p->chunk});
    Settle();
    EXPECT_FALSE(p->entity->isVisible());
    EXPECT_EQ(p->entity->GridWidth() * p->entity->GridHeight(), 21 * 11) << "the map keeps its old mesh";

    Deliver(p->chunk, slope);
    Settle();
    EXPECT_TRUE(p->entity->isVisible());
    EXPECT_EQ(p->entity->GridWidth() * p->entity->GridHeight(), 31 * 11);
    // Switching the maps off, or the surface, hides it.
    adapter->ShowSplMaps(false);
    EXPECT_FALSE(p->entity->isVisible());
    adapter->ShowSplMaps(true);
    floor->SetVisible(false);
    adapter->HandleEntityVisibility(floor);
    EXPECT_FALSE(p->entity->isVisible());
    EXPECT_EQ(Types(EngineInbox()).back(), Type::MapsShown);
}

TEST_F(SplAdapterTest, OnePollTickRunsAHundredCompletionsAndReadsTenMessages)
{
    int completions = 0;
    for (int i = 0; i < 150; ++i)
        adapter->GetTaskQueue().Add([] {}, [&completions] { ++completions; });
    for (int i = 0; i < 30; ++i)
        engineSide->Send(i % 2 ? Type::MapsShown : Type::ChunksUpdated);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (adapter->GetTaskQueue().FinishedCount() < 150 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(adapter->GetTaskQueue().FinishedCount(), 150u);

    const int expected[][2] = {{100, 20}, {150, 10}, {150, 0}, {150, 0}};
    for (const auto& tick : expected)
    {
        adapter->ProcessEngineMessages();
        EXPECT_EQ(completions, tick[0]);
        EXPECT_EQ(adapter->GetFieldManager().GetQueuedCount(field::Side::UserInterface), uint32_t(tick[1]));
    }
}

TEST_F(SplAdapterTest, RecalculationIsAskedForAfterTheCutsItQueued)
{
    adapter->NodeChanged(SplAdapter::NodeAdded, Array(0.0));
    Settle();
    EngineInbox();
    adapter->SetAutoCalculate(true);
    sharedPlaneX = -9.0;
    adapter->Recalculate();
    Settle();
    EXPECT_EQ(Types(EngineInbox()), (MT{Type::ChunksUpdated, Type::Calculate}));
}

struct AutoRangeCase
{
    double loudest;
    double low, high;
};

TEST_F(SplAdapterTest, TheAutomaticRangeSpansThirtyDecibelsBelowTheLoudestVisiblePoint)
{
    auto floor = Floor();
    adapter->NodeChanged(SplAdapter::NodeAdded, floor);
    adapter->NodeChanged(SplAdapter::NodeAdded, Array(0.0));
    Settle();
    const auto p = adapter->FindPairing(floor);
    const AutoRangeCase cases[] = {{97.4, 67, 97}, {140, 102, 132}, {50.2, 36, 50}, {25, 36, 50}};
    for (const AutoRangeCase& c : cases)
    {
        Deliver(p->chunk, [&](const acoustics::FieldPoint& pt) { return c.loudest - 0.1 * pt.x; });
        Settle();
        ASSERT_TRUE(p->entity->isVisible());
        adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Adjust_Spl_Range", false);
        EXPECT_EQ(Settings().getSplLowValue(), c.low) << c.loudest;
        EXPECT_EQ(Settings().getSplHighValue(), c.high) << c.loudest;
        EXPECT_EQ(adapter->ColorRange().Low(), c.low);
        EXPECT_EQ(panel.slider, std::make_pair(c.low, c.high));
        EXPECT_EQ(panel.range, std::make_pair(c.low, c.high));
    }
}

// Levels falling from top at x = 0.
std::function<double(const acoustics::FieldPoint&)> Peak(double top)
{
    return [top](const acoustics::FieldPoint& pt) { return top - 0.1 * pt.x; };
}

TEST_F(SplAdapterTest, AutoAdjustFitsWhenAStepEndsOrTheMapsShownChangeNeverOnEachResult)
{
    Settings().setSplAutoAdjustRange(true);
    auto floor = Floor();
    auto balcony = Floor("balcony");
    auto array = Array(0.0);
    for (const NodePtr& node : std::vector<NodePtr>{floor, balcony, array})
        adapter->NodeChanged(SplAdapter::NodeAdded, node);
    Settle();
    const auto f = adapter->FindPairing(floor);
    const auto b = adapter->FindPairing(balcony);
    const auto own = adapter->FindPairing(array);
    auto show = [this](const QuadNodePtr& surface, bool on)
    {
        surface->SetVisible(on);
        adapter->HandleEntityVisibility(surface);
    };
    auto autoAdjust = [this](bool on)
    { adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Auto_Adjust", on); };

    struct Step
    {
        const char* what;
        std::function<void()> act;
        double low, high;
        int recoloured = -1; // maps coloured by the step; -1: not counted
    };
    const Step steps[] = {
        {"a step's results and its end",
         [&]
         {
             Deliver(f->chunk, Peak(90.2));
             Deliver(b->chunk, Peak(80.4));
             Settle();
             FromEngine(Type::StepFinished);
         },
         60, 90},
        {"the next step's first result", [&] { DeliverPeak(b, 104.6); }, 60, 90, 1},
        {"its second result", [&] { DeliverPeak(f, 70.0); }, 60, 90, 1},
        {"its end", [&] { FromEngine(Type::StepFinished); }, 75, 105, 2},
        {"a map hidden", [&] { show(balcony, false); }, 40, 70},
        {"shown again", [&] { show(balcony, true); }, 75, 105},
        {"the array's own map computed while another plane is shown", [&] { DeliverPeak(own, 120.3); }, 75,
         105},
        {"the array selected: its map shown", [&] { adapter->SetActiveSpeaker(array); }, 90, 120},
        {"no array selected", [&] { adapter->SetActiveSpeaker({}); }, 75, 105},
        {"every map hidden: nothing to fit", [&] { adapter->ShowSplMaps(false); }, 75, 105},
        {"a step computed while hidden",
         [&]
         {
             DeliverPeak(f, 110.4);
             FromEngine(Type::StepFinished);
         },
         75, 105},
        {"the maps shown again", [&] { adapter->ShowSplMaps(true); }, 80, 110},
        {"a typed range with Auto-adjust on", [&] { adapter->SetSplRange(60, 70); }, 60, 70},
        {"a result", [&] { DeliverPeak(b, 99.0); }, 60, 70},
        {"the step's end overrides the typed range", [&] { FromEngine(Type::StepFinished); }, 80, 110},
        {"the loudest surface taken away",
         [&]
         {
             adapter->NodeChanged(SplAdapter::NodeRemoved, floor);
             Settle();
         },
         69, 99},
        // Off, the range is the user's: neither a selection, a map shown or hidden, nor a step's
        // end moves it; switching on fits at once.
        {"Auto-adjust off, a range typed",
         [&]
         {
             autoAdjust(false);
             adapter->SetSplRange(41, 127);
         },
         41, 127},
        {"a selection", [&] { adapter->SetActiveSpeaker(array); }, 41, 127},
        {"a map hidden", [&] { show(balcony, false); }, 41, 127},
        {"a step",
         [&]
         {
             DeliverPeak(own, 125.0);
             FromEngine(Type::StepFinished);
         },
         41, 127},
        {"Auto-adjust on", [&] { autoAdjust(true); }, 95, 125},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.what);
        const uint64_t recolours = adapter->GetCounters().recolours;
        step.act();
        EXPECT_EQ(Settings().getSplLowValue(), step.low);
        EXPECT_EQ(Settings().getSplHighValue(), step.high);
        EXPECT_EQ(panel.slider, std::make_pair(step.low, step.high));
        if (step.recoloured >= 0)
        {
            EXPECT_EQ(adapter->GetCounters().recolours - recolours, uint64_t(step.recoloured));
        }
    }
}

// With Auto-calculate off no step follows an edit: the edit itself fits out the map it hid or
// emptied. A step given up before its end fits the results it already showed.
TEST_F(SplAdapterTest, AutoAdjustFitsOutAMapAnEditHidesAndWhatAnAbandonedStepShowed)
{
    Settings().setSplAutoAdjustRange(true);
    auto floor = Floor();
    auto balcony = Floor("balcony");
    auto array = Array(0.0);
    auto other = Array(12.0);
    for (const NodePtr& node : std::vector<NodePtr>{floor, balcony, array, other})
        adapter->NodeChanged(SplAdapter::NodeAdded, node);
    Settle();
    ASSERT_FALSE(adapter->IsAutoCalculate());
    const auto f = adapter->FindPairing(floor);
    const auto b = adapter->FindPairing(balcony);
    const auto own = adapter->FindPairing(array);
    auto edit = [this, &floor](const std::function<void()>& change)
    {
        change();
        adapter->NodeChanged(SplAdapter::NodeUpdated, floor);
        Settle();
    };
    auto floorComputedAgain = [&]
    {
        DeliverPeak(f, 110.4);
        FromEngine(Type::StepFinished);
    };

    struct Step
    {
        const char* what;
        std::function<void()> act;
        double low, high;
    };
    const Step steps[] = {
        {"a step's results and its end",
         [&]
         {
             Deliver(f->chunk, Peak(110.4));
             Deliver(b->chunk, Peak(80.4));
             Settle();
             FromEngine(Type::StepFinished);
         },
         80, 110},
        {"the floor moved: its map hidden until the next calculation",
         [&] { edit(
                   [&] {
                       floor->SetTransform(math::Mat4::Translation({0, 5, 0}));
                   }); }, 50, 80},
        {"its new result waits for the step's end", [&] { DeliverPeak(f, 110.4); }, 50, 80},
        {"the step's end", [&] { FromEngine(Type::StepFinished); }, 80, 110},
        {"the floor reshaped",
         [&]
         {
             edit(
                 [&]
                 {
                     floor->SetP2({30, 0, 0});
                     floor->SetP3({30, 10, 0});
                 });
         },
         50, 80},
        {"computed again", floorComputedAgain, 80, 110},
        {"the floor's listener height changed", [&] { edit([&] { floor->SetListenerHeight(1.7); }); }, 50,
         80},
        {"computed again", floorComputedAgain, 80, 110},
        // Hidden only until its cut is found unchanged: the range comes back with the map.
        {"the floor recoloured", [&] { edit([&] { floor->SetColor(QColor(10, 20, 30)); }); }, 80, 110},
        {"the array selected with its map computed",
         [&]
         {
             DeliverPeak(own, 120.3);
             adapter->SetActiveSpeaker(array);
         },
         90, 120},
        {"the array turned: its map emptied until the next calculation",
         [&]
         {
             adapter->RefreshSpeaker(array);
             Settle();
         },
         80, 110},
        {"its map computed again",
         [&]
         {
             DeliverPeak(own, 120.3);
             FromEngine(Type::StepFinished);
         },
         90, 120},
        {"the selected array deleted",
         [&]
         {
             adapter->NodeChanged(SplAdapter::NodeRemoved, array);
             Settle();
         },
         80, 110},
        {"Auto-calculate switched off mid-step: the step abandoned after two results",
         [&]
         {
             DeliverPeak(f, 100.2);
             DeliverPeak(b, 70.0);
             FromEngine(Type::StepAbandoned);
         },
         70, 100},
        {"a typed range, then a step abandoned before any result",
         [&]
         {
             adapter->SetSplRange(60, 70);
             FromEngine(Type::StepAbandoned);
         },
         60, 70},
        {"a step overtaken by an edit's after one result",
         [&]
         {
             DeliverPeak(f, 95.0);
             FromEngine(Type::StepAbandoned);
         },
         65, 95},
        {"the new step's result", [&] { DeliverPeak(b, 104.6); }, 65, 95},
        {"the new step's end", [&] { FromEngine(Type::StepFinished); }, 75, 105},
        // With Auto-calculate on, a step follows every edit: its end fits, not the edit.
        {"Auto-calculate on, the floor computed again",
         [&]
         {
             adapter->SetAutoCalculate(true);
             floorComputedAgain();
         },
         80, 110},
        {"the floor moved with Auto-calculate on: the range waits for the step that follows",
         [&] { edit(
                   [&] {
                       floor->SetTransform(math::Mat4::Translation({0, 7, 0}));
                   }); }, 80, 110},
        {"that step's result and end",
         [&]
         {
             DeliverPeak(f, 100.2);
             FromEngine(Type::StepFinished);
             adapter->SetAutoCalculate(false);
         },
         75, 105},
        // Off, the range is the user's: an edit hiding a map or a step given up leaves it alone.
        {"Auto-adjust off, a range typed, the floor moved, a step abandoned",
         [&]
         {
             adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Auto_Adjust", false);
             adapter->SetSplRange(41, 127);
             edit([&] { floor->SetTransform(math::Mat4::Translation({0, 9, 0})); });
             DeliverPeak(b, 90.0);
             FromEngine(Type::StepAbandoned);
         },
         41, 127},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(Settings().getSplLowValue(), step.low);
        EXPECT_EQ(Settings().getSplHighValue(), step.high);
        EXPECT_EQ(panel.slider, std::make_pair(step.low, step.high));
    }
}

TEST_F(SplAdapterTest, RangeEditsRecolourWithoutNewMeshesAndSettingsReachThePanel)
{
    Settings().setSplOctaveMode(-2);
    Settings().setSplFreqCtr(500.0);
    Settings().setSplAutoAdjustRange(false);
    auto floor = Floor();
    adapter->NodeChanged(SplAdapter::NodeAdded, floor);
    adapter->NodeChanged(SplAdapter::NodeAdded, Array(0.0));
    Settle();
    const auto p = adapter->FindPairing(floor);
    Deliver(p->chunk, [](const acoustics::FieldPoint& pt) { return 80.0 + pt.x; });
    Settle();
    const auto before = adapter->GetCounters();
    const QColor oldColour = p->entity->ColorMapImage().pixelColor(300, 0);

    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Max_dB", 120.0);
    adapter->onPropertyEvent(BoundPropertyEvent::FocusLost, "Spl_Min_dB", 10.0);
    auto after = adapter->GetCounters();
    EXPECT_EQ(after.meshesSet, before.meshesSet);
    EXPECT_GT(after.recolours, before.recolours);
    EXPECT_NE(p->entity->ColorMapImage().pixelColor(300, 0), oldColour);
    EXPECT_EQ(Settings().getSplHighValue(), 120.0);
    // The same range again recolours nothing; an upside-down one keeps the high value given.
    adapter->SetSplRange(Settings().getSplLowValue(), 120.0);
    EXPECT_EQ(adapter->GetCounters().recolours, after.recolours);
    adapter->SetSplRange(100, 90);
    EXPECT_EQ(Settings().getSplLowValue(), 90.0);
    EXPECT_EQ(Settings().getSplHighValue(), 90.0);
    ASSERT_TRUE(panel.colorMap);
    EXPECT_EQ(panel.colorMap(90.0).rgb(), QColor(0, 255, 0).rgb()) << "the panel's scale follows the range";

    // Band and frequency: stored, recoloured; a frequency below 5 Hz and other event kinds refused.
    after = adapter->GetCounters();
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Mode",
                             QVariant::fromValue(SplTypes::ThirdOctave));
    EXPECT_EQ(Settings().getSplOctaveMode(), 3);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Mode", QVariant("not a band"));
    EXPECT_EQ(Settings().getSplOctaveMode(), 0);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Freq", 4.0);
    const double frequency = Settings().getSplFreqCtr();
    EXPECT_NE(frequency, 4.0);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Freq", 1000.0);
    EXPECT_EQ(Settings().getSplFreqCtr(), 1000.0);
    EXPECT_EQ(adapter->GetCounters().meshesSet, after.meshesSet);
    EXPECT_EQ(adapter->GetCounters().recolours, after.recolours + 3);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Relative_Or_Absolute", true);
    EXPECT_FALSE(Settings().getSplRelative());

    // Settings read back from the project, pushed in order with the band as its own type.
    Settings().setSplLowValue(70);
    Settings().setSplHighValue(100);
    panel.order.clear();
    adapter->PushSplSettings();
    EXPECT_EQ(panel.order, (std::vector<QString>{"Spl_Mode", "Spl_Freq", "Spl_Min_dB", "Spl_Max_dB",
                                                 "Spl_Auto_Adjust", "Spl_Res"}));
    EXPECT_EQ(panel.values["Spl_Mode"].userType(), qMetaTypeId<SplTypes::Mode>());
    EXPECT_EQ(SplTypes::ModeFromVariant(panel.values["Spl_Mode"]), 0);
    EXPECT_EQ(panel.values["Spl_Freq"].toDouble(), 1000.0);
    EXPECT_EQ(panel.slider, std::make_pair(70.0, 100.0));
    EXPECT_EQ(adapter->ColorRange().High(), 100.0);
}

TEST_F(SplAdapterTest, ANewResolutionRebuildsEveryMapAndKeepsTheActiveSpeaker)
{
    auto root = Project()->GetVenue()->GetRoot();
    auto floor = Floor();
    auto array = Array(0.0);
    root->AddChild(floor);
    root->AddChild(array);
    adapter->UpdateSplMaps(false);
    adapter->SetActiveSpeaker(array);
    Settle();
    const auto oldChunk = adapter->FindPairing(floor)->chunk;
    QSignalSpy rebuilt(adapter.get(), &SplAdapter::RebuildAll);
    adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Res", 0.5);
    Settle();
    EXPECT_EQ(rebuilt.count(), 1);
    const auto p = adapter->FindPairing(floor);
    ASSERT_TRUE(p);
    EXPECT_NE(p->chunk, oldChunk);
    EXPECT_EQ(p->chunk->GetPoints().Count(), 41u * 21u);
    EXPECT_TRUE(adapter->FindPairing(array)->entity->isVisible()) << "the active speaker's plane";
    EXPECT_FALSE(adapter->FindPairing({}, adapter->GetMedialPlaneChunk())->entity->isVisible());
    Settings().setSplResolution(1.0);
}
} // namespace
} // namespace zorvpro::test
