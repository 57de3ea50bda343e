// bench-libs: zorv_field
// The field pipeline's own costs, without the engine:
//
//   build/bench/FieldPipelineBench
//
//   TesselateQuad/points:N     cutting a flat quad into N field points with their ids, grid
//                              indices and triangles, installed into a chunk.
//   WritePreallocated/points:N the floor of that: the same points, ids, indices and triangles
//                              written into arrays allocated beforehand.
//   ReceiveBehindLeases        one receive of the engine side when 1,000 messages wait and the
//                              first 900 are blocked by the user interface's leases.
// peak_rss_mb is the process's peak resident memory during that benchmark (reset before it).
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Field/TesselateQuad.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>

using namespace zorvpro;
using namespace zorvpro::field;

namespace
{

void ResetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double PeakRssMb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
    {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0.0;
}

// Quads at 0.5 m whose grids have the wanted number of points.
struct Size
{
    double length, width;
};
Size QuadFor(int64_t points)
{
    switch (points)
    {
    case 20301:
        return {100.0, 50.0}; // 201 x 101
    case 361201:
        return {300.0, 300.0}; // 601 x 601
    default:
        return {999.5, 499.5}; // 2000 x 1000
    }
}

void TesselateQuadBench(benchmark::State& state)
{
    const Size size = QuadFor(state.range(0));
    auto chunk = std::make_shared<FieldChunk>(1);
    ResetPeakRss();
    for (auto _ : state)
        TesselateQuad(chunk, 0.5, {0, 0, 1.2}, {size.length, 0, 1.2}, {size.length, size.width, 1.2},
                      {0, size.width, 1.2});
    state.counters["points"] = double(chunk->GetPoints().Count());
    state.counters["peak_rss_mb"] = PeakRssMb();
}

void WritePreallocatedBench(benchmark::State& state)
{
    const Size size = QuadFor(state.range(0));
    const uint32_t rows = uint32_t(size.length / 0.5) + 1, columns = uint32_t(size.width / 0.5) + 1;
    const size_t count = size_t(rows) * columns;
    std::vector<acoustics::FieldPoint> points(count);
    std::vector<uint32_t> rowIndex(count), columnIndex(count);
    std::vector<ChunkMesh::Triangle> triangles(size_t(rows - 1) * (columns - 1) * 2);
    uint64_t id = 0;
    ResetPeakRss();
    for (auto _ : state)
    {
        size_t k = 0;
        for (uint32_t i = 0; i < rows; ++i)
        {
            for (uint32_t j = 0; j < columns; ++j, ++k)
            {
                points[k] = {i * 0.5, j * 0.5, 1.2, id++};
                rowIndex[k] = i;
                columnIndex[k] = j;
            }
        }
        size_t t = 0;
        for (uint32_t r = 0; r + 1 < rows; ++r)
        {
            for (uint32_t c = 0; c + 1 < columns; ++c)
            {
                const uint32_t q00 = r * columns + c, q10 = q00 + columns;
                triangles[t++] = {q00, q10 + 1, q00 + 1};
                triangles[t++] = {q00, q10, q10 + 1};
            }
        }
        benchmark::DoNotOptimize(points.data());
        benchmark::DoNotOptimize(triangles.data());
        benchmark::ClobberMemory();
    }
    state.counters["points"] = double(count);
    state.counters["peak_rss_mb"] = PeakRssMb();
}

void ReceiveBehindLeases(benchmark::State& state)
{
    FieldManager manager;
    auto ui = manager.GetMessenger(Side::UserInterface);
    auto audio = manager.GetMessenger(Side::Audio);
    ChunkList chunks;
    for (int i = 0; i < 1000; ++i)
        chunks.push_back(std::make_shared<FieldChunk>(1));
    ui->SendChunks(MessageType::NewChunks, chunks);
    audio->Receive().reset();
    std::vector<FieldMessagePtr> leases;
    for (int i = 0; i < 900; ++i)
        leases.push_back(ui->ClaimChunks({chunks[size_t(i)]}));
    for (const auto& chunk : chunks)
        ui->SendChunks(MessageType::ChunksUpdated, {chunk});

    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        FieldMessagePtr message = audio->Receive();
        const auto stop = std::chrono::steady_clock::now();
        if (!message)
        {
            state.SkipWithError("nothing deliverable");
            break;
        }
        // Back to the end of the queue, behind the 900 blocked ones.
        const ChunkList again = message->GetChunks();
        message.reset();
        ui->SendChunks(MessageType::ChunksUpdated, again);
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    state.counters["queued"] = double(manager.GetQueuedCount(Side::Audio));
}

} // namespace

BENCHMARK(TesselateQuadBench)
    ->Name("TesselateQuad")
    ->ArgName("points")
    ->Arg(20301)
    ->Arg(361201)
    ->Arg(2000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WritePreallocatedBench)
    ->Name("WritePreallocated")
    ->ArgName("points")
    ->Arg(20301)
    ->Arg(361201)
    ->Arg(2000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReceiveBehindLeases)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
