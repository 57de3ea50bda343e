#include "core/Nodes/NodeProperties.h"
#include "core/Nodes/PhysicalNode.h"
#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <locale>

namespace zorvpro
{
namespace
{

std::string Written(double value)
{
    PropertyMap properties;
    WriteProperty(properties, "k", value);
    return properties["k"];
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(NodePropertiesTest, DoublesUseSixSignificantDigits)
{
    EXPECT_EQ(Written(2.5), "2.5");
    EXPECT_EQ(Written(12.3456789), "12.3457");
    EXPECT_EQ(Written(0.0000001), "1e-07");
    EXPECT_EQ(Written(1234567.0), "1.23457e+06");
    EXPECT_EQ(Written(0.1), "0.1");
    EXPECT_EQ(Written(1.0 / 3.0), "0.333333");
    EXPECT_EQ(Written(-4.0), "-4");
}

// A decimal-comma global locale must not leak into the files.
class CommaPunct : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
};

class CommaLocale
{
public:
    CommaLocale() : m_previous(std::locale::global(std::locale(std::locale::classic(), new CommaPunct))) {}
    ~CommaLocale() { std::locale::global(m_previous); }

private:
    std::locale m_previous;
};

TEST(NodePropertiesTest, NumbersIgnoreTheGlobalLocale)
{
    CommaLocale comma;
    EXPECT_EQ(Written(0.5), "0.5");
    PropertyMap properties;
    WriteProperty(properties, "v", math::Vec3(0.25, 1, 2));
    EXPECT_EQ(properties["v"], "(0.25,1,2)");
    double value = 0.0;
    EXPECT_TRUE(ReadProperty(PropertyMap{{"k", "2.25"}}, "k", value));
    EXPECT_EQ(value, 2.25);
}

TEST(NodePropertiesTest, DoubleReadTakesTheLeadingNumber)
{
    double value = 7.0;
    EXPECT_TRUE(ReadProperty(PropertyMap{{"k", "  3.5m"}}, "k", value));
    EXPECT_EQ(value, 3.5);
    EXPECT_FALSE(ReadProperty(PropertyMap{{"k", "abc"}}, "k", value));
    EXPECT_FALSE(ReadProperty(PropertyMap{}, "k", value));
    EXPECT_EQ(value, 3.5);
}

TEST(NodePropertiesTest, NonFiniteNumbersAreUnparsable)
{
    double value = 1.0;
    for (const char* text : {"nan", "inf", "-inf", "1e999", "NaN", "infinity"})
    {
        EXPECT_FALSE(ReadProperty(PropertyMap{{"k", text}}, "k", value)) << text;
        EXPECT_EQ(value, 1.0) << text;
    }
    math::Vec3 v(1, 2, 3);
    EXPECT_FALSE(ReadProperty(PropertyMap{{"k", "(1,nan,3)"}}, "k", v));
    EXPECT_FALSE(ReadProperty(PropertyMap{{"k", "(1,2,1e400)"}}, "k", v));
    EXPECT_EQ(v, math::Vec3(1, 2, 3));
    math::Mat4 m;
    EXPECT_FALSE(ReadProperty(PropertyMap{{"k", "| inf 0 0 0 || 0 1 0 0 || 0 0 1 0 || 0 0 0 1 |"}}, "k", m));
    EXPECT_EQ(m, math::Mat4());
}

TEST(NodePropertiesTest, WholeNumbersAreDecimal)
{
    // The steerable-array nodes keep their beam and module counts and the
    // beam algorithm as whole numbers.
    PropertyMap properties;
    WriteProperty(properties, "NumBeams", 3);
    WriteProperty(properties, "Delta", -12);
    EXPECT_EQ(properties["NumBeams"], "3");
    EXPECT_EQ(properties["Delta"], "-12");

    int value = 7;
    EXPECT_TRUE(ReadProperty(properties, "Delta", value));
    EXPECT_EQ(value, -12);
    EXPECT_TRUE(ReadProperty(PropertyMap{{"k", " 2 beams"}}, "k", value));
    EXPECT_EQ(value, 2);
    for (const char* text : {"", "two", "99999999999", "-99999999999"})
    {
        EXPECT_FALSE(ReadProperty(PropertyMap{{"k", text}}, "k", value)) << text;
        EXPECT_EQ(value, 2) << text;
    }
    EXPECT_FALSE(ReadProperty(PropertyMap{}, "k", value));
    EXPECT_EQ(value, 2);
}

TEST(NodePropertiesTest, BoolsAreTrueOnlyForExactTrue)
{
    PropertyMap properties;
    WriteProperty(properties, "a", true);
    WriteProperty(properties, "b", false);
    EXPECT_EQ(properties["a"], "true");
    EXPECT_EQ(properties["b"], "false");

    bool value = true;
    EXPECT_TRUE(ReadProperty(PropertyMap{{"k", "True"}}, "k", value));
    EXPECT_FALSE(value);
    EXPECT_TRUE(ReadProperty(PropertyMap{{"k", "true"}}, "k", value));
    EXPECT_TRUE(value);
    EXPECT_FALSE(ReadProperty(PropertyMap{}, "k", value));
    EXPECT_TRUE(value);
}

TEST(NodePropertiesTest, VectorsRoundTripAndAllowBlanks)
{
    PropertyMap properties;
    WriteProperty(properties, "v", math::Vec3(1.5, -2, 0.1));
    EXPECT_EQ(properties["v"], "(1.5,-2,0.1)");

    math::Vec3 value;
    EXPECT_TRUE(ReadProperty(properties, "v", value));
    EXPECT_EQ(value, math::Vec3(1.5, -2, 0.1));
    EXPECT_TRUE(ReadProperty(PropertyMap{{"v", "( 1 , 2 , 3 )"}}, "v", value));
    EXPECT_EQ(value, math::Vec3(1, 2, 3));
    for (const char* bad : {"(1;2;3)", "1,2,3)", "(1,2)", "(1,2,3", "[1,2,3]", ""})
        EXPECT_FALSE(ReadProperty(PropertyMap{{"v", bad}}, "v", value)) << bad;
    EXPECT_EQ(value, math::Vec3(1, 2, 3));
}

TEST(NodePropertiesTest, ColoursNeedTheExactForm)
{
    PropertyMap properties;
    WriteProperty(properties, "c", QColor(10, 20, 30, 40));
    EXPECT_EQ(properties["c"], "(10,20,30,40)");

    QColor colour;
    EXPECT_TRUE(ReadProperty(properties, "c", colour));
    EXPECT_EQ(colour, QColor(10, 20, 30, 40));
    EXPECT_TRUE(ReadProperty(PropertyMap{{"c", "(255,0,0,255)"}}, "c", colour));
    EXPECT_EQ(colour, QColor(Qt::red));

    EXPECT_FALSE(ReadProperty(PropertyMap{{"c", "( 255, 0, 0, 255)"}}, "c", colour));
    EXPECT_FALSE(ReadProperty(PropertyMap{{"c", "(255,0,0)"}}, "c", colour));
    EXPECT_EQ(colour, QColor(Qt::red));

    EXPECT_TRUE(ReadProperty(PropertyMap{{"c", "(256,0,0,255)"}}, "c", colour));
    EXPECT_FALSE(colour.isValid());
    colour = Qt::red;
    EXPECT_TRUE(ReadProperty(PropertyMap{{"c", "(99999999999999,0,0,255)"}}, "c", colour));
    EXPECT_FALSE(colour.isValid());
}

TEST(NodePropertiesTest, MatricesAreWrittenRowByRow)
{
    PropertyMap properties;
    WriteProperty(properties, "m", math::Mat4());
    EXPECT_EQ(properties["m"], "| 1 0 0 0 || 0 1 0 0 || 0 0 1 0 || 0 0 0 1 |");

    math::Mat4 translated = math::Mat4::Translation(math::Vec3(1.25, -2, 3e-7));
    WriteProperty(properties, "m", translated);
    EXPECT_EQ(properties["m"], "| 1 0 0 1.25 || 0 1 0 -2 || 0 0 1 3e-07 || 0 0 0 1 |");
    math::Mat4 read;
    ASSERT_TRUE(ReadProperty(properties, "m", read));
    EXPECT_EQ(read, translated);

    EXPECT_FALSE(ReadProperty(PropertyMap{{"m", "| 1 0 0 0 || 0 1 0 0 || 0 0 1 0 |"}}, "m", read));
    EXPECT_FALSE(ReadProperty(PropertyMap{{"m", "| 1 0 0 0 | 0 1 0 0 || 0 0 1 0 || 0 0 0 1 |"}}, "m", read));
    EXPECT_EQ(read, translated);
}

TEST(NodePropertiesTest, PhysicalNodeWritesNameAndTransform)
{
    auto node = PhysicalNode::Create();
    node->SetName("stage");
    node->SetTransform(math::Mat4::Translation(math::Vec3(0, 0, 2)));
    PropertyMap properties;
    node->WriteProperties(properties);
    EXPECT_EQ(properties, (PropertyMap{{"Name", "stage"},
                                       {"Transform", "| 1 0 0 0 || 0 1 0 0 || 0 0 1 2 || 0 0 0 1 |"}}));

    auto copy = PhysicalNode::Create();
    EXPECT_TRUE(copy->ReadProperties(properties));
    EXPECT_EQ(copy->GetName(), "stage");
    EXPECT_EQ(copy->GetTransform(), node->GetTransform());
}

TEST(NodePropertiesTest, MissingPropertiesAreLoggedByKey)
{
    test::LogCapture capture;
    EXPECT_FALSE(Node::Create()->ReadProperties(PropertyMap{}));
    EXPECT_FALSE(PhysicalNode::Create()->ReadProperties(PropertyMap{{"Name", "x"}, {"Transform", "| 1 |"}}));
    const auto texts = capture.Texts();
    EXPECT_TRUE(Contains(texts, "Unable to read property Name"));
    EXPECT_TRUE(Contains(texts, "Unable to read property Transform"));
}

} // namespace
} // namespace zorvpro
