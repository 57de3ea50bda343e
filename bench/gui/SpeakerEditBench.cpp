// Two edits of the speaker tab, offscreen and without GL:
// - SteeringEdit: one undoable steering change of a three-module, two-beam array from the panel
//   (push, node solve, entity sync, panel refresh). Target: median under 5 ms.
// - YawEditFiftyArrays: one yaw change in a project of 50 arrays, the venue tab rebuilding its
//   array entities from the speaker tab's change notice. Target: under 50 ms.
#include "acoustics/data/LoudspeakerLibrary.h"
#include "core/Commands/UndoStack.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "tools/datagen/Models.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"
#include "views/Tabs/Speaker/BeamSpeakerPropertiesControl.h"

#include <QApplication>
#include <QStandardPaths>
#include <QUndoStack>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

using namespace zorvpro;

namespace
{
bool LoadArrayModel()
{
    RegisterBridgeNodeTypes();
    const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                  .getChildFile("zorv-speaker-bench-" + juce::Uuid().toString());
    folder.createDirectory();
    const bool written = datagen::WriteDataSet(folder, datagen::MakeArrayDataSet());
    acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(folder.getFullPathName().toStdString());
    folder.deleteRecursively();
    return written && CreateLoudspeakerNode(datagen::kArrayModelName) != nullptr;
}

struct Tabs
{
    EntitySelectionControl speakerList{EntitySelectionControl::kLoudspeakerList, "SpeakerTab"};
    EntitySelectionControl surfaceList{EntitySelectionControl::kSurfaceList, "VenueTab"};
    BeamSpeakerPropertiesControl panel;
    QWidget page;
    std::unique_ptr<SpeakerTabAdapter> speakers;
    std::unique_ptr<VenueTabAdapter> venue;

    Tabs()
    {
        ProjectDefinition::Instance()->Clear(false);
        speakerList.setPropertiesGrid(&panel);
        speakers = std::make_unique<SpeakerTabAdapter>(&speakerList, nullptr);
        venue = std::make_unique<VenueTabAdapter>(&surfaceList, nullptr);
        speakers->SetPlanView(new view::VenueView3D(&page));
        speakers->SetSideView(new view::VenueView3D(&page));
        venue->SetPlanView(new view::VenueView3D(&page));
        venue->SetSideView(new view::VenueView3D(&page));
        QObject::connect(speakers.get(), &ModelAdapter::entitiesChanged, venue.get(),
                         &VenueTabAdapter::handleSpeakersChanged);
    }
    ~Tabs()
    {
        speakers.reset();
        venue.reset();
        UndoStack::Instance().clear();
        ProjectDefinition::Instance()->Clear(false);
    }
    NodePtr Add()
    {
        speakers->AddNewItem(true);
        return ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren().back();
    }
    bool Edit(const NodePtr& node, const char* item, const QVariant& value)
    {
        std::uint32_t kind = 2;
        return speakers->entityValueChanged(node->GetId(), item, &kind, value);
    }
};

void BM_SteeringEdit(benchmark::State& state)
{
    Tabs tabs;
    const NodePtr array = tabs.Add();
    tabs.speakerList.findGridProperty("Beam_Modules")->setValue(3, false);
    tabs.Edit(array, "Beam_Modules", 3);
    tabs.Edit(array, "Beam_Beams", "Dual (Dante)");
    double angle = 0.1;
    for (auto _ : state)
    {
        angle = -angle;
        tabs.Edit(array, "Beam_SteeringAngle1", angle);
    }
}
BENCHMARK(BM_SteeringEdit)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_YawEditFiftyArrays(benchmark::State& state)
{
    Tabs tabs;
    NodePtr last;
    for (int i = 0; i < 50; ++i)
        last = tabs.Add();
    double yaw = 0.3;
    for (auto _ : state)
    {
        yaw = -yaw;
        tabs.Edit(last, "Beam_YawPosition", yaw);
    }
}
BENCHMARK(BM_YawEditFiftyArrays)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (!LoadArrayModel())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
