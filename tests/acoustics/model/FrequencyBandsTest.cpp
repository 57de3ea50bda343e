#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <thread>

using namespace zorvpro::acoustics;

namespace
{
const std::vector<double> ThirdOctaveNominals{31.5, 40,   50,   63,   80,   100,   125,   160,  200,  250,
                                              315,  400,  500,  630,  800,  1000,  1250,  1600, 2000, 2500,
                                              3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000};
}

TEST(FrequencyBands, ThirdOctaveSeriesAndNominals)
{
    EXPECT_EQ(makeBandFrequencies(3, 31.5, 16000, true), ThirdOctaveNominals);
    auto exact = makeBandFrequencies(3, 31.5, 16000, false);
    ASSERT_EQ(exact.size(), 28u);
    EXPECT_NEAR(exact.front(), 31.6228, 1e-4);
    EXPECT_NEAR(exact.back(), 15848.93, 1e-2);

    auto octaves = makeOctaveBands(1, 31.5, 16000);
    ASSERT_EQ(octaves.size(), 10u);
    EXPECT_DOUBLE_EQ(octaves[5].nominalFrequency, 1000.0);
    EXPECT_NEAR(octaves[5].centreFrequency, 1000.0, 1e-9);
    EXPECT_NEAR(octaves[5].lowerEdge, 1000.0 / std::sqrt(1.9952623149688795), 1e-9);
    EXPECT_NEAR(octaves[5].upperEdge, 1000.0 * std::sqrt(1.9952623149688795), 1e-9);
    EXPECT_DOUBLE_EQ(octaves.back().nominalFrequency, 16000.0);
}

TEST(FrequencyBands, CentreSeriesOddEvenAndZero)
{
    double lower = -1.0, upper = -1.0;
    EXPECT_EQ(bandCentreFrequency(0, 5, &lower, &upper), 0.0);
    EXPECT_EQ(lower, -1.0);
    EXPECT_EQ(upper, -1.0);
    // Even fractions sit half a band off the odd grid.
    EXPECT_NEAR(bandCentreFrequency(6, 59), std::pow(1.9952623149688795, 119.0 / 12.0), 1e-9);
    EXPECT_NEAR(bandCentreFrequency(3, 30, &lower, &upper), 1000.0, 1e-9);
    EXPECT_NEAR(upper / lower, std::pow(1.9952623149688795, 1.0 / 3.0), 1e-12);
}

TEST(FrequencyBands, EmptyWalks)
{
    EXPECT_TRUE(makeOctaveBands(0, 31.5, 16000).empty());
    EXPECT_TRUE(makeOctaveBands(3, 0, 16000).empty());
    EXPECT_TRUE(makeOctaveBands(3, 100, 100).empty());
    EXPECT_TRUE(makeBandFrequencies(3, 200, 100, false).empty());
}

TEST(FrequencyBands, NominalRounding)
{
    EXPECT_DOUBLE_EQ(roundToNominalFrequency(794.33, 3), 800.0);
    EXPECT_DOUBLE_EQ(roundToNominalFrequency(123.456, 0), 123.456);
    EXPECT_DOUBLE_EQ(roundToNominalFrequency(-5.0, 3), -5.0);
    EXPECT_DOUBLE_EQ(roundToNominalFrequency(1258.9254, 3), 1250.0);
    EXPECT_NEAR(roundToNominalFrequency(1059.25, 6), 1059.0, 1e-9);
    EXPECT_NEAR(roundToNominalFrequency(5623.4, 6), 5620.0, 1e-9);
    EXPECT_NEAR(roundToNominalFrequency(44.67, 6), 44.67, 1e-9);
}

TEST(FrequencyBands, FormatFrequency)
{
    EXPECT_EQ(formatFrequency(0, true), "");
    EXPECT_EQ(formatFrequency(-5, true), "");
    EXPECT_EQ(formatFrequency(31.5, true), "31.5 Hz");
    EXPECT_EQ(formatFrequency(999, true), "999 Hz");
    EXPECT_EQ(formatFrequency(1000, true), "1 kHz");
    EXPECT_EQ(formatFrequency(1000, false), "1");
    EXPECT_EQ(formatFrequency(1250, true), "1.25 kHz");
    EXPECT_EQ(formatFrequency(6300, true), "6.3 kHz");
    EXPECT_EQ(formatFrequency(16000, true), "16 kHz");

    EXPECT_EQ(frequencyLabels({1000, 4000}, true, true), std::vector<std::string>{"1 kHz - 4 kHz"});
    EXPECT_EQ(frequencyLabels({1000, 2000, 4000}, true, true).size(), 3u);
    EXPECT_EQ(frequencyLabels({1000, 4000}, false, false), (std::vector<std::string>{"1", "4"}));
}

TEST(FrequencyBands, BandTableEntries)
{
    const auto& table = bandTable();
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table.count(6), 0u);

    const auto& third = table.at(3);
    EXPECT_EQ(third.name, "1/3 Octave");
    EXPECT_EQ(third.nominals, ThirdOctaveNominals);
    EXPECT_EQ(third.labels.front(), "31.5 Hz");
    EXPECT_EQ(third.labels[14], "800 Hz");
    EXPECT_EQ(third.labels[16], "1.25 kHz");
    EXPECT_EQ(third.labels.back(), "16 kHz");
    EXPECT_EQ(third.bands.size(), 28u);

    const auto& vocal = table.at(-2);
    EXPECT_EQ(vocal.labels, std::vector<std::string>{"1 kHz - 4 kHz"});
    EXPECT_EQ(vocal.centres, std::vector<double>{2500.0});
    EXPECT_DOUBLE_EQ(vocal.bands[0].lowerEdge, 1000.0);
    EXPECT_DOUBLE_EQ(vocal.bands[0].upperEdge, 4000.0);

    const auto& all = table.at(-1);
    EXPECT_EQ(all.name, "All Bands");
    EXPECT_EQ(all.labels, std::vector<std::string>{"31.5 Hz - 16 kHz"});
    EXPECT_EQ(all.nominals, std::vector<double>{8015.75});

    EXPECT_TRUE(coverageMapFrequencies(12, true).empty());
    EXPECT_EQ(coverageMapFrequencies(1, true).size(), 10u);
    EXPECT_TRUE(bandLabels(48).empty());
}

TEST(FrequencyBands, UnequalListsAreEmptied)
{
    CoverageMapFreqs freqs(3, "x", {1.0, 2.0}, {1.0}, {"a", "b"}, {});
    EXPECT_EQ(freqs.code, 3);
    EXPECT_EQ(freqs.name, "x");
    EXPECT_TRUE(freqs.centres.empty());
    EXPECT_TRUE(freqs.nominals.empty());
    EXPECT_TRUE(freqs.labels.empty());
}

TEST(FrequencyBands, LabelLookups)
{
    EXPECT_EQ(labelForFrequency(3, 1000), "1 kHz");
    EXPECT_EQ(labelForFrequency(3, 1100), "1 kHz");
    EXPECT_EQ(labelForFrequency(1, 50000), "");
    EXPECT_EQ(labelForFrequency(5, 1000), "");
    EXPECT_DOUBLE_EQ(frequencyForLabel(3, "1.25 kHz"), 1250.0);
    EXPECT_DOUBLE_EQ(frequencyForLabel(3, "1.25khz"), 0.0);
    EXPECT_DOUBLE_EQ(frequencyForLabel(7, "1 kHz"), 0.0);
}

TEST(FrequencyBands, SharedFrequencyTable)
{
    EXPECT_TRUE(frequencyTable(1).empty());
    const auto& table = frequencyTable(3);
    ASSERT_EQ(table.count(), 28u);
    for (uint64_t i = 0; i < table.count(); ++i)
        EXPECT_DOUBLE_EQ(table[i], ThirdOctaveNominals[i]);
}

TEST(FrequencyBands, ConcurrentFirstUseSeesOneTable)
{
    std::vector<const BandTable*> seen(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] { seen[i] = &bandTable(); });
    for (auto& t : threads)
        t.join();
    for (auto* table : seen)
        EXPECT_EQ(table, seen.front());
}

TEST(FrequencyBands, SplChoices)
{
    EXPECT_EQ(splBandwidthNames(),
              (std::vector<std::string>{"Octave", "1/3 Octave", "All Bands", "Vocal Bands"}));
    EXPECT_EQ(splBandwidthFromName("vocal bands"), -2);
    EXPECT_EQ(splBandwidthFromName("1/3 OCTAVE"), 3);
    EXPECT_EQ(splBandwidthFromName("third"), 0);
    EXPECT_EQ(splBandwidthName(-1), "All Bands");
    try
    {
        splBandwidthName(6);
        FAIL() << "expected out_of_range";
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "invalid map<K, T> key");
    }

    EXPECT_EQ(splResolutionNames(), (std::vector<std::string>{"High", "Medium", "Low"}));
    EXPECT_EQ(splResolutionIndex(0.5), 0u);
    EXPECT_EQ(splResolutionIndex(2.0), 2u);
    EXPECT_EQ(splResolutionIndex(0.75), 3u);
    EXPECT_EQ(splResolutionFromName("low"), 2u);
    EXPECT_EQ(splResolutionFromName("fine"), 3u);
    EXPECT_DOUBLE_EQ(splResolutionValue(1), 1.0);
    EXPECT_DOUBLE_EQ(splResolutionValue(3), 0.0);
    EXPECT_EQ(splResolutionName(7), "Medium");
    EXPECT_EQ(splResolutionName(0), "High");
    EXPECT_TRUE(isValidSplResolution(2.0));
    EXPECT_FALSE(isValidSplResolution(1.5));
    EXPECT_DOUBLE_EQ(defaultSplResolution(), 1.0);
}
