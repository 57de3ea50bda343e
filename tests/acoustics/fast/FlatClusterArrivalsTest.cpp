#include "acoustics/fast/FlatClusterArrivals.h"

#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/FrequencyBands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{

constexpr uint32_t Bands = CalculationBandCount;

std::shared_ptr<Polar> randomPolar(std::mt19937_64& rng, bool zeroDelays)
{
    auto polar = std::make_shared<Polar>(M_PI / 6.0, Bands); // 30 degree grid
    const uint32_t n = Polar::polarValueCount(M_PI / 6.0, Bands);
    std::uniform_real_distribution<double> attenuation(0.0, 25.0), delay(0.0, 2e-4);
    DoubleBuffer m(n), p(n);
    for (uint32_t i = 0; i < n; ++i)
    {
        m[i] = attenuation(rng);
        p[i] = zeroDelays ? 0.0 : delay(rng);
    }
    polar->setData(std::move(m), std::move(p));
    return polar;
}

FrequencyMask filterOf(double amplitude, double delay, bool zeroes)
{
    FrequencyMask f(LevelAmplitude, PhaseDelay, amplitude, delay);
    for (uint32_t k = 0; k < Bands; ++k)
        f.magnitudes()[k] *= 1.0 + 0.01 * k;
    if (zeroes)
    {
        f.magnitudes()[3] = 0.0; // a band the beam does not play
        f.phases()[0] = 0.0;
    }
    return f;
}

// The model's arrivals made the straightforward way: masks, the cepstral
// combination and Arrival records, one step after the other.
std::vector<Arrival> arrivalsByRecords(const FlatClusterModel& model, const math::Vec3& p)
{
    std::vector<Arrival> out;
    for (const FlatDriver& driver : model.drivers)
    {
        const math::Vec3 q = math::TransformPoint(driver.toLocal, p);
        FrequencyMask response = driver.polar->lookup(q);
        if (!response.isUsable())
            continue;
        response.setRepresentation(LevelAmplitude, PhaseDelay);
        const double r = q.LengthSquared() < 5.551115123125783e-15 ? 0.0 : q.Length();
        for (double& v : response.phases())
            v += r * model.secondsPerMetre;
        const double spreading = std::max(0.01, r);
        for (double& v : response.magnitudes())
            v *= 1.0 / spreading;
        for (uint32_t k = 0; k < Bands && model.absorption.count() == Bands; ++k)
            response.magnitudes()[k] *= std::pow(10.0, model.absorption[k] * spreading / 20.0);
        if (driver.gain != 1.0 && driver.gain != 0.0)
            for (double& v : response.magnitudes())
                v *= driver.gain;
        if (model.delaySeconds > 0.0)
            for (double& v : response.phases())
                v += model.delaySeconds;
        if (!model.steered)
        {
            out.emplace_back(q, p, std::move(response));
            continue;
        }
        for (const FlatDriver::Beam& beam : driver.beams)
        {
            FrequencyMask copy(response);
            if (beam.hasFilter)
                CepstralBasis::math(copy, CepstralBasis::Combine, beam.filter);
            copy.magnitudes().multiply(beam.mask);
            out.emplace_back(q, p, std::move(copy));
        }
    }
    return out;
}

FlatClusterModel randomModel(std::mt19937_64& rng, bool steered, bool zeroDelays)
{
    FlatClusterModel model;
    model.secondsPerMetre = 1.0 / 343.2;
    model.absorption = DoubleBuffer(Bands);
    for (uint32_t k = 0; k < Bands; ++k)
        model.absorption[k] = -0.0005 * (k + 1) * (k + 1) / 28.0;
    model.delaySeconds = zeroDelays ? 0.0 : 0.0021;
    model.steered = steered;
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double gains[] = {1.0, 0.0, 0.7, 1.9};
    for (int d = 0; d < 8; ++d)
    {
        FlatDriver driver;
        driver.toLocal = math::Inverse(math::Mat4::Translation(math::Vec3(0.0, 0.0, 2.0 + 0.12 * d)));
        driver.polar = randomPolar(rng, zeroDelays);
        driver.gain = gains[d % 4];
        if (steered)
            for (int b = 0; b < 2; ++b)
            {
                FlatDriver::Beam beam;
                beam.hasFilter = (d + b) % 5 != 0;
                beam.filter = filterOf(0.3 + unit(rng), 1e-4 * (0.5 + unit(rng)), d % 3 == 0);
                beam.mask = DoubleBuffer(Bands, b == 0 ? 1.0 : 0.8);
                driver.beams.push_back(std::move(beam));
            }
        model.drivers.push_back(std::move(driver));
    }
    return model;
}

void expectSameSums(const FlatClusterModel& model, const math::Vec3& p)
{
    const std::vector<Arrival> records = arrivalsByRecords(model, p);
    FastArrivalsSum summer;
    FrequencyMask expected, actual;
    summer.sum(expected, records);

    FlatClusterArrivals maker;
    summer.startPoint(FlatClusterArrivals::capacity(model));
    EXPECT_EQ(maker.add(model, p, summer), records.size());
    summer.finishPoint(actual);
    // The same arrivals but for the last bits of their logarithms and powers.
    ASSERT_EQ(actual.magnitudes().count(), expected.magnitudes().count());
    for (uint64_t k = 0; k < Bands; ++k)
    {
        double incoherent = 0.0;
        for (const Arrival& a : records)
            incoherent += a.getResponse().magnitudes()[k] * a.getResponse().magnitudes()[k];
        EXPECT_NEAR(actual.magnitudes()[k], expected.magnitudes()[k], 1e-12 * incoherent)
            << k << " at " << p.x << " " << p.y << " " << p.z;
    }
}

} // namespace

TEST(FlatClusterArrivals, MakeTheArrivalsOfMasksAndRecords)
{
    std::mt19937_64 rng(5);
    for (const bool steered : {false, true})
    {
        const FlatClusterModel model = randomModel(rng, steered, false);
        EXPECT_EQ(FlatClusterArrivals::capacity(model), steered ? 16u : 8u);
        expectSameSums(model, math::Vec3(10.0, 3.0, 0.0));
        expectSameSums(model, math::Vec3(-4.0, -7.0, 12.0));
        expectSameSums(model, math::Vec3(0.0, 0.0, 2.0)); // on a driver: r = 0
        expectSameSums(model, math::Vec3(0.0, 0.0, 2.005));
    }
}

TEST(FlatClusterArrivals, ExactZerosOnBothSidesLeaveThatSideOut)
{
    // No delays anywhere and a point on a driver: the responses' delays are
    // all zero, so filters whose delays also hold a zero add none of theirs;
    // filters with a silent band leave the magnitudes of responses alone only
    // when those hold a zero too (they do not here).
    std::mt19937_64 rng(6);
    FlatClusterModel model = randomModel(rng, true, true);
    for (const bool prepared : {false, true})
    {
        if (prepared)
            FlatClusterArrivals::prepare(model); // the filters' zeros looked at once, as captured
        expectSameSums(model, math::Vec3(0.0, 0.0, 2.0));
        expectSameSums(model, math::Vec3(0.0, 0.0, 2.36));
        expectSameSums(model, math::Vec3(3.0, 1.0, 1.0));
    }
}
