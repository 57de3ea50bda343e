#include "views/Tabs/BOM/BillOfMaterialsTab.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Bom/BOMTableModel.h"
#include "views/Adapters/Bom/BillOfMaterialsAdapter.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Tabs/BOM/BillOfMaterialsTabForm.h"

#include <QHeaderView>
#include <QTableView>
#include <stdexcept>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("zorvpro::BillOfMaterialsTab", text);
}

QString FocusRule(bool light)
{
    return makeStyleSheetRule(QStringLiteral("QPushButton:focus"),
                              {{QStringLiteral("border"), QStringLiteral("none")},
                               {QStringLiteral("outline"), light ? QStringLiteral("1px solid #000000")
                                                                 : QStringLiteral("1px solid #FFFFFF")},
                               {QStringLiteral("outline-radius"), QStringLiteral("10px")},
                               {QStringLiteral("outline-style"), QStringLiteral("outset")}});
}
} // namespace

BillOfMaterialsTab::BillOfMaterialsTab(QWidget* parent) : QWidget(parent)
{
    try
    {
        m_form = std::make_unique<BillOfMaterialsTabForm>();
        CheckAlloc(m_form);
        m_form->setupUi(this);
        setObjectName(QStringLiteral("tabButtonBom"));

        auto* model = new BOMTableModel(this);
        CheckAlloc(model);
        QTableView* table = m_form->tableBomInfo;
        table->setModel(model);
        table->setColumnWidth(0, 420);
        table->setColumnWidth(1, 249);
        QHeaderView* header = table->horizontalHeader();
        header->setSectionResizeMode(2, QHeaderView::Stretch);
        header->setSectionResizeMode(3, QHeaderView::ResizeToContents);
        header->setDefaultAlignment(Qt::AlignCenter);
        header->setObjectName(QStringLiteral("tableBomInfoHeader"));
        table->verticalHeader()->hide();
        table->setSelectionMode(QAbstractItemView::NoSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setFocusPolicy(Qt::NoFocus);

        for (MyPropertyButton* button : {m_form->buttonCopy, m_form->buttonPreview})
            button->setFixedSize(160, 24);
        m_form->buttonCopy->setText(Tr("Copy to Clipboard"));
        m_form->buttonCopy->setToolTip(Tr("Copy report data to the clipboard in the CSV format"));
        m_form->buttonPreview->setText(Tr("Preview"));
        m_form->buttonPreview->setToolTip(Tr("Preview as HTML"));

        for (QFrame* frame : {static_cast<QFrame*>(m_form->optionsFrame), static_cast<QFrame*>(table)})
        {
            frame->setFrameShape(QFrame::NoFrame);
            frame->setFrameShadow(QFrame::Plain);
        }

        m_adapter = new BillOfMaterialsAdapter(table);
        CheckAlloc(m_adapter);
        connect(m_form->buttonCopy, &QPushButton::clicked, m_adapter,
                &BillOfMaterialsAdapter::buttonCopyClicked);
        connect(m_form->buttonPreview, &QPushButton::clicked, m_adapter, &BillOfMaterialsAdapter::preview);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "BillOfMaterialsTab", __LINE__);
        throw std::runtime_error(e.what());
    }
}

BillOfMaterialsTab::~BillOfMaterialsTab()
{
    delete m_adapter;
    m_adapter = nullptr;
}

void BillOfMaterialsTab::themeChanged(const int& theme)
{
    const bool light = theme == 1;
    auto pick = [light](const char* l, const char* d) { return QString::fromLatin1(light ? l : d); };
    const QString bg = QStringLiteral("background-color");
    const QString fg = QStringLiteral("color");

    m_form->buttonCopy->setStyleSheet(
        makeStyleSheetRule(QStringLiteral("QPushButton"),
                           {{bg, pick("#e0e0e0", "#3b3b3b")},
                            {QStringLiteral("border-radius"), QStringLiteral("12px")},
                            {fg, pick("#000000", "#F8F8F8")}}) +
        makeStyleSheetRule(QStringLiteral("QPushButton:hover"),
                           {{bg, pick("#242424", "#F8F8F8")}, {fg, pick("#F8F8F8", "#242424")}}) +
        FocusRule(light) +
        makeStyleSheetRule(QStringLiteral("QPushButton:pressed"),
                           {{QStringLiteral("border-style"), QStringLiteral("offset")},
                            {QStringLiteral("border-width"), QStringLiteral("4px")}}));
    m_form->buttonPreview->setStyleSheet(
        makeStyleSheetRule(QStringLiteral("QPushButton"),
                           {{bg, pick("#575757", "#cccccc")},
                            {QStringLiteral("border-radius"), QStringLiteral("12px")},
                            {fg, pick("#F8F8F8", "#000000")}}) +
        makeStyleSheetRule(QStringLiteral("QPushButton:hover"),
                           {{bg, pick("#242424", "#F8F8F8")}, {fg, pick("#FFFFFF", "#000000")}}) +
        FocusRule(light));

    const QString headerColour = pick("#cccccc", "#000000");
    m_form->tableBomInfo->horizontalHeader()->setStyleSheet(
        makeStyleSheetRule(QStringLiteral("QHeaderView::section"),
                           {{bg, headerColour},
                            {QStringLiteral("border"), QStringLiteral("0px solid ") + headerColour},
                            {fg, pick("#575757", "#aaaaaa")},
                            {QStringLiteral("font-size"), QStringLiteral("14px")}}));
    m_form->tableBomInfo->setStyleSheet(makeStyleSheetRule(
        QStringLiteral("QTableView"), {{bg, pick("#F8F8F8", "#242424")},
                                       {QStringLiteral("border"), QStringLiteral("none")},
                                       {fg, pick("#575757", "#aaaaaa")},
                                       {QStringLiteral("font-size"), QStringLiteral("14px")},
                                       {QStringLiteral("gridline-color"), pick("#cccccc", "#000000")}}));
    setStyleSheet(makeStyleSheetRule(QStringLiteral("QWidget"), {{bg, pick("#F8F8F8", "#242424")}}));
}
} // namespace zorvpro
