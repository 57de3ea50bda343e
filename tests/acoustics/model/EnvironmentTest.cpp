#include "acoustics/model/Environment.h"
#include "acoustics/model/AirAbsorption.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zorvpro::acoustics;

namespace
{
struct CodeRecorder : PropChangeListener
{
    Environment* environment = nullptr;
    std::vector<uint32_t> codes;
    double speedSeen = 0.0;
    void propChanged(uint32_t code) override
    {
        codes.push_back(code);
        // Listeners run under the environment's lock and may read it.
        speedSeen = environment->getSpeedOfSound();
    }
};
} // namespace

TEST(AirAbsorption, SpeedOfSoundAndVapourPressure)
{
    EXPECT_NEAR(computeSpeedOfSound(22.0, 50.0), 345.28734188183654, 1e-10);
    EXPECT_NEAR(computeSpeedOfSound(20.0, 0.0), 343.3700171691432, 1e-10);
    EXPECT_NEAR(computeSpeedOfSound(22.0, 31.0), 345.0023086009498, 1e-10);
    EXPECT_DOUBLE_EQ(computeSpeedOfSound(0.0, 0.0), 331.45);

    EXPECT_DOUBLE_EQ(saturationVapourPressure(0.0), 516.0);
    EXPECT_DOUBLE_EQ(saturationVapourPressure(45.0), 8942.5);
    EXPECT_DOUBLE_EQ(saturationVapourPressure(5.0), 872.0);
    EXPECT_DOUBLE_EQ(saturationVapourPressure(25.0), (2338.0 + 4243.0) / 2.0);
    EXPECT_DOUBLE_EQ(saturationVapourPressure(40.0), 7376.0);
}

TEST(AirAbsorption, PureToneAttenuation)
{
    const double frequencies[] = {1000.0, 16000.0, 4000.0, 8000.0};
    double values[4] = {};
    ASSERT_TRUE(airAbsorptionCoefficient(frequencies, values, 4, 22.0, 50.0));
    EXPECT_NEAR(values[0], -0.005014834411303411, 1e-12);
    EXPECT_NEAR(values[1], -0.3434905558514671, 1e-10);
    // The published 20 degC / 50 % values: 4.66, 29.7 and 105 dB/km.
    ASSERT_TRUE(airAbsorptionCoefficient(frequencies, values, 4, 20.0, 50.0));
    EXPECT_NEAR(values[0], -0.00466, 0.00001);
    EXPECT_NEAR(values[2], -0.0297, 0.0001);
    EXPECT_NEAR(values[3], -0.105, 0.001);

    EXPECT_FALSE(airAbsorptionCoefficient(nullptr, values, 4, 20.0, 50.0));
    EXPECT_FALSE(airAbsorptionCoefficient(frequencies, values, 0, 20.0, 50.0));
}

TEST(Environment, DefaultsAndPublishing)
{
    Environment env;
    CodeRecorder recorder;
    recorder.environment = &env;
    env.addListener(&recorder);
    EXPECT_FALSE(env.isAirAbsorptionEnabled());
    EXPECT_DOUBLE_EQ(env.getTemperature(), 22.0);
    EXPECT_DOUBLE_EQ(env.getHumidity(), 50.0);
    EXPECT_NEAR(env.getSpeedOfSound(), 345.28734188183654, 1e-10);
    EXPECT_NEAR(env.getInverseSpeedOfSound(), 1.0 / 345.28734188183654, 1e-15);

    env.setAirConditions(false, 22.0, 50.0);
    EXPECT_TRUE(recorder.codes.empty());

    env.setHumidity(150.0);
    EXPECT_DOUBLE_EQ(env.getHumidity(), 100.0);
    EXPECT_EQ(recorder.codes, std::vector<uint32_t>{13});
    EXPECT_DOUBLE_EQ(recorder.speedSeen, computeSpeedOfSound(22.0, 100.0));
    env.setHumidity(120.0);
    EXPECT_EQ(recorder.codes.size(), 1u);
    EXPECT_TRUE(env.changeFlags().test(13));

    const double speed = env.getSpeedOfSound();
    env.setAirAbsorptionEnabled(true);
    EXPECT_EQ(recorder.codes.size(), 2u);
    EXPECT_DOUBLE_EQ(env.getSpeedOfSound(), speed);

    env.setTemperature(-300.0);
    EXPECT_DOUBLE_EQ(env.getSpeedOfSound(), 345.0023086009498);
    EXPECT_DOUBLE_EQ(env.getInverseSpeedOfSound(), 0.0028985313288342647);
    env.removeListener(&recorder);
}

TEST(Environment, NonFiniteConditionsKeepTheStoredValues)
{
    Environment env;
    env.setAirConditions(true, std::nan(""), INFINITY);
    EXPECT_TRUE(env.isAirAbsorptionEnabled());
    EXPECT_DOUBLE_EQ(env.getTemperature(), 22.0);
    EXPECT_DOUBLE_EQ(env.getHumidity(), 50.0);
    EXPECT_NEAR(env.getSpeedOfSound(), 345.28734188183654, 1e-10);
}

TEST(Environment, AirAbsorptionTable)
{
    Environment env;
    EXPECT_TRUE(env.airAbsorptionTable(3).empty());
    env.setAirAbsorptionEnabled(true);
    auto table = env.airAbsorptionTable(3);
    ASSERT_EQ(table.count(), 28u);
    EXPECT_NEAR(table[15], -0.005014834411303411, 1e-12);
    for (uint32_t i = 0; i < 28; ++i)
    {
        EXPECT_LT(table[i], 0.0);
        if (i > 0)
        {
            EXPECT_LT(table[i], table[i - 1]);
        }
    }
    // The caller owns its copy; a change of conditions recomputes.
    table[0] = 1.0;
    EXPECT_LT(env.airAbsorptionTable(3)[0], 0.0);
    env.setTemperature(10.0);
    auto colder = env.airAbsorptionTable(3);
    EXPECT_EQ(env.airAbsorptionTable(7), colder);
    double expected = 0.0;
    const double f = 16000.0;
    airAbsorptionCoefficient(&f, &expected, 1, 10.0, 50.0);
    EXPECT_DOUBLE_EQ(colder[27], expected);
}

TEST(Environment, ConditionsWithoutUsableAbsorptionGiveNone)
{
    // A project file may hold any temperature; below absolute zero the
    // absorption formula has no real value.
    Environment env;
    env.setAirConditions(true, -300.0, 50.0);
    EXPECT_TRUE(env.airAbsorptionTable(3).empty());
    env.setTemperature(20.0);
    auto table = env.airAbsorptionTable(3);
    ASSERT_EQ(table.count(), 28u);
    EXPECT_NEAR(table[15], -0.00466, 0.00001);
}

TEST(Environment, InstanceIsShared)
{
    EXPECT_EQ(&Environment::instance(), &Environment::instance());
}
