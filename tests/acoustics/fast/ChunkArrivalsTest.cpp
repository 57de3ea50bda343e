#include "acoustics/fast/ChunkArrivals.h"

#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{

constexpr uint64_t Bands = CalculationBandCount;

// A line of sources along z whose arrivals depend on the point only through
// distance, with a node id and mute switch.
class LineSource : public ClusterSource
{
public:
    LineSource(uint64_t id, double x, int count) : id(id), x(x), count(count) {}

    const void* identity() const override { return this; }
    PropChange* changes() const override { return nullptr; }
    bool isMuted() const override { return muted; }
    uint64_t nodeId() const override { return id; }
    math::Vec3 centre() const override { return {x, 0.0, 1.0}; }
    std::vector<Arrival> computeArrivalsAtPoint(const math::Vec3& p) override
    {
        ++calls;
        std::vector<Arrival> out;
        for (int s = 0; s < count; ++s)
        {
            const math::Vec3 d = p - math::Vec3(x, 0.0, 0.1 * s);
            const double r = std::max(0.01, d.Length());
            DoubleBuffer a(Bands, 1.0 / r), t(Bands, r / 343.0);
            for (uint64_t k = 0; k < Bands; ++k)
                a[k] *= 1.0 - 0.01 * k;
            out.emplace_back(math::Vec3(), p,
                             FrequencyMask(std::move(a), std::move(t), LevelAmplitude, PhaseDelay));
        }
        return out;
    }

    uint64_t id;
    double x;
    int count;
    bool muted = false;
    int calls = 0;
};

FieldPoints gridOfPoints(int n)
{
    FieldPoints points;
    for (int i = 0; i < n; ++i)
        points.Add(0.3 * i, 2.0 + 0.1 * i, 0.5, 1000 + i);
    return points;
}

// Points with x beyond the limit are hidden from every source.
bool hiddenBeyondFour(const Surfaces::Snapshot&, const math::Vec3& point, const math::Vec3&)
{
    return point.x > 4.0;
}

ArrivalsList tagsOf(const FieldPoints& points)
{
    ArrivalsList list(points.Count());
    for (uint64_t i = 0; i < list.size(); ++i)
        list[i].tag = points.At(i).tag;
    return list;
}

} // namespace

TEST(ChunkArrivals, ChunksGiveWhatAWholeSetPassGives)
{
    auto near = std::make_shared<LineSource>(7, 0.0, 16);
    auto far = std::make_shared<LineSource>(8, 3.0, 8);
    auto silent = std::make_shared<LineSource>(9, 1.0, 4);
    silent->muted = true;
    const Clusters::Snapshot clusters = {near, silent, far};
    const FieldPoints points = gridOfPoints(23);

    // The whole-set way: every point's arrivals, cluster by cluster, then one sum.
    ArrivalsList whole = tagsOf(points);
    for (const auto& cluster : {near, far})
        for (uint64_t i = 0; i < whole.size(); ++i)
        {
            const FieldPoint p = points.At(i);
            const math::Vec3 v(p.x, p.y, p.z);
            if (hiddenBeyondFour({}, v, cluster->centre()))
                continue;
            for (Arrival& a : cluster->computeArrivalsAtPoint(v))
                whole[i].arrivals.push_back(std::move(a));
        }
    DataSetImpl expected;
    std::atomic<bool> cancel{false};
    expected.computeRange(whole, 0, whole.size(), cancel, 24);

    ChunkArrivals sources(clusters, {}, points.GetPoints(), points.GetSourceFilter(), &hiddenBeyondFour);
    EXPECT_EQ(sources.heardCount(), 2u);
    EXPECT_FALSE(sources.isFlat()); // these sources give arrival records only
    const uint64_t n = sources.pointCount();
    ASSERT_EQ(n, points.Count());
    DataSetImpl actual;
    actual.resize(n);
    for (uint64_t begin = 0; begin < n; begin += 5) // chunks [0,5) .. [20,23)
        sources.computeChunk(actual, begin, std::min<uint64_t>(begin + 5, n), cancel);
    EXPECT_EQ(silent->calls, 0);

    ASSERT_EQ(actual.size(), expected.size());
    for (uint64_t i = 0; i < n; ++i)
    {
        const auto want = expected.resultAt(i);
        const auto got = actual.resultAt(i);
        EXPECT_EQ(got.tag, want.tag);
        ASSERT_EQ(got.spectrum.magnitudes().count(), Bands);
        for (uint64_t k = 0; k < Bands; ++k)
            EXPECT_NEAR(got.spectrum.magnitudes()[k], want.spectrum.magnitudes()[k],
                        1e-12 * std::max(1.0, want.spectrum.magnitudes()[k]))
                << "point " << i << " band " << k;
    }
    // Hidden points got nothing, visible ones something.
    EXPECT_GT(actual.resultAt(0).spectrum.magnitudes()[0], 0.0);
    EXPECT_EQ(actual.resultAt(22).spectrum.magnitudes()[0], 0.0);
}

TEST(ChunkArrivals, HearsOnlyTheFilteredClusterAndStopsOnCancel)
{
    auto a = std::make_shared<LineSource>(7, 0.0, 4);
    auto b = std::make_shared<LineSource>(8, 3.0, 4);
    FieldPoints points = gridOfPoints(6);
    points.SetSourceFilter(8);
    ChunkArrivals sources({a, b}, {}, points.GetPoints(), points.GetSourceFilter(), nullptr);
    EXPECT_EQ(sources.heardCount(), 1u);

    DataSetImpl data;
    data.resize(points.Count());
    std::atomic<bool> cancel{true};
    sources.computeChunk(data, 0, points.Count(), cancel);
    EXPECT_EQ(a->calls + b->calls, 0);
    EXPECT_EQ(data.resultAt(0).tag, 0u);

    cancel = false;
    sources.computeChunk(data, 2, 4, cancel);
    EXPECT_EQ(a->calls, 0);
    EXPECT_EQ(b->calls, 2);
    ASSERT_EQ(data.size(), points.Count());
    EXPECT_EQ(data.resultAt(2).tag, 1002u);
    EXPECT_EQ(data.resultAt(1).tag, 0u); // outside the chunk: untouched
}
