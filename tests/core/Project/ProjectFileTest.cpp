#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinitionImpl.h"
#include "tests/core/Project/ProjectTestSupport.h"
#include "tests/core/support/LogCapture.h"

#include <QLocale>
#include <algorithm>

namespace zorvpro
{
namespace
{

// A project as the program writes it: settings in file order, surfaces with
// colours, transforms and listener heights, one group node with a child.
const char* const HandWritten = R"(<Project Version="1">
    <Venue>
        <Node>
            <Name>Venue root</Name>
            <Children>
                <QuadNode>
                    <Color>(255,0,0,255)</Color>
                    <ListenerHeight>1.2</ListenerHeight>
                    <ListenerHeightEnabled>true</ListenerHeightEnabled>
                    <Locked>false</Locked>
                    <Name>Floor</Name>
                    <P1>(0,0,0)</P1>
                    <P2>(20,0,0)</P2>
                    <P3>(20,30,0)</P3>
                    <P4>(0,30,0)</P4>
                    <RotationZ>0</RotationZ>
                    <Transform>| 1 0 0 0 || 0 1 0 0 || 0 0 1 0 || 0 0 0 1 |</Transform>
                    <Transparent>false</Transparent>
                    <Visible>true</Visible>
                </QuadNode>
                <PhysicalNode>
                    <Name>Balcony group</Name>
                    <Transform>| 1 0 0 0 || 0 1 0 0 || 0 0 1 4.5 || 0 0 0 1 |</Transform>
                    <Children>
                        <QuadNode>
                            <Color>(10,200,30,128)</Color>
                            <ListenerHeight>0.85</ListenerHeight>
                            <ListenerHeightEnabled>false</ListenerHeightEnabled>
                            <Locked>true</Locked>
                            <Name>Balcony</Name>
                            <P1>(-2.5,10,0.333333)</P1>
                            <P2>(2.5,10,0.333333)</P2>
                            <P3>(2.5,14,1.5)</P3>
                            <P4>(-2.5,14,1.5)</P4>
                            <RotationZ>1.5708</RotationZ>
                            <Transform>| 0 -1 0 3 || 1 0 0 -7.25 || 0 0 1 1e-07 || 0 0 0 1 |</Transform>
                            <Transparent>true</Transparent>
                            <Visible>false</Visible>
                        </QuadNode>
                    </Children>
                </PhysicalNode>
            </Children>
        </Node>
    </Venue>
    <Settings>
        <SettingsDesigner>A. Designer</SettingsDesigner>
        <SettingsVersion>3</SettingsVersion>
        <SettingsVenue>Hall</SettingsVenue>
        <SettingsNotes>first line
second line</SettingsNotes>
        <AirAbsorption>true</AirAbsorption>
        <Temperature>18.5</Temperature>
        <Humidity>45.5</Humidity>
        <ViewZoom0>60</ViewZoom0>
        <ViewCameraTranslation0>(0,0,0)</ViewCameraTranslation0>
        <ViewZoom1>75.25</ViewZoom1>
        <ViewCameraTranslation1>(1.5,-2,3)</ViewCameraTranslation1>
        <ViewZoom2>60</ViewZoom2>
        <ViewCameraTranslation2>(0,0,0)</ViewCameraTranslation2>
        <ViewZoom3>60</ViewZoom3>
        <ViewCameraTranslation3>(0,0,10)</ViewCameraTranslation3>
        <ZoomPaired0>true</ZoomPaired0>
        <ZoomPaired1>false</ZoomPaired1>
        <SplVisibility>true</SplVisibility>
        <SplOctaveMode>3</SplOctaveMode>
        <SplFreqCtr>2000</SplFreqCtr>
        <SplLowValue>70</SplLowValue>
        <SplHighValue>110</SplHighValue>
        <SplAutoAdjustRange>false</SplAutoAdjustRange>
        <SplRelative>true</SplRelative>
        <SplResolution>0.5</SplResolution>
        <ThrowLines>false</ThrowLines>
        <DefaultEarHeight>1.6</DefaultEarHeight>
    </Settings>
</Project>
)";

using test::ProjectTest;

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

QByteArray Replace(QByteArray text, const QByteArray& from, const QByteArray& to)
{
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    return text.replace(from, to);
}

class ProjectFileTest : public ProjectTest
{
};

TEST_F(ProjectFileTest, HandWrittenProjectIsStableAfterOneSave)
{
    const QString original = WriteFile("hand.tq", HandWritten);
    ASSERT_TRUE(Project()->Load(original));

    const QString saved = PathIn("saved.tq");
    ASSERT_TRUE(Project()->SaveAs(saved));
    EXPECT_EQ(ReadFile(saved).toStdString(), std::string(HandWritten));

    ASSERT_TRUE(Project()->Load(saved));
    const QString again = PathIn("again.tq");
    ASSERT_TRUE(Project()->SaveAs(again));
    EXPECT_EQ(ReadFile(again), ReadFile(saved));
}

TEST_F(ProjectFileTest, LoadedValuesReachTheTreeAndSettings)
{
    ASSERT_TRUE(Project()->Load(WriteFile("hand.tq", HandWritten)));
    NodePtr root = Project()->GetVenue()->GetRoot();
    EXPECT_EQ(root->GetName(), "Venue root");
    ASSERT_EQ(root->GetChildCount(), 2u);

    auto floor = std::dynamic_pointer_cast<QuadNode>(root->GetChild(0));
    ASSERT_TRUE(floor);
    EXPECT_EQ(floor->GetColor(), QColor(255, 0, 0, 255));
    EXPECT_EQ(floor->GetListenerHeight(), 1.2);
    EXPECT_EQ(floor->GetP3(), math::Vec3(20, 30, 0));

    NodePtr group = root->GetChild(1);
    EXPECT_EQ(group->TypeName(), "PhysicalNode");
    auto balcony = std::dynamic_pointer_cast<QuadNode>(group->GetChild(0));
    ASSERT_TRUE(balcony);
    EXPECT_EQ(balcony->GetParent(), group);
    EXPECT_EQ(balcony->GetColor(), QColor(10, 200, 30, 128));
    EXPECT_FALSE(balcony->GetListenerHeightEnabled());
    EXPECT_TRUE(balcony->GetLocked());
    EXPECT_FALSE(balcony->GetVisible());
    EXPECT_EQ(balcony->GetTransform()(1, 3), -7.25);

    ProjectSettings* settings = Project()->GetSettings();
    EXPECT_EQ(settings->getDesigner(), "A. Designer");
    EXPECT_EQ(settings->getNotes(), "first line\nsecond line");
    EXPECT_TRUE(settings->getAirAbsorptionEnabled());
    EXPECT_EQ(settings->getTemperature(), 18.5);
    EXPECT_EQ(settings->getHumidity(), 45.5);
    EXPECT_EQ(settings->getViewZoom(1), 75.25);
    EXPECT_EQ(settings->getViewCameraTranslation(3), math::Vec3(0, 0, 10));
    EXPECT_FALSE(settings->getZoomPaired(1));
    EXPECT_EQ(settings->getSplOctaveMode(), 3);
    EXPECT_EQ(settings->getSplResolution(), 0.5);
    EXPECT_FALSE(settings->getThrowLines());
    EXPECT_EQ(settings->getDefaultEarHeight(), 1.6);
    EXPECT_FALSE(Project()->IsModified());
}

TEST_F(ProjectFileTest, SettingsNumbersAreWrittenWithSixDigitsInTheCLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ProjectSettings* settings = Project()->GetSettings();
    settings->setTemperature(22.123456);
    settings->setHumidity(0.1 + 0.2);
    settings->setViewCameraTranslation(0, 0.5, -1234567.0, 1e-7);
    const QString path = PathIn("numbers.tq");
    ASSERT_TRUE(Project()->SaveAs(path));
    QLocale::setDefault(QLocale::c());

    const QByteArray text = ReadFile(path);
    EXPECT_TRUE(text.contains("<Temperature>22.1235</Temperature>"));
    EXPECT_TRUE(text.contains("<Humidity>0.3</Humidity>"));
    EXPECT_TRUE(text.contains("<ViewCameraTranslation0>(0.5,-1.23457e+06,1e-07)</ViewCameraTranslation0>"));
    ASSERT_TRUE(Project()->Load(path));
    EXPECT_EQ(Project()->GetSettings()->getTemperature(), 22.1235);
}

TEST_F(ProjectFileTest, DisplayValuesAreCorrectedOnLoad)
{
    QByteArray text =
        Replace(HandWritten, "<SplOctaveMode>3</SplOctaveMode>", "<SplOctaveMode>2</SplOctaveMode>");
    text = Replace(text, "<SplResolution>0.5</SplResolution>", "<SplResolution>1.5</SplResolution>");
    text = Replace(text, "<Humidity>45.5</Humidity>", "<Humidity>50</Humidity>");
    ASSERT_TRUE(Project()->Load(WriteFile("display.tq", text)));
    EXPECT_EQ(Project()->GetSettings()->getSplOctaveMode(), -2);
    EXPECT_EQ(Project()->GetSettings()->getSplResolution(), 1.0);
    EXPECT_EQ(Project()->GetSettings()->getHumidity(), 50.0);

    // A grid spacing the maps cannot use is refused with a line saying so.
    for (const char* spacing : {"0.0009", "inf", "nan"})
    {
        test::LogCapture capture;
        const QByteArray odd = Replace(HandWritten, "<SplResolution>0.5</SplResolution>",
                                       QByteArray("<SplResolution>") + spacing + "</SplResolution>");
        ASSERT_TRUE(Project()->Load(WriteFile("spacing.tq", odd)));
        EXPECT_EQ(Project()->GetSettings()->getSplResolution(), 1.0) << spacing;
        const auto texts = capture.Texts();
        EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                               [](const std::string& t) { return t.find("SplResolution") != std::string::npos; }),
                  texts.end())
            << spacing;
    }
}

TEST_F(ProjectFileTest, OptionalKeysFallBackAndAreLogged)
{
    QByteArray text = Replace(HandWritten, "        <ThrowLines>false</ThrowLines>\n", "");
    text = Replace(text, "<ZoomPaired1>false</ZoomPaired1>", "<ZoomPaired1>maybe</ZoomPaired1>");
    text = Replace(text, "<DefaultEarHeight>1.6</DefaultEarHeight>",
                   "<DefaultEarHeight>tall</DefaultEarHeight>");
    text = Replace(text, "<SplFreqCtr>2000</SplFreqCtr>", "<SplFreqCtr>inf</SplFreqCtr>");

    test::LogCapture capture;
    ASSERT_TRUE(Project()->Load(WriteFile("optional.tq", text)));
    ProjectSettings* settings = Project()->GetSettings();
    EXPECT_TRUE(settings->getThrowLines());
    EXPECT_TRUE(settings->getZoomPaired(1));
    EXPECT_EQ(settings->getDefaultEarHeight(), 1.0);
    EXPECT_EQ(settings->getSplFreqCtr(), 1000.0);

    const auto texts = capture.Texts();
    EXPECT_TRUE(Contains(texts, "Unable to find ThrowLines key in settings"));
    EXPECT_TRUE(Contains(texts, "Unable to parse settings ZoomPaired1 value maybe as bool"));
    EXPECT_TRUE(Contains(texts, "Unable to parse settings DefaultEarHeight value tall as double"));
    EXPECT_TRUE(Contains(texts, "Unable to parse settings SplFreqCtr value inf as double"));
}

TEST_F(ProjectFileTest, RequiredKeysFailTheLoadAfterReadingTheRest)
{
    QByteArray text =
        Replace(HandWritten, "        <ViewCameraTranslation2>(0,0,0)</ViewCameraTranslation2>\n", "");
    text = Replace(text, "<Temperature>18.5</Temperature>", "<Temperature>nan</Temperature>");
    text = Replace(text, "<ViewCameraTranslation1>(1.5,-2,3)</ViewCameraTranslation1>",
                   "<ViewCameraTranslation1>(1.5;-2;3)</ViewCameraTranslation1>");
    text = Replace(text, "<SplOctaveMode>3</SplOctaveMode>", "<SplOctaveMode>third</SplOctaveMode>");

    test::LogCapture capture;
    const QString path = WriteFile("required.tq", text);
    EXPECT_FALSE(Project()->Load(path));

    const auto texts = capture.Texts();
    EXPECT_TRUE(Contains(texts, "Unable to parse settings Temperature value nan as double"));
    EXPECT_TRUE(
        Contains(texts, "Unable to parse settings ViewCameraTranslation1 value (1.5;-2;3) as vector 3D"));
    EXPECT_TRUE(Contains(texts, "Unable to find ViewCameraTranslation2 key in settings"));
    EXPECT_TRUE(Contains(texts, "Unable to parse settings ViewCameraTranslation2 value  as vector 3D"));
    EXPECT_TRUE(Contains(texts, "Unable to parse settings SplOctaveMode value third as integer"));
    EXPECT_TRUE(Contains(texts, "Load of settings failed"));
    EXPECT_FALSE(Contains(texts, "Load of venue failed"));
    EXPECT_EQ(Project()->GetVenue()->GetRoot()->GetChildCount(), 0u);
    EXPECT_EQ(Project()->GetSettings()->getTemperature(), 22.0);
}

TEST_F(ProjectFileTest, DocumentsThatAreNotProjectsAreRejected)
{
    test::LogCapture capture;
    EXPECT_FALSE(Project()->Load(WriteFile("settings.tq", "<Settings Version=\"1\"/>\n")));
    EXPECT_FALSE(Project()->Load(WriteFile("broken.tq", "<Project><Venue>")));
    EXPECT_FALSE(Project()->Load(PathIn("missing.tq")));
    QByteArray noVenue = HandWritten;
    noVenue = noVenue.left(noVenue.indexOf("    <Venue>")) + noVenue.mid(noVenue.indexOf("    <Settings>"));
    EXPECT_FALSE(Project()->Load(WriteFile("novenue.tq", noVenue)));

    const auto texts = capture.Texts();
    EXPECT_TRUE(Contains(texts, "Unable to find Project element in settings"));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Unable to read project file"), 2);
    EXPECT_TRUE(Contains(texts, "Load of venue failed"));
}

TEST_F(ProjectFileTest, VenueWithoutChildrenLoadsEmpty)
{
    QByteArray text = HandWritten;
    const int begin = text.indexOf("            <Children>");
    const int end = text.indexOf("        </Node>");
    text = text.left(begin) + text.mid(end);
    Project()->GetVenue()->GetRoot()->AddChild(Node::Create());
    ASSERT_TRUE(Project()->Load(WriteFile("empty.tq", text)));
    EXPECT_EQ(Project()->GetVenue()->GetRoot()->GetChildCount(), 0u);
}

TEST_F(ProjectFileTest, UnknownNodeTypeFailsTheLoadWithoutCrashing)
{
    QByteArray text =
        Replace(HandWritten, "                <QuadNode>\n                    <Color>(255,0,0,255)",
                "                <MysteryNode>\n                    <Color>(255,0,0,255)");
    text = Replace(text, "                </QuadNode>\n                <PhysicalNode>",
                   "                </MysteryNode>\n                <PhysicalNode>");
    const QString path = WriteFile("mystery.tq", text);
    Project()->AddRecentFile(path);

    test::LogCapture capture;
    EXPECT_FALSE(Project()->Load(path));
    EXPECT_TRUE(Contains(capture.Texts(), "Load of venue failed"));
    EXPECT_EQ(Project()->GetVenue()->GetRoot()->GetChildCount(), 0u);
    EXPECT_TRUE(Project()->GetFileName().isEmpty());
    EXPECT_FALSE(Project()->IsModified());
    EXPECT_FALSE(Project()->GetRecentFiles().contains(path));
}

QByteArray NestedProject(int depth)
{
    QByteArray nodes;
    for (int i = 0; i < depth; ++i)
        nodes += "<Node><Name>n</Name><Children>";
    for (int i = 0; i < depth; ++i)
        nodes += "</Children></Node>";
    QByteArray text = HandWritten;
    const int begin = text.indexOf("<QuadNode>");
    const int end = text.indexOf("            </Children>\n        </Node>\n    </Venue>");
    return text.left(begin) + nodes + "\n" + text.mid(end);
}

TEST_F(ProjectFileTest, DeepNestingIsCappedAndFailsTheLoad)
{
    ASSERT_TRUE(
        Project()->Load(WriteFile("deep-ok.tq", NestedProject(ProjectDefinition::Impl::MaxNodeDepth))));
    NodePtr deepest = Project()->GetVenue()->GetRoot();
    int levels = 0;
    while (deepest->GetChildCount() > 0)
    {
        deepest = deepest->GetChild(0);
        ++levels;
    }
    EXPECT_EQ(levels, ProjectDefinition::Impl::MaxNodeDepth);

    test::LogCapture capture;
    EXPECT_FALSE(
        Project()->Load(WriteFile("deep.tq", NestedProject(ProjectDefinition::Impl::MaxNodeDepth + 1))));
    EXPECT_TRUE(Contains(capture.Texts(), "Nodes nested deeper than 256 levels; the rest is not read"));
    EXPECT_EQ(Project()->GetVenue()->GetRoot()->GetChildCount(), 0u);
}

TEST_F(ProjectFileTest, NodesWithoutChildrenGetNoChildrenElement)
{
    Project()->GetVenue()->GetRoot()->AddChild(
        QuadNode::Create("q", {}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, QColor(1, 2, 3), 1.0, 0.0));
    const QString path = PathIn("one.tq");
    ASSERT_TRUE(Project()->SaveAs(path));
    const QByteArray text = ReadFile(path);
    EXPECT_EQ(text.count("<Children>"), 1);
    EXPECT_TRUE(
        text.contains("<Visible>true</Visible>\n                </QuadNode>\n            </Children>"));
}

} // namespace
} // namespace zorvpro
