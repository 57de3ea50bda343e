// The report's costs: gathering the bill of materials of a large venue into
// the table, and escaping texts for the HTML preview (must grow linearly).
#include "acoustics/data/LoudspeakerLibrary.h"
#include "data/Bom/BOMTableModel.h"
#include "data/Nodes/LoudspeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"
#include "views/Adapters/Bom/BillOfMaterialsAdapter.h"
#include "views/Adapters/Bom/HtmlEscape.h"

#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace zorvpro;

namespace
{
// 250 arrays of four generated modules: 1,000 loudspeaker modules.
void BuildVenue()
{
    const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                  .getChildFile("zorv-bom-bench-" + juce::Uuid().toString());
    folder.createDirectory();
    datagen::WriteDataSet(folder, datagen::MakeArrayDataSet());
    acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(folder.getFullPathName().toStdString());
    folder.deleteRecursively();

    const NodePtr root = ProjectDefinition::Instance()->GetVenue()->GetRoot();
    for (int array = 0; array < 250; ++array)
    {
        auto cluster = LoudspeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
        for (int module = 0; module < 4; ++module)
            cluster->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
        root->AddChild(cluster);
    }
}

void BM_LoadThousandModules(benchmark::State& state)
{
    QTableView table;
    table.setModel(new BOMTableModel(&table));
    BillOfMaterialsAdapter adapter(&table);
    for (auto _ : state)
        adapter.load();
    state.counters["lines"] = dynamic_cast<BOMTableModel*>(table.model())->getBomCount();
}
BENCHMARK(BM_LoadThousandModules)->Unit(benchmark::kMillisecond);

void BM_EscapeHtml(benchmark::State& state)
{
    std::string text;
    while (text.size() < static_cast<size_t>(state.range(0)))
        text += "Hall A&B <front> caf\xc3\xa9 ";
    for (auto _ : state)
        benchmark::DoNotOptimize(escapeHtml(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EscapeHtml)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN);
} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    BuildVenue();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
