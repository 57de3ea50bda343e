#include "data/Bom/BOMTableModel.h"

#include "core/Logger/OmbraxLogger.h"

#include <QCoreApplication>
#include <algorithm>
#include <stdexcept>

namespace zorvpro
{
namespace
{
// The texts are UTF-8 and end at the first NUL, if any.
QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.c_str());
}
} // namespace

BOMTableModel::BOMTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int BOMTableModel::rowCount(const QModelIndex&) const
{
    return std::max(static_cast<int>(m_bom.count()), MinimumRows);
}

int BOMTableModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant BOMTableModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return index.column() == 3 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole || index.row() < 0 || static_cast<uint32_t>(index.row()) >= m_bom.count())
        return {};
    const acoustics::BOMInfo& line = m_bom.at(static_cast<uint32_t>(index.row()));
    switch (index.column())
    {
    case 0:
        return FromUtf8(line.item);
    case 1:
        return FromUtf8(line.sku);
    case 2:
        return FromUtf8(line.description);
    case 3:
        return QVariant::fromValue<uint>(line.quantity);
    default:
        return {};
    }
}

QVariant BOMTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section)
    {
    case 0:
        return QCoreApplication::translate("zorvpro::BOMTableModel", "ITEM");
    case 1:
        return QCoreApplication::translate("zorvpro::BOMTableModel", "SKU");
    case 2:
        return QCoreApplication::translate("zorvpro::BOMTableModel", "DESCRIPTION");
    case 3:
        return QCoreApplication::translate("zorvpro::BOMTableModel", "QUANTITY");
    default:
        return {};
    }
}

void BOMTableModel::setBom(const acoustics::BOM& bom)
{
    beginResetModel();
    m_bom = bom;
    endResetModel();
}

const acoustics::BOMInfo& BOMTableModel::getBomInfo(uint32_t row) const
{
    if (row >= m_bom.count())
    {
        const std::out_of_range error("Invalid index for table model");
        OmbraxLogger::LogException(error, __FILE__, "getBomInfo", __LINE__);
        throw error;
    }
    return m_bom.at(row);
}
} // namespace zorvpro
