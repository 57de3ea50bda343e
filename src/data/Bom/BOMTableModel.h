#pragma once

#include "acoustics/model/BOM.h"

#include <QAbstractTableModel>

namespace zorvpro
{
// Read-only table over a copy of one bill of materials: item, SKU,
// description and quantity. A short list is padded with empty rows so the
// report page always shows a full-looking table.
class BOMTableModel : public QAbstractTableModel
{
public:
    static constexpr int MinimumRows = 20;
    static constexpr int ColumnCount = 4;

    explicit BOMTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setBom(const acoustics::BOM& bom);
    // Throws std::out_of_range "Invalid index for table model" past the lines.
    const acoustics::BOMInfo& getBomInfo(uint32_t row) const;
    // The real lines, not the padded row count.
    uint32_t getBomCount() const { return m_bom.count(); }

private:
    acoustics::BOM m_bom;
};
} // namespace zorvpro
