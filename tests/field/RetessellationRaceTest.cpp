// A surface cut again and again while the engine side submits its points and stores results, as
// the coverage-map adapter drives it: the worker cuts into a scratch chunk, the "GUI" thread
// installs the cut in one step and reads what is shown. Run by the thread sanitizer build.
#include "FieldTestSupport.h"

#include "data/Field/TesselateQuad.h"
#include "data/Field/ThreadedTaskQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace zorvpro::field
{
namespace
{
TEST(RetessellationRace, ReadersNeverSeeAMeshAndPointsOfDifferentCuts)
{
    testing::Watchdog watchdog(std::chrono::seconds(120), "re-tessellation race");
    auto chunk = std::make_shared<FieldChunk>(2);
    ThreadedTaskQueue queue;
    queue.SetSleeper([](std::chrono::milliseconds) { std::this_thread::yield(); });
    queue.Start();

    // Spacings 1.0, 1.5 and 2.0 m over a 20 m x 10 m quad: three grid sizes.
    const double spacings[] = {1.0, 1.5, 2.0};
    std::set<uint64_t> gridSizes;
    for (double spacing : spacings)
    {
        auto probe = std::make_shared<FieldChunk>(2);
        TesselateQuad(probe, spacing, {0, 0, 1}, {20, 0, 1}, {20, 10, 1}, {0, 10, 1});
        gridSizes.insert(probe->GetPoints().Count());
    }
    ASSERT_EQ(gridSizes.size(), 3u);
    gridSizes.insert(0); // results for the chunk before its first cut

    std::atomic<bool> stop{false};
    std::atomic<int> stored{0};
    std::thread engineSide(
        [&]
        {
            while (!stop)
            {
                auto result = std::make_shared<acoustics::FieldPointsData>(chunk->GetPoints());
                result->SetDataSet(std::make_shared<testing::StampedDataSet>());
                chunk->SetDataSet(result);
                ++stored;
                std::this_thread::yield();
            }
        });

    // What the GUI side reads after each poll: a shown result holds a whole cut, and the mesh
    // always matches the points it was cut with.
    auto check = [&]
    {
        chunk->PromoteLatest();
        if (auto shown = chunk->GetDataSet())
        {
            EXPECT_EQ(gridSizes.count(shown->Count()), 1u) << "a result holds a whole cut";
        }
        std::lock_guard<FieldChunk::Lock> guard(chunk->GetLock());
        const ChunkMesh mesh = chunk->GetMesh();
        const uint64_t count = chunk->GetPoints().Count();
        if (count > 0)
        {
            EXPECT_EQ(uint64_t(mesh.columnCount) * mesh.rowCount, count);
        }
    };

    int installed = 0;
    const int cuts = 60;
    for (int i = 0; i < cuts; ++i)
    {
        auto cut = std::make_shared<FieldChunk>(2);
        const double spacing = spacings[i % 3];
        queue.Add(
            [cut, spacing] {
                TesselateQuad(cut, spacing, {0, 0, 1}, {20, 0, 1}, {20, 10, 1}, {0, 10, 1});
            },
            [&, cut]
            {
                chunk->Install(cut->GetPoints().TakePoints(), cut->GetMesh());
                ++installed;
            });
        while (installed <= i)
        {
            queue.RunCompletions(100);
            check();
        }
        // The engine side stores at least once against every cut, however the threads are
        // scheduled, so each install really races a store.
        const int storedBefore = stored;
        while (stored == storedBefore)
        {
            check();
            std::this_thread::yield();
        }
    }
    stop = true;
    engineSide.join();
    queue.Stop();
    EXPECT_EQ(installed, cuts);
    EXPECT_GE(stored.load(), cuts);
}
} // namespace
} // namespace zorvpro::field
