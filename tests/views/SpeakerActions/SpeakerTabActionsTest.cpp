// The speaker tab's actions over the tab adapter they serve in the program: the coverage-map
// switches, the send of the first selected array and its debug copy.
#include "views/Adapters/SpeakerActions/SpeakerTabActions.h"
#include "WarningBoxes.h"
#include "core/Base/ApplicationSeam.h"
#include "data/BeamData/BeamInfoXml.h"
#include "data/BeamData/KvdFileTransferer.h"
#include "data/Project/ProjectSettings.h"
#include "tests/views/BeamData/LocalListener.h"
#include "tests/views/Editing/support/SpeakerAdapterFixture.h"
#include "views/Adapters/Spl/SplAdapter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

namespace zorvpro
{
namespace
{

constexpr int kDeadline = 10000;

class SpeakerTabActionsTest : public test::SpeakerAdapterFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::LoadArrayModel());
        test::SpeakerAdapterFixture::SetUp();
        ASSERT_TRUE(listener.Listen());
        actions = std::make_unique<SpeakerTabActions>(
            *adapter, nullptr,
            std::make_unique<KvdFileTransferer>(nullptr, QHostAddress(QHostAddress::LocalHost),
                                                listener.Port(), 20));
    }

    void TearDown() override
    {
        actions.reset();
        test::SpeakerAdapterFixture::TearDown();
    }

    ProjectSettings& Settings() { return *ProjectDefinition::Instance()->GetSettings(); }

    test::LocalListener listener;
    std::unique_ptr<SpeakerTabActions> actions;
};

TEST_F(SpeakerTabActionsTest, CalculationAndMapSwitchesReachSettingsAndTheSplAdapter)
{
    // Without an SPL adapter the flags are still stored.
    actions->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_AutoCalculate", false);
    EXPECT_FALSE(Settings().getAutoCalculate());
    actions->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_ShowSplMap", false);
    EXPECT_FALSE(Settings().getSplVisibility());

    SplAdapter spl(nullptr);
    int lookups = 0;
    actions->SetSplAdapterSource(
        [&]() -> SplAdapter*
        {
            ++lookups;
            return &spl;
        });
    struct Step
    {
        BoundPropertyEvent event;
        const char* name;
        bool value;
        bool autoCalculate, mapsShown;
        int lookups;
    };
    const Step steps[] = {
        {BoundPropertyEvent::ValueChanged, "Spl_ShowSplMap", false, false, false, 1},
        {BoundPropertyEvent::ValueChanged, "Spl_AutoCalculate", true, true, false, 2},
        {BoundPropertyEvent::ValueChanged, "Spl_ShowSplMap", true, true, true, 3},
        {BoundPropertyEvent::ValueChanged, "Spl_AutoCalculate", false, false, true, 4},
        {BoundPropertyEvent::ValueChanged, "Spl_ShowSplMap", false, false, false, 5},
        // A press of the recalculation button passes through; anything else is not for these actions.
        {BoundPropertyEvent::ValuePassedThrough, "Spl_RecalculateButton", true, false, false, 6},
        {BoundPropertyEvent::ValueChanged, "Spl_RecalculateButton", true, false, false, 6},
        {BoundPropertyEvent::ValuePassedThrough, "Spl_AutoCalculate", true, false, false, 6},
        {BoundPropertyEvent::FocusGained, "Spl_ShowSplMap", true, false, false, 6},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(testing::Message() << s.name << " " << s.value);
        actions->onPropertyEvent(s.event, s.name, s.value);
        EXPECT_EQ(Settings().getAutoCalculate(), s.autoCalculate);
        EXPECT_EQ(spl.IsAutoCalculate(), s.autoCalculate);
        EXPECT_EQ(Settings().getSplVisibility(), s.mapsShown);
        EXPECT_EQ(spl.AreMapsShown(), s.mapsShown);
        EXPECT_EQ(lookups, s.lookups);
    }
}

TEST_F(SpeakerTabActionsTest, NothingSelectedWarnsAndSendsNothing)
{
    ASSERT_NE(AddArray(), nullptr);
    Select({});
    test::WarningBoxes boxes;
    EXPECT_FALSE(actions->handleSendToKVDClicked());
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "WARNING");
    EXPECT_EQ(boxes.seen[0].text, "No items were selected for the Kavlon Designer");
    EXPECT_TRUE(boxes.seen[0].shellBox);
    EXPECT_FALSE(actions->Transferer().isBusy());
    EXPECT_EQ(listener.connections, 0);
}

TEST_F(SpeakerTabActionsTest, SendsTheFirstArrayAndKeepsADebugCopy)
{
    const QString path = SpeakerTabActions::DebugCopyPath();
    QFile::remove(path);
    // The debug flag is the application object's, as the command line sets it.
    ApplicationSeam app;
    const auto first = AddArray();
    const auto second = AddArray();
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    for (const bool debug : {false, true})
    {
        SCOPED_TRACE(debug ? "with the debug copy" : "without");
        listener.received.clear();
        listener.ended = 0;
        Select({second, first}); // sent in the order of the entities' ids
        app.SetDebug(debug);
        if (debug)
        {
            // An earlier, longer copy is cut to the new text.
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(200000, 'z'));
        }
        QSignalSpy done(actions.get(), &SpeakerTabActions::kvdTransferCompleted);
        ASSERT_TRUE(actions->handleSendToKVDClicked());
        // A second press while the first transfer runs sends nothing.
        EXPECT_FALSE(actions->handleSendToKVDClicked());
        ASSERT_TRUE(done.wait(kDeadline));
        ASSERT_TRUE(QTest::qWaitFor([&] { return listener.ended > 0; }, kDeadline));

        QString expected;
        writeBeamInfoXml(expected, first);
        ASSERT_TRUE(expected.contains("\"TQR40V Array 1\""));
        EXPECT_EQ(listener.received, expected.toUtf8());
        EXPECT_TRUE(done.at(0).at(0).toBool());
        EXPECT_EQ(done.at(0).at(1).toString(), QString::number(expected.toUtf8().size()));

        QFile copy(path);
        EXPECT_EQ(copy.exists(), debug);
        if (debug)
        {
            ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
            EXPECT_EQ(copy.readAll(), expected.toUtf8() + "\n");
        }
    }
    QFile::remove(path);
}

} // namespace
} // namespace zorvpro
