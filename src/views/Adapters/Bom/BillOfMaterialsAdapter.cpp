#include "views/Adapters/Bom/BillOfMaterialsAdapter.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/Nodes/NodeIterators.h"
#include "data/Bom/BOMTableModel.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Bom/HtmlEscape.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Common/OpenLocalFile.h"
#include "views/Common/WarningMessage.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableView>
#include <QTextStream>
#include <stdexcept>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("zorvpro::BillOfMaterialsAdapter", text);
}

// BOM texts are UTF-8 and end at the first NUL, as in the table.
QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.c_str());
}

QString Escaped(const QString& text)
{
    return QString::fromStdString(escapeHtml(text.toStdString()));
}

// "Hall.b.tq" in any folder gives "Hall.b"; a name without a dot gives "".
QString TitleFromFileName(const QString& fileName)
{
    QString name = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
    name = name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.left(dot);
}
} // namespace

BillOfMaterialsAdapter::BillOfMaterialsAdapter(QObject* parent) : QObject(parent)
{
    m_tableView = qobject_cast<QTableView*>(parent);
    CheckAlloc(m_tableView);
    m_model = dynamic_cast<BOMTableModel*>(m_tableView->model());
    CheckAlloc(m_model);
}

void BillOfMaterialsAdapter::load()
{
    ProjectDefinition* project = ProjectDefinition::Instance();
    const NodePtr root = project->GetVenue() ? project->GetVenue()->GetRoot() : NodePtr();
    if (!root)
    {
        OmbraxLogger::LogException(std::logic_error("Venue Root Node was null"), __FILE__, "load", __LINE__);
        return;
    }

    acoustics::BOM bom;
    for (auto it = TreeIter::Begin(root); it != TreeIter::End(); ++it)
        if (const auto* speaker = dynamic_cast<const LoudspeakerNode*>((*it).get()))
            bom.append(speaker->GetBOM());
    m_model->setBom(bom);

    m_title = TitleFromFileName(project->GetFileName());
    if (m_title.isEmpty())
        m_title = project->IsModified() ? Tr("UntitledProject") : Tr("Zorv Tessary");

    const ProjectSettings* settings = project->GetSettings();
    m_designer = settings->getDesigner();
    m_venue = settings->getVenue();
    m_version = settings->getVersion();
    m_notes = settings->getNotes();
}

QString BillOfMaterialsAdapter::clipboardText() const
{
    QString text;
    QTextStream out(&text);
    out << m_title << '\n';
    out << Tr("Venue:") << '\t' << m_venue << '\n';
    out << Tr("Designer:") << '\t' << m_designer << '\n';
    out << Tr("Version:") << '\t' << m_version << '\n';
    out << Tr("Notes:") << '\t' << m_notes << "\n\n";
    out << "ITEM\tSKU\tDESCRIPTION\tQUANTITY\n";
    for (uint32_t row = 0; row < m_model->getBomCount(); ++row)
    {
        const acoustics::BOMInfo& line = m_model->getBomInfo(row);
        out << Utf8(line.item) << '\t' << Utf8(line.sku) << '\t' << Utf8(line.description) << '\t'
            << line.quantity << '\n';
    }
    out.flush();
    return text;
}

void BillOfMaterialsAdapter::buttonCopyClicked()
{
    try
    {
        CommitFocusedEdit();
        load();
        QClipboard* clipboard = QApplication::clipboard();
        CheckAlloc(clipboard);
        clipboard->setText(clipboardText(), QClipboard::Clipboard);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "buttonCopyClicked", __LINE__);
    }
    catch (...)
    {
        OmbraxLogger::LogUnknownException(__FILE__, "buttonCopyClicked", __LINE__);
    }
}

QString BillOfMaterialsAdapter::previewFilePath()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/Preview");
    return folder + QDir::separator() + Tr("Report Preview.html");
}

void BillOfMaterialsAdapter::preview()
{
    CommitFocusedEdit();
    load();
    const QString path = previewFilePath();
    const QString folder = QFileInfo(path).absolutePath();
    const bool folderReady =
        QDir().mkpath(folder) &&
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A link at the file's name would be written through: drop it first.
    // The folder is the user's own, so nothing can plant one again between.
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
    QSaveFile file(path);
    bool written = folderReady && file.open(QIODevice::WriteOnly | QIODevice::Text);
    if (written)
    {
        const std::string html = toHtml();
        written =
            file.write(html.data(), static_cast<qint64>(html.size())) == static_cast<qint64>(html.size()) &&
            file.commit();
    }
    if (!written)
    {
        showWarningMessage(Tr("Failed to preview the Bill of Materials"), Tr("Failed Preview"), m_tableView);
        return;
    }
    OpenLocalFile(path, m_tableView);
}

std::string BillOfMaterialsAdapter::toHtml() const
{
    QString html;
    QTextStream out(&html);
    out << "<!doctype html>\n";
    out << "<html> <head> <meta charset=\"utf-8\"> </head>\n";
    out << "<body  style='font-family: \"Gotham Book\", Gotham, serif'>\n";
    out << "<h1 style='text-align: center'> " << Escaped(m_title) << "</h1>\n";
    out << "<br/>\n";
    const std::pair<const char*, const QString*> fields[] = {
        {"Venue:", &m_venue}, {"Designer:", &m_designer}, {"Version:", &m_version}, {"Notes:", &m_notes}};
    for (const auto& [label, value] : fields)
        out << "<span>" << Tr(label) << "</span> &nbsp;" << Escaped(*value) << "<br/>\n";
    out << "<br/>\n";
    out << "<table style='border-collapse: collapse; border: 1px solid black; width: 99%;'>\n";
    toHtmlRows(out, 0, true);
    for (uint32_t row = 0; row < m_model->getBomCount(); ++row)
        toHtmlRows(out, row, false);
    out << "</table>\n";
    out << "</body> </html>\n";
    out.flush();
    return html.toStdString();
}

void BillOfMaterialsAdapter::toHtmlRows(QTextStream& out, uint32_t row, bool header) const
{
    if (header)
    {
        static const char* const openings[] = {"<th style='border: 1px solid black; width: 100px;'>",
                                               "<th style='border: 1px solid black; width: 100px;'>",
                                               "<th style='border: 1px solid black;'>",
                                               "<th style='border: 1px solid black; width: 50px;'>"};
        out << "<tr style='background-color: black; color: white;'>";
        for (int section = 0; section < BOMTableModel::ColumnCount; ++section)
            out << openings[section] << Escaped(m_model->headerData(section, Qt::Horizontal).toString())
                << "</th>";
        out << "</tr>\n";
        return;
    }
    const acoustics::BOMInfo& line = m_model->getBomInfo(row);
    out << "<tr>";
    out << "<td style='border: 1px solid black; width: 100px;'>" << Escaped(Utf8(line.item)) << "</td>";
    out << "<td style='border: 1px solid black; width: 150px'>" << Escaped(Utf8(line.sku)) << "</td>";
    out << "<td style='border: 1px solid black;'>" << Escaped(Utf8(line.description)) << "</td>";
    out << "<td style='text-align: center; border: 1px solid black; width: 50px;'>" << line.quantity
        << "</td>";
    out << "</tr>\n";
}
} // namespace zorvpro
