// Every control of the report page: the copy lands on the clipboard and the preview opens a page
// on the desktop, both listing what the table shows.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
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

// The first cell of the first line the report's table shows.
QString FirstItem()
{
    auto* table = FindAs<QTableView>(QStringLiteral("tableBomInfo"));
    if (table == nullptr || table->model() == nullptr || table->model()->rowCount() == 0)
        return QString();
    return table->model()->index(0, 0).data().toString();
}

TEST(Controls, EveryControlOfTheReportPageHasItsEffect)
{
    NewProjectWithOneArray();
    ASSERT_TRUE(Click(QStringLiteral("buttonBomTab")));
    ASSERT_TRUE(QTest::qWaitFor([] { return Page()->isVisible() && !FirstItem().isEmpty(); }, kDeadline))
        << "the report lists nothing for one array";
    const QString item = FirstItem();
    const QSet<QString> named =
        RunRows(Page(),
                {
                    {"buttonCopy", "click",
                     [&](QWidget* control)
                     {
                         QApplication::clipboard()->setText(QStringLiteral("before"));
                         QTest::mouseClick(control, Qt::LeftButton);
                         const QString text = QApplication::clipboard()->text();
                         return Expect(text.contains(QStringLiteral("ITEM\tSKU\tDESCRIPTION\tQUANTITY\n")) &&
                                           text.contains(item + QLatin1Char('\t')),
                                       QStringLiteral("the clipboard holds \"%1\"").arg(text.left(200)));
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
