// Every control of the report page: the copy lands on the clipboard and the preview opens a page
// on the desktop, both listing what the table shows, with each module of an array counted.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QMap>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
QWidget* Page()
{
    return Window()->findChild<QWidget*>(QStringLiteral("tabButtonBom"));
}

// The report's lines by "item\tSKU\tdescription", each with its quantity.
using Lines = QMap<QString, QString>;

// The lines the report's table shows; its empty filler rows are no lines.
Lines TableLines()
{
    Lines lines;
    auto* table = FindAs<QTableView>(QStringLiteral("tableBomInfo"));
    if (table == nullptr || table->model() == nullptr)
        return lines;
    const QAbstractItemModel* model = table->model();
    for (int row = 0; row < model->rowCount(); ++row)
    {
        QStringList cells;
        for (int column = 0; column < 3; ++column)
            cells << model->index(row, column).data().toString();
        if (!cells.front().isEmpty())
            lines.insert(cells.join(QLatin1Char('\t')), model->index(row, 3).data().toString());
    }
    return lines;
}

// The lines of a copied report, below its column header; empty without the header.
Lines CopiedLines(const QString& text)
{
    const QString header = QStringLiteral("ITEM\tSKU\tDESCRIPTION\tQUANTITY\n");
    const int at = text.indexOf(header);
    Lines lines;
    if (at < 0)
        return lines;
    for (const QString& line : text.mid(at + header.size()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    {
        const int tab = line.lastIndexOf(QLatin1Char('\t'));
        lines.insert(line.left(tab), line.mid(tab + 1));
    }
    return lines;
}

// Each line that one module needs once is needed once per module; empty when the lines shown say
// so, else what they say.
QString ModulesCounted(const Lines& shown, const Lines& oneModule, int modules)
{
    QString wrong;
    if (shown.keys() != oneModule.keys())
        wrong +=
            QStringLiteral("the lines are %1, not %2; ")
                .arg(shown.keys().join(QLatin1String(" | ")), oneModule.keys().join(QLatin1String(" | ")));
    int counted = 0;
    for (auto line = oneModule.begin(); line != oneModule.end(); ++line)
    {
        if (line.value() != QLatin1String("1"))
            continue;
        ++counted;
        if (shown.value(line.key()) != QString::number(modules))
            wrong += QStringLiteral("%1 shows %2 for %3 modules; ")
                         .arg(line.key(), shown.value(line.key()))
                         .arg(modules);
    }
    if (counted == 0)
        wrong += QStringLiteral("one module needs no line once");
    return wrong;
}

bool ShowReport()
{
    return Click(QStringLiteral("buttonBomTab")) &&
           QTest::qWaitFor([] { return Page()->isVisible() && !TableLines().isEmpty(); }, kDeadline);
}

TEST(Controls, EveryControlOfTheReportPageHasItsEffect)
{
    NewProjectWithOneArray();
    ASSERT_TRUE(ShowReport()) << "the report lists nothing for one array";
    const Lines oneModule = TableLines();
    // The same array made of three modules, as the speaker panel makes it; the report shown again
    // lists it anew.
    ASSERT_TRUE(Click(QStringLiteral("buttonSpeakerTab")));
    ASSERT_TRUE(QTest::qWaitFor([] { return Locate(QStringLiteral("Beam_Modules"), Window()) != nullptr; },
                                kDeadline));
    // Two entries down, each one step.
    for (int index : {1, 2})
    {
        const QString chosen = ChooseMakesOneStep(index)(Locate(QStringLiteral("Beam_Modules"), Window()));
        ASSERT_TRUE(chosen.isEmpty()) << "Beam_Modules: " << chosen.toStdString();
    }
    ASSERT_TRUE(ShowReport());
    const QString table = ModulesCounted(TableLines(), oneModule, 3);
    EXPECT_TRUE(table.isEmpty()) << "tableBomInfo: " << table.toStdString();
    const QString item = oneModule.firstKey().section(QLatin1Char('\t'), 0, 0);
    const QSet<QString> named = RunRows(
        Page(),
        {
            {"buttonCopy", "click",
             [&](QWidget* control)
             {
                 QApplication::clipboard()->setText(QStringLiteral("before"));
                 QTest::mouseClick(control, Qt::LeftButton);
                 const QString text = QApplication::clipboard()->text();
                 const QString wrong = ModulesCounted(CopiedLines(text), oneModule, 3);
                 return Expect(wrong.isEmpty(), QStringLiteral("%1 in \"%2\"").arg(wrong, text.left(400)));
             }},
            {"buttonPreview", "click",
             [&](QWidget* control)
             {
                 UrlOpener opener;
                 QTest::mouseClick(control, Qt::LeftButton);
                 QFile page(opener.url.toLocalFile());
                 const QString html =
                     page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
                 return Expect(
                     html.startsWith(QStringLiteral("<!doctype html>")) && html.contains(item),
                     QStringLiteral("no page with %1 opened (%2)").arg(item, opener.url.toString()));
             }},
        });
    const QStringList unnamed = Unnamed(Page(), named);
    EXPECT_TRUE(unnamed.isEmpty()) << "enabled controls without a row: " << unnamed.join(", ").toStdString();
    const QStringList keys = UnnamedShortcuts(Page(), named);
    EXPECT_TRUE(keys.isEmpty()) << "shortcuts without a row: " << keys.join(", ").toStdString();
}
} // namespace
} // namespace zorvpro::acceptance
