#pragma once

#include <QObject>
#include <QString>
#include <string>

class QTableView;
class QTextStream;

namespace zorvpro
{
class BOMTableModel;

// Gathers the bill of materials of every loudspeaker in the venue into the
// report table, copies the report to the clipboard as tab-separated text and
// previews it as an HTML page in the desktop's browser.
class BillOfMaterialsAdapter : public QObject
{
public:
    // The parent must be a table view whose model is a BOMTableModel.
    explicit BillOfMaterialsAdapter(QObject* parent);

    void load();
    void buttonCopyClicked();
    void preview();

    QString clipboardText() const;
    std::string toHtml() const;
    void toHtmlRows(QTextStream& stream, uint32_t row, bool header) const;

    QString title() const { return m_title; }
    // Where the preview is written: a folder only the user can enter, so no
    // one can plant a link under the well-known file name beforehand.
    static QString previewFilePath();

private:
    QString m_title;
    QString m_designer;
    QString m_version;
    QString m_venue;
    QString m_notes;
    QTableView* m_tableView = nullptr;
    BOMTableModel* m_model = nullptr;
};
} // namespace zorvpro
