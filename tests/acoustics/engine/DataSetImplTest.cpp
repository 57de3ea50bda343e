#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{
constexpr uint64_t Bands = 28;

// One arrival per point whose band b carries power powers[b] (amplitude sqrt of it).
ArrivalsList PointsWithPowers(const std::vector<std::vector<double>>& powers)
{
    ArrivalsList list;
    uint64_t tag = 100;
    for (const auto& bandPowers : powers)
    {
        DoubleBuffer amplitude(Bands, 0.0);
        for (uint64_t b = 0; b < Bands && b < bandPowers.size(); ++b)
            amplitude[b] = std::sqrt(bandPowers[b]);
        PointArrivals point;
        point.tag = tag++;
        point.arrivals.emplace_back(
            math::Vec3{0, 0, 0}, math::Vec3{1, 0, 0},
            FrequencyMask(std::move(amplitude), DoubleBuffer(Bands, 0.0), LevelAmplitude, PhaseDelay));
        list.push_back(std::move(point));
    }
    return list;
}

std::vector<double> OneBand(uint64_t band, double power)
{
    std::vector<double> powers(Bands, 0.0);
    powers[band] = power;
    return powers;
}

std::unique_ptr<DataSetImpl> Filled(const ArrivalsList& list)
{
    auto data = std::make_unique<DataSetImpl>();
    std::atomic<bool> cancel{false};
    data->computeRange(list, 0, list.size(), cancel, 1);
    return data;
}
} // namespace

TEST(DataSetImpl, LevelsOfKnownPowers)
{
    EXPECT_EQ(DataSetImpl::PowerToSpl(0.0), 0.0);
    EXPECT_EQ(DataSetImpl::PowerToSpl(-1.0), 0.0);
    EXPECT_NEAR(DataSetImpl::PowerToSpl(4e-10), 0.0, 1e-12);
    EXPECT_NEAR(DataSetImpl::PowerToSpl(4e-8), 20.0, 1e-12);

    // Spectra summed from arrivals: all bands, and vocal bands 14 to 22 only.
    std::vector<double> flat(Bands, 4e-10);
    auto list = PointsWithPowers({flat, OneBand(5, 4e-8), std::vector<double>(Bands, 0.0)});
    auto filled = Filled(list);
    DataSetImpl& data = *filled;
    DataSet::SplValues out;
    data.getSpl(out, -1, 1000.0);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].first, 100u);
    EXPECT_EQ(out[2].first, 102u);
    EXPECT_NEAR(out[0].second, 10.0 * std::log10(28.0), 1e-9);
    EXPECT_NEAR(out[1].second, 20.0, 1e-9);
    EXPECT_EQ(out[2].second, 0.0) << "no power reads 0 dB";
    double low = 0, high = 0;
    data.getSplRange(low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_NEAR(high, 20.0, 1e-9);

    data.getSpl(out, -2, 1000.0);
    EXPECT_NEAR(out[0].second, 10.0 * std::log10(9.0), 1e-9);
    EXPECT_EQ(out[1].second, 0.0) << "band 5 is not a vocal band";
}

TEST(DataSetImpl, OctaveAndThirdOctaveBandChoice)
{
    std::vector<double> rising(Bands);
    for (uint64_t b = 0; b < Bands; ++b)
        rising[b] = 4e-10 * static_cast<double>(b + 1);
    auto filled = Filled(PointsWithPowers({rising}));
    DataSetImpl& data = *filled;
    DataSet::SplValues out;
    auto powerOf = [&](double level) { return 4e-10 * std::pow(10.0, level / 10.0); };

    data.getSpl(out, 1, 31.5);
    EXPECT_NEAR(powerOf(out[0].second), 4e-10 * (1 + 2), 1e-20) << "bands 0 and 1";
    data.getSpl(out, 1, 16000.0);
    EXPECT_NEAR(powerOf(out[0].second), 4e-10 * (27 + 28), 1e-20) << "bands 26 and 27";
    data.getSpl(out, 1, 1000.0);
    EXPECT_NEAR(powerOf(out[0].second), 4e-10 * (15 + 16 + 17), 1e-20) << "1 kHz octave: bands 14, 15, 16";
    data.getSpl(out, 1, 20000.0);
    EXPECT_NEAR(powerOf(out[0].second), 4e-10 * (1 + 2), 1e-20) << "above 16 kHz: first octave";

    data.getSpl(out, 3, 1000.0);
    EXPECT_NEAR(powerOf(out[0].second), 4e-10 * 16, 1e-20) << "band 15 is 1 kHz";
    data.getSpl(out, 3, 20000.0);
    EXPECT_NEAR(powerOf(out[0].second), 4e-10 * 1, 1e-20) << "above 16 kHz: band 0";
    EXPECT_EQ(coverageMapFrequencies(3, true).at(15), 1000.0);
}

TEST(DataSetImpl, UnknownBandwidthGivesNothingAndRangeStartsAtZero)
{
    auto filled = Filled(PointsWithPowers({OneBand(3, 4e-8)}));
    DataSetImpl& data = *filled;
    double low = -1, high = -1;
    data.getSplRange(low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 0.0);

    DataSet::SplValues out{{1, 2.0}, {3, 4.0}};
    data.getSpl(out, 2, 1000.0);
    EXPECT_TRUE(out.empty());
    data.getSplRange(low, high);
    EXPECT_EQ(low, DBL_MAX);
    EXPECT_EQ(high, -DBL_MAX);
}

TEST(DataSetImpl, ReadingLeavesTheStoredSpectraAsTheyWere)
{
    auto filled = Filled(PointsWithPowers({OneBand(3, 4e-8)}));
    DataSetImpl& data = *filled;
    ASSERT_EQ(data.resultAt(0).spectrum.getMagnitudeKind(), LevelPower);
    const double before = data.resultAt(0).spectrum.magnitudes()[3];
    DataSet::SplValues out;
    data.getSpl(out, -1, 0.0);
    data.getSpl(out, 3, 0.0);
    EXPECT_EQ(data.resultAt(0).spectrum.getMagnitudeKind(), LevelPower);
    EXPECT_EQ(data.resultAt(0).spectrum.magnitudes()[3], before);
}

TEST(DataSetImpl, ChunksFillTheirRangeAndStopWhenCancelled)
{
    EXPECT_EQ(DataSetImpl::CheckInterval(0), 512u);
    EXPECT_EQ(DataSetImpl::CheckInterval(1), 512u);
    EXPECT_EQ(DataSetImpl::CheckInterval(3), 256u);
    EXPECT_EQ(DataSetImpl::CheckInterval(4), 128u);
    EXPECT_EQ(DataSetImpl::CheckInterval(1000), 1u);
    EXPECT_EQ(DataSetImpl::CheckInterval(~uint64_t(0)), 1u);

    auto list = PointsWithPowers({OneBand(0, 1), OneBand(0, 1), OneBand(0, 1), OneBand(0, 1)});
    DataSetImpl data;
    std::atomic<bool> cancel{false};
    data.computeRange(list, 2, 10, cancel, 1);
    EXPECT_EQ(data.size(), 4u) << "sized to the whole list by the first chunk";
    EXPECT_EQ(data.resultAt(1).tag, 0u) << "outside the chunk";
    EXPECT_EQ(data.resultAt(3).tag, 103u);

    cancel = true;
    data.computeRange(list, 0, 2, cancel, 1);
    EXPECT_EQ(data.resultAt(0).tag, 0u) << "a cancelled chunk stops at its first test";
}
