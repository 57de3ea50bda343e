// Opening and saving a project of 1,000 surfaces and 20 steerable arrays through the main
// window's commands (both tabs rebuild their views on open). Runs offscreen with the
// generated "TQR40V" data set in a temporary data folder; the views are never shown.
// Each command is followed by what the event loop does before the user's next one: the
// events it posted (polish, layout, deferred deletes) are delivered, and timed with it.
// Targets: under 1 s each.
#include "core/Nodes/QuadNode.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Shell/MainWindow.h"
#include "views/Tabs/Speaker/SpeakerAnalysisTab.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace zorvpro;

namespace
{
QTemporaryDir* g_root = nullptr;
MainWindow* g_window = nullptr;

// Without an event loop, every widget the last command made would still have its events
// queued when the next command deletes it, which no user can bring about (and Qt searches
// the whole queue for each such widget).
void DeliverPostedEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString ProjectPath()
{
    return g_root->filePath(QStringLiteral("Large.tq"));
}

void BuildLargeProject()
{
    g_window->clearProject(false);
    const NodePtr root = ProjectDefinition::Instance()->GetVenue()->GetRoot();
    for (int i = 0; i < 1000; ++i)
    {
        QuadNodePtr quad = QuadNode::Create("Surface " + std::to_string(i + 1), {0, 1, 0}, {2, 1, 0},
                                            {2, -1, 0}, {0, -1, 0}, QColor("#ff8632"), 1.2, 0.0);
        quad->SetTransform(math::Mat4::Translation({3.0 * (i % 40), 3.0 * (i / 40), 0.0}));
        root->AddChild(quad);
    }
    for (int i = 0; i < 20; ++i)
        g_window->speakerPage()->adapter()->AddNewItem(false);
    DeliverPostedEvents();
}

void BM_SaveProject(benchmark::State& state)
{
    BuildLargeProject();
    ProjectDefinition::Instance()->SetFileName(ProjectPath());
    for (auto _ : state)
    {
        ProjectDefinition::Instance()->MarkModified();
        if (!g_window->saveProject())
            state.SkipWithError("save failed");
    }
    state.counters["nodes"] =
        double(ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren().size());
}

void BM_OpenProject(benchmark::State& state)
{
    if (!QFile::exists(ProjectPath()))
    {
        BuildLargeProject();
        ProjectDefinition::Instance()->SaveAs(ProjectPath());
    }
    for (auto _ : state)
    {
        if (!g_window->LoadProject(ProjectPath()))
            state.SkipWithError("open failed");
        DeliverPostedEvents();
    }
    state.counters["nodes"] =
        double(ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren().size());
}
// The document alone: clearing and reading, without the tabs.
void BM_ReadProjectOnly(benchmark::State& state)
{
    for (auto _ : state)
    {
        g_window->clearProject(false);
        if (!ProjectDefinition::Instance()->Load(ProjectPath()))
            state.SkipWithError("read failed");
        DeliverPostedEvents();
    }
}
} // namespace

BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProjectOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir root;
    g_root = &root;
    const QString speakers = root.filePath(QStringLiteral("data/Zorv/Zorv Tessary/Loudspeakers"));
    QDir().mkpath(speakers);
    setenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
    if (!datagen::WriteDataSet(juce::File(speakers.toStdString()), datagen::MakeArrayDataSet()))
        return 1;
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zorv"));
    QCoreApplication::setApplicationName(QStringLiteral("Zorv Tessary"));
    RegisterBridgeNodeTypes();
    EnsureUserLoudspeakersLoaded();
    {
        MainWindow window;
        g_window = &window;
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        g_window = nullptr;
        ProjectDefinition::Instance()->Clear(false);
    }
    return 0;
}
