#include "ShellTestSupport.h"

#include "data/Bom/BOMTableModel.h"
#include "data/Nodes/LoudspeakerClusterNode.h"
#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Bom/BillOfMaterialsAdapter.h"
#include "views/Adapters/Bom/HtmlEscape.h"
#include "views/Tabs/BOM/BillOfMaterialsTab.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gmock/gmock.h>

namespace zorvpro::test
{
namespace
{
class BomReportTest : public ProjectTest
{
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        QFile::remove(BillOfMaterialsAdapter::previewFilePath());
    }

    // Arrays of one generated module each, straight below the venue root.
    static void AddArrays(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            auto cluster = LoudspeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
            AddModules(cluster, 1);
            Project()->GetVenue()->GetRoot()->AddChild(cluster);
        }
    }

    static void Describe(const QString& venue, const QString& notes)
    {
        ProjectSettings* settings = Project()->GetSettings();
        settings->setVenue(venue);
        settings->setDesigner(QStringLiteral("Ann"));
        settings->setVersion(QStringLiteral("2"));
        settings->setNotes(notes);
    }

    static QPushButton* Button(QWidget& page, const char* name)
    {
        return page.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    static BOMTableModel* Model(QWidget& page)
    {
        return dynamic_cast<BOMTableModel*>(
            page.findChild<QTableView*>(QStringLiteral("tableBomInfo"))->model());
    }
};

const char* const kHeaderLines = "Venue:\tMain Hall\nDesigner:\tAnn\nVersion:\t2\nNotes:\tfront\nrear\n\n"
                                 "ITEM\tSKU\tDESCRIPTION\tQUANTITY\n";

TEST_F(BomReportTest, CopyGathersEveryArrayOnceWithQuantitiesSummed)
{
    AddArrays(2);
    Project()->SetFileName(QStringLiteral("/venues/2026/Hall.b.tq"));
    Describe(QStringLiteral("Main Hall"), QStringLiteral("front\nrear"));
    BillOfMaterialsTab page;
    QApplication::clipboard()->setText(QStringLiteral("before"));

    QTest::mouseClick(Button(page, "buttonCopy"), Qt::LeftButton);

    // The module lists its link pin twice: two modules need four.
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("Hall.b\n") + kHeaderLines +
                  "TQR40V\tTQR-40V-BK\tSteerable column module\t2\n"
                  "Link pin\tTQA-PIN\tQuick-release link pin\t4\n"
                  "Wall bracket\tTQA-WB1\tWall bracket for one column\t2\n");
    BOMTableModel* model = Model(page);
    EXPECT_EQ(model->getBomCount(), 3u);
    EXPECT_EQ(model->rowCount(), 20);
    EXPECT_EQ(model->data(model->index(1, 3)).toUInt(), 4u);

    // A venue without loudspeakers copies the header lines only.
    Project()->GetVenue()->RemoveAllNodes();
    QTest::mouseClick(Button(page, "buttonCopy"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Hall.b\n") + kHeaderLines);
}

TEST_F(BomReportTest, TitleFollowsFileNameOrProjectState)
{
    struct Case
    {
        QString fileName;
        bool modified;
        QString title;
    };
    const Case cases[] = {{"C:\\work\\Hall.b.tq", false, "Hall.b"},
                          {"/a/b/Arena.tq", true, "Arena"},
                          {"", true, "UntitledProject"},
                          {"", false, "Zorv Tessary"}};
    BillOfMaterialsTab page;
    for (const Case& c : cases)
    {
        Project()->Clear(c.modified);
        Project()->SetFileName(c.fileName);
        page.adapter()->load();
        EXPECT_EQ(page.adapter()->title(), c.title) << c.fileName.toStdString();
    }
}

TEST_F(BomReportTest, ModelPadsRowsAlignsAndRefusesRowsPastTheLines)
{
    BOMTableModel model;
    acoustics::BOM bom;
    for (int i = 0; i < 25; ++i)
        bom.add(acoustics::BOMInfo("item" + std::to_string(i), "sku", "desc"));
    EXPECT_EQ(model.rowCount(), 20);
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
    EXPECT_EQ(model.data(model.index(5, 0), Qt::TextAlignmentRole).toInt(), 0x81);
    EXPECT_EQ(model.data(model.index(5, 3), Qt::TextAlignmentRole).toInt(), 0x84);
    EXPECT_THROW(model.getBomInfo(0), std::out_of_range);

    model.setBom(bom);
    EXPECT_EQ(model.rowCount(), 25);
    EXPECT_EQ(model.data(model.index(24, 0)).toString(), QStringLiteral("item24"));
    EXPECT_FALSE(model.data(model.index(0, 4)).isValid());
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("DESCRIPTION"));
    EXPECT_FALSE(model.headerData(0, Qt::Vertical).isValid());
    try
    {
        model.getBomInfo(25);
        ADD_FAILURE() << "no throw";
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "Invalid index for table model");
    }
}

TEST_F(BomReportTest, PreviewWritesEscapedUtf8PageInPrivateFolderAndOpensIt)
{
    AddArrays(1);
    Project()->SetFileName(QStringLiteral("/x/R&D <Hall>.tq"));
    Describe(QString::fromUtf8("A&B <Caf\u00e9>"), QStringLiteral("n"));
    const QString path = BillOfMaterialsAdapter::previewFilePath();
    // A link planted at the file's name must be replaced, never written through.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString victim = QDir::temp().filePath(QStringLiteral("zorv-shell-victim.txt"));
    QFile::remove(victim);
    ASSERT_TRUE(QFile::link(victim, path));
    BillOfMaterialsTab page;
    UrlRecorder recorder;

    QTest::mouseClick(Button(page, "buttonPreview"), Qt::LeftButton);

    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.front(), QUrl::fromLocalFile(path));
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("Report Preview.html"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(victim));
    EXPECT_EQ(QFile::permissions(QFileInfo(path).absolutePath()) & (QFile::ReadOther | QFile::ReadGroup), 0);
    const QString html = QString::fromUtf8(ReadFile(path));
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<h1 style='text-align: center'> R&amp;D &lt;Hall&gt;</h1>")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("<span>Venue:</span> &nbsp;A&amp;B &lt;Caf\u00e9&gt;<br/>")));
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<tr><td style='border: 1px solid black; width: 100px;'>Link pin</td><td style='border: 1px solid "
        "black; "
        "width: 150px'>TQA-PIN</td><td style='border: 1px solid black;'>Quick-release link pin</td><td "
        "style='text-align: center; border: 1px solid black; width: 50px;'>2</td></tr>")));
    EXPECT_EQ(html.count(QStringLiteral("<tr")), 4); // header and three lines

    // Items are escaped the same way, each character once.
    EXPECT_EQ(escapeHtml("a&amp;<b>\xc3\xa9"), "a&amp;amp;&lt;b&gt;\xc3\xa9");
}

TEST_F(BomReportTest, PreviewThatCannotBeWrittenWarnsAndOpensNothing)
{
    const QString folder = QFileInfo(BillOfMaterialsAdapter::previewFilePath()).absolutePath();
    QDir(folder).removeRecursively();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    BillOfMaterialsTab page;
    UrlRecorder recorder;

    const QStringList warning =
        AnswerWarning([&] { QTest::mouseClick(Button(page, "buttonPreview"), Qt::LeftButton); });

    EXPECT_EQ(warning, (QStringList{"Failed Preview", "Failed to preview the Bill of Materials"}));
    EXPECT_TRUE(recorder.urls.isEmpty());
    QFile::remove(folder);
}

TEST_F(BomReportTest, PageLayoutReadOnlyTableAndThemes)
{
    AddArrays(1);
    BillOfMaterialsTab page;
    page.resize(1280, 842);
    EXPECT_EQ(page.objectName(), QStringLiteral("tabButtonBom"));
    QPushButton* copy = Button(page, "buttonCopy");
    EXPECT_EQ(copy->text(), QStringLiteral("Copy to Clipboard"));
    EXPECT_EQ(copy->toolTip(), QStringLiteral("Copy report data to the clipboard in the CSV format"));
    EXPECT_EQ(copy->size(), QSize(160, 24));
    EXPECT_EQ(Button(page, "buttonPreview")->size(), QSize(160, 24));
    auto* table = page.findChild<QTableView*>(QStringLiteral("tableBomInfo"));
    EXPECT_EQ(table->columnWidth(0), 420);
    EXPECT_EQ(table->columnWidth(1), 249);
    EXPECT_EQ(table->horizontalHeader()->objectName(), QStringLiteral("tableBomInfoHeader"));
    EXPECT_FALSE(table->verticalHeader()->isVisible());

    page.adapter()->load();
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    const QModelIndex cell = table->model()->index(0, 0);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    EXPECT_FALSE(table->selectionModel()->hasSelection());
    EXPECT_TRUE(table->viewport()->findChildren<QWidget*>().isEmpty()) << "an editor opened";
    EXPECT_EQ(table->focusPolicy(), Qt::NoFocus);

    for (const int theme : {1, 0})
    {
        const ApplicationStyle style(theme);
        page.themeChanged(theme);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QImage shot = page.grab().toImage();
        // Page background, then the header band of the table.
        EXPECT_EQ(shot.pixelColor(5, 5), QColor(theme == 1 ? "#F8F8F8" : "#242424"));
        const QPoint header = table->mapTo(&page, QPoint(table->columnWidth(0) / 4, 3));
        EXPECT_EQ(shot.pixelColor(header), QColor(theme == 1 ? "#cccccc" : "#000000"));
        SaveScreenshot(page, theme == 1 ? "report-light" : "report-dark");
    }
    EXPECT_THAT(Button(page, "buttonPreview")->styleSheet().toStdString(),
                ::testing::StartsWith("QPushButton { background-color: #cccccc; border-radius: 12px; color: "
                                      "#000000; }QPushButton:hover { "));
}
} // namespace
} // namespace zorvpro::test
