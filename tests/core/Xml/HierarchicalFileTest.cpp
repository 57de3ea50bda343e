#include "core/Xml/HierarchicalFile.h"

#include "../support/FileBytes.h"
#include "../support/LogCapture.h"
#include "../support/TempDir.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace zorvpro;

namespace
{
using test::ReadFile;
using test::WriteFile;

std::vector<QString> Names(const std::vector<HierarchicalFileElementPtr>& elements)
{
    std::vector<QString> names;
    for (const auto& e : elements)
        names.push_back(e->GetName());
    return names;
}
} // namespace

TEST(HierarchicalFileTest, MissingFileIsLoggedAndGivesNoDocument)
{
    test::TempDir dir;
    test::LogCapture capture;
    const QString path = dir.File(QStringLiteral("missing.xml"));
    EXPECT_EQ(nullptr, HierarchicalFile::Open(path));
    EXPECT_EQ(std::vector<std::string>{"Unable to open " + path.toStdString() + " for reading"},
              capture.Texts());
}

TEST(HierarchicalFileTest, ParseErrorsNameLineAndColumn)
{
    test::TempDir dir;
    const QString empty = dir.File(QStringLiteral("empty.xml"));
    const QString broken = dir.File(QStringLiteral("broken.xml"));
    WriteFile(empty, "");
    WriteFile(broken, "<Settings>\n  <UI>\n    <Theme>Day</Them>\n  </UI>\n</Settings>\n");

    test::LogCapture capture;
    EXPECT_EQ(nullptr, HierarchicalFile::Open(empty));
    HierarchicalFile file;
    EXPECT_FALSE(file.Load(broken));
    const auto texts = capture.Texts();
    ASSERT_EQ(2u, texts.size());

    const QRegularExpression pattern(
        QStringLiteral("^Unable to parse (.*) - (.+) - line (\\d+), col (\\d+)$"));
    const auto emptyMatch = pattern.match(QString::fromStdString(texts[0]));
    ASSERT_TRUE(emptyMatch.hasMatch()) << texts[0];
    EXPECT_EQ(empty, emptyMatch.captured(1));

    const auto brokenMatch = pattern.match(QString::fromStdString(texts[1]));
    ASSERT_TRUE(brokenMatch.hasMatch()) << texts[1];
    EXPECT_EQ(broken, brokenMatch.captured(1));
    EXPECT_EQ(QStringLiteral("3"), brokenMatch.captured(3));
    EXPECT_GT(brokenMatch.captured(4).toInt(), 10);
}

namespace
{
QByteArray Nested(int depth)
{
    QByteArray bytes;
    for (int i = 0; i < depth; ++i)
        bytes += "<a>";
    bytes += "x";
    for (int i = 0; i < depth; ++i)
        bytes += "</a>";
    return bytes;
}
} // namespace

TEST(HierarchicalFileTest, DeeplyNestedDocumentsFailInsteadOfOverflowingTheStack)
{
    test::TempDir dir;
    const QString deep = dir.File(QStringLiteral("deep.xml"));
    const QString hidden = dir.File(QStringLiteral("hidden.xml"));
    const QString entity = dir.File(QStringLiteral("entity.xml"));
    // Deep enough to overflow the stack of the recursive DOM parser.
    WriteFile(deep, "<?xml version=\"1.0\"?>\n" + Nested(300000));
    // The DOM parser accepts a control character that stricter readers stop at.
    WriteFile(hidden, "<r>\x01<!-- -->" + Nested(300000) + "</r>");
    // The DOM parser expands the entity into 5000 levels the raw text hides.
    WriteFile(entity,
              "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e \"" + Nested(5000) + "\">]><r>&e;</r>");

    test::LogCapture capture;
    EXPECT_EQ(nullptr, HierarchicalFile::Open(deep));
    EXPECT_EQ(nullptr, HierarchicalFile::Open(hidden));
    EXPECT_EQ(nullptr, HierarchicalFile::Open(entity));
    const auto texts = capture.Texts();
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ("Unable to parse " + deep.toStdString() +
                  " - elements nested deeper than 1024 levels - line 2, col " + std::to_string(3 * 1024 + 1),
              texts[0]);
    EXPECT_EQ(0u, texts[1].find("Unable to parse " + hidden.toStdString() +
                                " - elements nested deeper than 1024 levels"));
    EXPECT_EQ("Unable to parse " + entity.toStdString() +
                  " - document type declarations are not read - line 2, col 1",
              texts[2]);
}

TEST(HierarchicalFileTest, NestingUpToTheLimitLoads)
{
    test::TempDir dir;
    const QString limit = dir.File(QStringLiteral("limit.xml"));
    const QString utf16 = dir.File(QStringLiteral("utf16.xml"));
    // Markup inside comments, CDATA and attribute values does not nest, nor
    // do empty elements.
    QByteArray quiet = "<a n=\"b>c\">";
    for (int i = 0; i < 2000; ++i)
        quiet += "<b/><!-- <c> --><![CDATA[<d>]]>";
    WriteFile(limit, quiet + Nested(HierarchicalFile::MaxElementDepth - 1) + "</a>");
    const QString text = QString::fromLatin1(Nested(HierarchicalFile::MaxElementDepth));
    QByteArray wide("\xff\xfe");
    wide.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    WriteFile(utf16, wide);

    const auto file = HierarchicalFile::Open(limit);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(2000u, file->GetRoot()->GetChildren().size() - 1);
    const auto wideFile = HierarchicalFile::Open(utf16);
    ASSERT_NE(nullptr, wideFile);
    EXPECT_EQ(QStringLiteral("x"), wideFile->GetRoot()->GetText());
}

TEST(HierarchicalFileTest, LookupsFindElementsOnly)
{
    test::TempDir dir;
    const QString path = dir.File(QStringLiteral("doc.xml"));
    WriteFile(path, "<Root>text before<A>first</A><!-- note --><B><C>deep</C>tail</B>more<A>second</A>"
                    "<a>lower</a></Root>");
    const auto file = HierarchicalFile::Open(path);
    ASSERT_NE(nullptr, file);
    const auto root = file->GetRoot();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(QStringLiteral("Root"), root->GetName());
    EXPECT_EQ((std::vector<QString>{"A", "B", "A", "a"}), Names(root->GetChildren()));

    ASSERT_NE(nullptr, root->GetChild(QStringLiteral("A")));
    EXPECT_EQ(QStringLiteral("first"), root->GetChild(QStringLiteral("A"))->GetText());
    EXPECT_EQ(QStringLiteral("lower"), root->GetChild(QStringLiteral("a"))->GetText());
    EXPECT_EQ(nullptr, root->GetChild(QStringLiteral("C")));
    EXPECT_EQ(QStringLiteral("deeptail"), root->GetChild(QStringLiteral("B"))->GetText());
    EXPECT_TRUE(root->GetChild(QStringLiteral("A"))->GetChildren().empty());
}

TEST(HierarchicalFileTest, EmptyDocumentHasANullRootThatFindsNothing)
{
    HierarchicalFile file;
    const auto root = file.GetRoot();
    ASSERT_NE(nullptr, root);
    EXPECT_TRUE(root->GetChildren().empty());
    EXPECT_EQ(nullptr, root->GetChild(QStringLiteral("Any")));
    EXPECT_EQ(QString(), root->GetName());
}

TEST(HierarchicalFileTest, SaveAndLoadGiveTheSameTreeWithFourBlankIndent)
{
    test::TempDir dir;
    const QString path = dir.File(QStringLiteral("out.xml"));
    HierarchicalFile out;
    auto root = out.CreateRoot(QStringLiteral("Settings"));
    ASSERT_NE(nullptr, root);
    root->SetAttribute(QStringLiteral("Version"), QStringLiteral("1"));
    auto ui = root->AddChild(QStringLiteral("UI"));
    ui->AddChild(QStringLiteral("Theme"))->SetText(QStringLiteral("Day"));
    ui->AddChild(QStringLiteral("Note"))->SetText(QStringLiteral("a < b & \u00e9"));
    ASSERT_TRUE(out.Save(path));

    EXPECT_EQ(QByteArray("<Settings Version=\"1\">\n"
                         "    <UI>\n"
                         "        <Theme>Day</Theme>\n"
                         "        <Note>a &lt; b &amp; \xc3\xa9</Note>\n"
                         "    </UI>\n"
                         "</Settings>\n"),
              ReadFile(path));

    const auto in = HierarchicalFile::Open(path);
    ASSERT_NE(nullptr, in);
    const auto inUi = in->GetRoot()->GetChild(QStringLiteral("UI"));
    ASSERT_NE(nullptr, inUi);
    EXPECT_EQ((std::vector<QString>{"Theme", "Note"}), Names(inUi->GetChildren()));
    EXPECT_EQ(QStringLiteral("a < b & \u00e9"), inUi->GetChild(QStringLiteral("Note"))->GetText());
}

TEST(HierarchicalFileTest, SaveReplacesAnOldFileAndReportsAnUnwritableTarget)
{
    test::TempDir dir;
    const QString path = dir.File(QStringLiteral("settings.xml"));
    WriteFile(path, "<Old><Much>longer content than the new document</Much></Old>");
    HierarchicalFile file;
    file.CreateRoot(QStringLiteral("New"));
    ASSERT_TRUE(file.Save(path));
    EXPECT_EQ(QByteArray("<New/>\n"), ReadFile(path));

    test::LogCapture capture;
    const QString unwritable = dir.File(QStringLiteral("no/such/folder/x.xml"));
    EXPECT_FALSE(file.Save(unwritable));
    EXPECT_EQ(std::vector<std::string>{"Unable to open " + unwritable.toStdString() + " for writing"},
              capture.Texts());
}

TEST(HierarchicalFileTest, SetTextFillsEmptyOrTextLedElementsOnly)
{
    HierarchicalFile file;
    auto root = file.CreateRoot(QStringLiteral("R"));

    auto empty = root->AddChild(QStringLiteral("Empty"));
    empty->SetText(QStringLiteral("one"));
    EXPECT_EQ(QStringLiteral("one"), empty->GetText());
    empty->SetText(QStringLiteral("two")); // now led by a text node: replaced, not appended
    EXPECT_EQ(QStringLiteral("two"), empty->GetText());

    auto mixed = root->AddChild(QStringLiteral("Mixed"));
    mixed->SetText(QStringLiteral("lead"));
    mixed->AddChild(QStringLiteral("Child"))->SetText(QStringLiteral("inner"));
    mixed->SetText(QStringLiteral("new"));
    EXPECT_EQ(QStringLiteral("newinner"), mixed->GetText());

    auto parent = root->AddChild(QStringLiteral("Parent"));
    parent->AddChild(QStringLiteral("Child"))->SetText(QStringLiteral("kept"));
    parent->SetText(QStringLiteral("ignored"));
    EXPECT_EQ(QStringLiteral("kept"), parent->GetText());
    EXPECT_EQ(1u, parent->GetChildren().size());

    // Two handles on one element see the same node.
    auto again = root->GetChild(QStringLiteral("Empty"));
    again->SetText(QStringLiteral("three"));
    EXPECT_EQ(QStringLiteral("three"), empty->GetText());
}
