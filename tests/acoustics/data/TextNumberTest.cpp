#include "acoustics/data/TextNumber.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zorvpro::acoustics
{
namespace
{

TEST(TextNumber, ReadsLikeJuceWhereJuceIsDefined)
{
    for (const char* text :
         {"1.5", "  -2.25e1", "3e-2xyz", "1e0005", "abc", "", "7.", "-0", "1e308", "+4E+2"})
        EXPECT_EQ(ReadDouble(text), juce::String(text).getDoubleValue()) << text;
}

TEST(TextNumber, HugeExponentsGiveInfinityOrZero)
{
    // JUCE's own reading overflows an int on these exponents.
    EXPECT_EQ(ReadDouble("1e3220402201"), HUGE_VAL);
    EXPECT_EQ(ReadDouble("-2.5E+99999999999999"), -HUGE_VAL);
    EXPECT_EQ(ReadDouble("1e-3220402201"), 0.0);
    EXPECT_EQ(ReadDouble("1e00000000000000000005"), 100000.0) << "leading zeros are not digits of the size";
}

} // namespace
} // namespace zorvpro::acoustics
