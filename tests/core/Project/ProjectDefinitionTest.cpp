#include "core/Commands/GenericFunctorCommand.h"
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectSettings.h"
#include "tests/core/Project/ProjectTestSupport.h"

#include <QDir>

namespace zorvpro
{
namespace
{

using test::ProjectTest;

// Counts the document's signals and remembers the file name at each rename.
struct SignalLog
{
    explicit SignalLog(ProjectDefinition* project)
    {
        QObject::connect(project, &ProjectDefinition::fileNameChanged, &context,
                         [this, project] { names.append(project->GetFileName()); });
        QObject::connect(project, &ProjectDefinition::fileModifiedChanged, &context,
                         [this, project] { modified.append(project->IsModified()); });
        QObject::connect(project, &ProjectDefinition::recentFilesChanged, &context, [this] { ++recent; });
    }

    QObject context;
    QStringList names;
    QList<bool> modified;
    int recent = 0;
};

const QByteArray MinimalProject = R"(<Project Version="1">
    <Venue>
        <Node>
            <Name>Venue root</Name>
        </Node>
    </Venue>
    <Settings>
        <AirAbsorption>false</AirAbsorption>
        <Temperature>20</Temperature>
        <Humidity>40</Humidity>
        <ViewZoom0>60</ViewZoom0>
        <ViewCameraTranslation0>(0,0,0)</ViewCameraTranslation0>
        <ViewZoom1>60</ViewZoom1>
        <ViewCameraTranslation1>(0,0,0)</ViewCameraTranslation1>
        <ViewZoom2>60</ViewZoom2>
        <ViewCameraTranslation2>(0,0,0)</ViewCameraTranslation2>
        <ViewZoom3>60</ViewZoom3>
        <ViewCameraTranslation3>(0,0,0)</ViewCameraTranslation3>
        <ZoomPaired0>true</ZoomPaired0>
        <ZoomPaired1>true</ZoomPaired1>
        <ThrowLines>true</ThrowLines>
        <SplVisibility>true</SplVisibility>
        <SplResolution>1</SplResolution>
        <DefaultEarHeight>1</DefaultEarHeight>
    </Settings>
</Project>
)";

void PushEdit(int& value, int to)
{
    const int from = value;
    GenericFunctorCommand edit(
        "edit",
        [&value, to]
        {
            value = to;
            return true;
        },
        [&value, from] { value = from; });
    UndoStack::Push(&edit);
}

class ProjectDefinitionTest : public ProjectTest
{
};

TEST_F(ProjectDefinitionTest, ModifiedFlagFollowsUndoRedoAndSave)
{
    SignalLog log(Project());
    int value = 0;
    PushEdit(value, 1);
    EXPECT_TRUE(Project()->IsModified());
    UndoStack::Instance().undo();
    EXPECT_FALSE(Project()->IsModified());
    UndoStack::Instance().redo();
    EXPECT_TRUE(Project()->IsModified());
    EXPECT_EQ(log.modified, (QList<bool>{true, false, true}));

    ASSERT_TRUE(Project()->SaveAs(PathIn("p.tq")));
    EXPECT_FALSE(Project()->IsModified());
    EXPECT_EQ(log.modified.size(), 4);

    // Undoing past the saved state modifies the project again.
    UndoStack::Instance().undo();
    EXPECT_TRUE(Project()->IsModified());
    UndoStack::Instance().redo();
    EXPECT_FALSE(Project()->IsModified());
}

TEST_F(ProjectDefinitionTest, SettingsChangesModifyExceptWhileLoading)
{
    SignalLog log(Project());
    Project()->GetSettings()->setDesigner("me");
    EXPECT_TRUE(Project()->IsModified());
    Project()->GetSettings()->setVenue("hall");
    EXPECT_EQ(log.modified, QList<bool>{true});

    ASSERT_TRUE(Project()->Load(WriteFile("min.tq", MinimalProject)));
    EXPECT_FALSE(Project()->IsModified());
    EXPECT_EQ(Project()->GetSettings()->getTemperature(), 20.0);
    EXPECT_EQ(log.modified, (QList<bool>{true, false}));
}

TEST_F(ProjectDefinitionTest, UndoingAnEditKeepsUnsavedSettingsChangesModified)
{
    ASSERT_TRUE(Project()->SaveAs(PathIn("saved.tq")));
    SignalLog log(Project());

    // The designer's name is not on the undo stack: undoing a later edit
    // back to the clean state must not make the project look saved.
    Project()->GetSettings()->setDesigner("someone");
    int value = 0;
    PushEdit(value, 1);
    UndoStack::Instance().undo();
    EXPECT_TRUE(Project()->IsModified());
    EXPECT_EQ(log.modified, QList<bool>{true});

    // Likewise for a project marked modified by its caller.
    ASSERT_TRUE(Project()->Save());
    Project()->MarkModified();
    PushEdit(value, 2);
    UndoStack::Instance().undo();
    EXPECT_TRUE(Project()->IsModified());

    // Once saved, undo and redo alone decide again.
    ASSERT_TRUE(Project()->Save());
    log.modified.clear();
    PushEdit(value, 3);
    UndoStack::Instance().undo();
    EXPECT_FALSE(Project()->IsModified());
    EXPECT_EQ(log.modified, (QList<bool>{true, false}));
}

TEST_F(ProjectDefinitionTest, ClearEmitsOncePerFlagChange)
{
    SignalLog log(Project());
    Project()->Clear(true);
    EXPECT_TRUE(Project()->IsModified());
    EXPECT_EQ(log.modified, QList<bool>{true});

    log.modified.clear();
    Project()->Clear(true);
    EXPECT_EQ(log.modified, (QList<bool>{false, true}));

    log.modified.clear();
    Project()->Clear(false);
    EXPECT_FALSE(Project()->IsModified());
    EXPECT_EQ(log.modified, QList<bool>{false});
}

TEST_F(ProjectDefinitionTest, ClearEmptiesTheVenueButKeepsItsRoot)
{
    // A new project must not inherit the surfaces of the old one: the
    // application's "new project" relies on Clear alone.
    const NodePtr root = Project()->GetVenue()->GetRoot();
    const NodePtr group = Node::Create();
    group->AddChild(Node::Create());
    root->AddChild(group);
    root->AddChild(QuadNode::Create("q", {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, QColor(), 1.0, 0.0));

    Project()->Clear(true);
    EXPECT_EQ(Project()->GetVenue()->GetRoot(), root);
    EXPECT_EQ(root->GetName(), "Venue root");
    EXPECT_EQ(root->GetChildCount(), 0u);
    EXPECT_TRUE(Project()->IsModified());
}

TEST_F(ProjectDefinitionTest, MarkModifiedIsSilent)
{
    SignalLog log(Project());
    Project()->MarkModified();
    EXPECT_TRUE(Project()->IsModified());
    EXPECT_TRUE(log.modified.isEmpty());
}

TEST_F(ProjectDefinitionTest, FileNameChangesAreAnnounced)
{
    SignalLog log(Project());
    Project()->SetFileName("a.tq");
    Project()->SetFileName("a.tq");
    Project()->SetFileName("b.tq");
    EXPECT_EQ(log.names, (QStringList{"a.tq", "b.tq"}));
}

TEST_F(ProjectDefinitionTest, LoadingAnotherDocumentLeavesAnEmptyUnnamedProject)
{
    const QString good = WriteFile("good.tq", MinimalProject);
    ASSERT_TRUE(Project()->Load(good));
    Project()->GetVenue()->GetRoot()->AddChild(Node::Create());
    const QString wrong = WriteFile("wrong.tq", "<Settings Version=\"1\"/>\n");
    Project()->AddRecentFile(wrong);

    SignalLog log(Project());
    EXPECT_FALSE(Project()->Load(wrong));
    EXPECT_EQ(log.names, (QStringList{wrong, QString()}));
    EXPECT_TRUE(Project()->GetFileName().isEmpty());
    EXPECT_FALSE(Project()->IsModified());
    EXPECT_EQ(Project()->GetVenue()->GetRoot()->GetChildCount(), 0u);
    EXPECT_EQ(Project()->GetSettings()->getTemperature(), 22.0);
    EXPECT_EQ(Project()->GetRecentFiles(), QStringList{good});
}

TEST_F(ProjectDefinitionTest, RecentListKeepsFiveMostRecentFirst)
{
    QStringList paths;
    for (int i = 0; i < 6; ++i)
        paths.append(WriteFile(QString("p%1.tq").arg(i), MinimalProject));

    SignalLog log(Project());
    for (const QString& path : paths)
        Project()->AddRecentFile(path);
    EXPECT_EQ(log.recent, 6);
    EXPECT_EQ(Project()->GetRecentFiles(), (QStringList{paths[5], paths[4], paths[3], paths[2], paths[1]}));

    Project()->AddRecentFile(paths[3]);
    EXPECT_EQ(Project()->GetRecentFiles(), (QStringList{paths[3], paths[5], paths[4], paths[2], paths[1]}));

    Project()->RemoveRecentFile(paths[4]);
    EXPECT_EQ(Project()->GetRecentFiles(), (QStringList{paths[3], paths[5], paths[2], paths[1]}));

    // The store itself, as other parts of the program see it.
    QSettings store("Zorv", "Zorv Tessary");
    EXPECT_EQ(store.value("RecentFileList").toStringList(),
              (QStringList{paths[3], paths[5], paths[2], paths[1]}));
}

TEST_F(ProjectDefinitionTest, RecentListHidesMissingFilesWithoutForgettingThem)
{
    const QString kept = WriteFile("kept.tq", MinimalProject);
    const QString gone = WriteFile("gone.tq", MinimalProject);
    Project()->AddRecentFile(kept);
    Project()->AddRecentFile(gone);
    ASSERT_TRUE(QFile::remove(gone));

    EXPECT_EQ(Project()->GetRecentFiles(), QStringList{kept});
    EXPECT_EQ(RecentFiles::Read(), (QStringList{gone, kept}));
}

TEST_F(ProjectDefinitionTest, SuccessfulLoadAndSaveJoinTheRecentList)
{
    const QString loaded = WriteFile("loaded.tq", MinimalProject);
    ASSERT_TRUE(Project()->Load(loaded));
    EXPECT_EQ(Project()->GetFileName(), loaded);
    const QString saved = PathIn("saved.tq");
    ASSERT_TRUE(Project()->SaveAs(saved));
    EXPECT_EQ(Project()->GetFileName(), saved);
    EXPECT_EQ(Project()->GetRecentFiles(), (QStringList{saved, loaded}));

    Project()->GetSettings()->setNotes("more");
    ASSERT_TRUE(Project()->Save());
    EXPECT_FALSE(Project()->IsModified());
    EXPECT_TRUE(ReadFile(saved).contains("<SettingsNotes>more</SettingsNotes>"));
}

TEST_F(ProjectDefinitionTest, FailedSaveChangesNothing)
{
    const QString saved = PathIn("first.tq");
    Project()->GetVenue()->GetRoot()->AddChild(
        QuadNode::Create("stage", {}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, QColor(9, 9, 9), 1.0, 0.0));
    ASSERT_TRUE(Project()->SaveAs(saved));
    const QByteArray before = ReadFile(saved);

    int value = 0;
    PushEdit(value, 7);
    Project()->GetSettings()->setDesigner("changed");
    ASSERT_TRUE(Project()->IsModified());

    // A parent that is a regular file cannot hold the target, even for root.
    const QString blocked = saved + "/nested.tq";
    SignalLog log(Project());
    EXPECT_FALSE(Project()->SaveAs(blocked));
    EXPECT_TRUE(Project()->IsModified());
    EXPECT_FALSE(UndoStack::Instance().isClean());
    EXPECT_EQ(Project()->GetFileName(), saved);
    EXPECT_EQ(Project()->GetRecentFiles(), QStringList{saved});
    EXPECT_TRUE(log.names.isEmpty());
    EXPECT_TRUE(log.modified.isEmpty());
    EXPECT_EQ(log.recent, 0);
    EXPECT_EQ(ReadFile(saved), before);
    EXPECT_FALSE(QFileInfo::exists(blocked));

    // The unnamed project has nowhere to go either.
    Project()->Clear(true);
    EXPECT_FALSE(Project()->Save());
    EXPECT_TRUE(Project()->IsModified());
}

TEST_F(ProjectDefinitionTest, SaveReplacesTheWholeOldFile)
{
    const QString path = PathIn("replace.tq");
    for (int i = 0; i < 20; ++i)
        Project()->GetVenue()->GetRoot()->AddChild(Node::Create());
    ASSERT_TRUE(Project()->SaveAs(path));
    const qint64 bigSize = QFileInfo(path).size();

    Project()->GetVenue()->RemoveAllNodes();
    ASSERT_TRUE(Project()->Save());
    EXPECT_LT(QFileInfo(path).size(), bigSize);
    ASSERT_TRUE(Project()->Load(path));
    EXPECT_EQ(Project()->GetVenue()->GetRoot()->GetChildCount(), 0u);
    EXPECT_TRUE(QDir(QFileInfo(path).path()).entryList(QStringList{"replace.tq*"}, QDir::Files).size() == 1);
}

TEST_F(ProjectDefinitionTest, LoadAndClearDropTheHistoryOfThePreviousDocument)
{
    int value = 0;
    PushEdit(value, 1);
    PushEdit(value, 2);
    ASSERT_TRUE(UndoStack::Instance().canUndo());

    Project()->Clear(false);
    EXPECT_FALSE(UndoStack::Instance().canUndo()) << "no edit of the old document can be undone into the new";
    EXPECT_EQ(UndoStack::Instance().count(), 0);
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(Project()->IsModified());

    PushEdit(value, 3);
    ASSERT_TRUE(Project()->Load(WriteFile("loaded.tq", MinimalProject)));
    EXPECT_FALSE(UndoStack::Instance().canUndo());
    EXPECT_FALSE(Project()->IsModified());

    // Saving keeps the history: the saved document is still the same one.
    PushEdit(value, 4);
    ASSERT_TRUE(Project()->SaveAs(PathIn("kept.tq")));
    EXPECT_TRUE(UndoStack::Instance().canUndo());
}

} // namespace
} // namespace zorvpro
